/*
** Service packs 01 to 04_3: every database from ServicePack 0 to 4, and the
** two follow-up packs on ServicePack 4 that leave the version record alone.
*/
#include "migration/packs/catalogue.h"
#include "migration/packs/data_steps.h"

namespace kv::packs {
namespace {

// ---- z_SP_01 ---------------------------------------------------------------

constexpr Step kMachineToolTables[] = {
    aaTableAdd("stanok_mission", "NumberMain",
               "NumberMain INT, NameStanok VARCHAR(255), FileName VARCHAR(255), Mission BLOB SUB_TYPE 1, "
               "Settings BLOB SUB_TYPE 1"),
    aaTableAdd("stanok_work", "KodWork", "KodWork INT, Vid SmallInt, NameWork VARCHAR(255)"),
    aaTableAdd("stanok_operation", "NumberMain",
               "NumberMain INT, NumberWork INT, KodOperation INT, NameOperation VARCHAR(255),Lmin Int, Lmax Int, "
               "Impost SmallInt,L_Left Int, L_Ave Int, Vid_Ave SmallInt, L_AveCorrect Int, L_Right Int,"
               "Furnitura VARCHAR(24), NumberKomplect Int, KindOpen SmallInt, NumberHinge Int, NumberHandle Int, "
               "NumberLock Int"),
    aaTableDelete("w_Stanok"),
};

// The second group goes in first, at 13 to 16, so the first group ends up in front.
constexpr Step kRazdelColumns[] = {
    aaColumnAdd("k_Razdel", "NumberElement20", "s", 13), aaColumnAdd("k_Razdel", "NumberStorona20", "s", 14),
    aaColumnAdd("k_Razdel", "Otstup2In", "i", 15),       aaColumnAdd("k_Razdel", "Otstup2Out", "i", 16),
    aaColumnAdd("k_Razdel", "NumberElement10", "s", 9),  aaColumnAdd("k_Razdel", "NumberStorona10", "s", 10),
    aaColumnAdd("k_Razdel", "Otstup1In", "i", 11),       aaColumnAdd("k_Razdel", "Otstup1Out", "i", 12),
};

constexpr DatabaseWork kSp01[] = {
    Work(Db::Base, kMachineToolTables), Work(Db::Config, kMachineToolTables), Work(Db::Orders, kRazdelColumns),
    Work(Db::ServerOrders, kRazdelColumns), Work(Db::Director), Work(Db::Price), Work(Db::StockMan), Work(Db::Optima),
    Work(Db::System),
};

// ---- z_SP_02 ---------------------------------------------------------------

constexpr Step kTwoT1Columns[] = {
    aaColumnAdd("acc_material", "Steel", "t1", 13),
    aaColumnAdd("stanok_Operation", "oDisconnect", "t1", 99),
};

constexpr Step kOtkosConversion[] = {
    aaColumnAdd("Product", "pOtkos", "i", 9),
    DataStep(ConvertOtkos, 0),
};

constexpr Step kBaseNumberMini[] = {
    aaColumnAdd("kv_Setting", "numberBaseMini", "i", 99),
};

constexpr DatabaseWork kSp02[] = {
    Work(Db::Base, kTwoT1Columns), Work(Db::Config, kTwoT1Columns), Work(Db::Orders, kOtkosConversion),
    Work(Db::ServerOrders, kOtkosConversion), Work(Db::Director), Work(Db::Price), Work(Db::StockMan),
    Work(Db::Optima), Work(Db::System, kBaseNumberMini),
};

// ---- z_SP_03 ---------------------------------------------------------------

constexpr Step kImpostColumn[] = {
    aaColumnAdd("stanok_operation", "L_Impost", "i", 13),
};

constexpr Step kMaterialSColumns[] = {
    aaColumnAdd("k_MaterialS", "NumberElement0", "s", 9),
    aaColumnAdd("k_MaterialS", "NumberStorona0", "s", 10),
    aaColumnAdd("k_MaterialS", "OtstupOut", "i", 11),
};

constexpr DatabaseWork kSp03[] = {
    Work(Db::Base, kImpostColumn), Work(Db::Config, kImpostColumn), Work(Db::Orders, kMaterialSColumns),
    Work(Db::ServerOrders, kMaterialSColumns), Work(Db::Director), Work(Db::Price), Work(Db::StockMan),
    Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_04 ---------------------------------------------------------------

constexpr Step kThreeColumns[] = {
    aaColumnAdd("stanok_Work", "clockWise", "t1", 3),
    aaColumnAdd("stanok_Operation", "oInvert", "t1", 21),
    aaColumnAdd("rab", "cost0", "n28", 5),
};

constexpr DatabaseWork kSp04[] = {
    Work(Db::Base, kThreeColumns), Work(Db::Config, kThreeColumns), Work(Db::Orders), Work(Db::ServerOrders),
    Work(Db::Director), Work(Db::Price), Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_04_1 -------------------------------------------------------------

constexpr Step kTemplateSteps[] = {
    aaColumnPereType("stock", "PriceSale2", "m4"),
    aaColumnAdd("de", "kodTemp", "i", 18),
    aaColumnAdd("stanok_Operation", "kodOperationTXT", "t255", 4),
    aaColumnAdd("stock_Size", "ArtikulStanok", "t255", 3),
    aaTableAdd("de_template", "NumberMain", "NumberMain INT, NameTemplate VARCHAR(255)"),
    aaTableAdd("de_temp_element", kNoKey, "kodTemp INT, Storona SmallInt, Ugol SmallInt, LengthStorona SmallInt"),
    aaTableDelete("de_Risunok"),
};

constexpr Step kPriceSale2Types[] = {
    aaColumnPereType("price", "PriceSale2", "m4"),
    aaColumnPereType("priceHistory", "PriceSale2", "m4"),
};

constexpr Step kArrivalsSumma[] = {
    aaColumnPereType("Arrivals", "Summa", "m4"),
};

constexpr DatabaseWork kSp04_1[] = {
    WorkWithoutLevel(Db::Base, kTemplateSteps), WorkWithoutLevel(Db::Config, kTemplateSteps),
    WorkWithoutLevel(Db::Price, kPriceSale2Types), WorkWithoutLevel(Db::StockMan, kArrivalsSumma),
};

// ---- z_SP_04_3 (the wizard's step 04_2) --------------------------------------

constexpr Step kMissionBlob[] = {
    aaColumnAdd("stock_Size", "addHeight", "s", 12),
    aaColumnDelete("stanok_mission", "NameStanok"),
    aaColumnAdd("stanok_mission", "Name_Stanok", "b1", 3),
    aaColumnDelete("de_temp_element", "editing"),
    aaColumnAdd("de_temp_element", "Lmin", "i", 99),
    aaColumnAdd("de_temp_element", "Lmax", "i", 99),
};

constexpr DatabaseWork kSp04_3[] = {
    WorkWithoutLevel(Db::Base, kMissionBlob), WorkWithoutLevel(Db::Config, kMissionBlob),
};

}  // namespace

// name, required, level write, count message (head, tail), databases; E comes from the databases
constexpr Pack z_SP_01{"z_SP_01", 0, LevelWrite::ServicePack, 1, "KolvoOperation=", "Kolvo_SP_01 = 33", kSp01};
constexpr Pack z_SP_02{"z_SP_02", 1, LevelWrite::ServicePack, 2, "KolvoOperation = ", "Kolvo_SP_02 = 16", kSp02};
constexpr Pack z_SP_03{"z_SP_03", 2, LevelWrite::ServicePack, 3, "KolvoOperation=", "Kolvo_SP_03=17", kSp03};
constexpr Pack z_SP_04{"z_SP_04", 3, LevelWrite::ServicePack, 4, "KolvoOperation=", "Kolvo_SP_04=15", kSp04};
constexpr Pack z_SP_04_1{"z_SP_04_1", 4, LevelWrite::None, 0, "KolvoOperation=", "Kolvo_SP_04_1=17", kSp04_1};
constexpr Pack z_SP_04_3{"z_SP_04_3", 4, LevelWrite::None, 0, "KolvoOperation=", "Kolvo_SP_04_2=12", kSp04_3};

// E and the count message as given for each pack.
static_assert(AllAgree({{z_SP_01, 33}, {z_SP_02, 16}, {z_SP_03, 17}, {z_SP_04, 15}, {z_SP_04_1, 17},
                        {z_SP_04_3, 12}}));

}  // namespace kv::packs
