/*
** Service packs 08 to 08_9: ServicePack 6 straight to 8 (there is no 7), and
** nine follow-up packs on ServicePack 8 that record their number in Build.
*/
#include "migration/packs/catalogue.h"
#include "migration/packs/data_steps.h"

namespace kv::packs {
namespace {

// ---- z_SP_08_1 -------------------------------------------------------------

constexpr Step kNewTablesAndDrops[] = {
    aaTableAdd("t_ProCorr", kNoKey, "NumberTemp INT, NumberProem SmallInt, NumberPoint SmallInt, Corr_X INT, Corr_Y INT"),
    aaTableAdd("set_FurnituraPaz", kNoKey, "PAZ SmallInt"),
    aaTableAdd("fur_Geometry", kNoKey, "NumberKomplect INT, Vid_Geometry SmallInt"),
    aaColumnAdd("set_Element", "S4", "i", 7),
    aaColumnAdd("fur_Material", "Geometry", "b1", 99),
    aaColumnAdd("con_2", "Vid", "i", 2),
    aaColumnAdd("stanok_operation", "st_impost", "t4", 15),
    aaColumnDelete("stock_Group", "Comment"),
    aaColumnDelete("Furnitura", "Karta"),
    aaColumnDelete("set_Element", "Karta"),
    aaTableDelete("set_Shop"),
};

constexpr Step kOrdersTintAndMaterials[] = {
    DataStep(MoveTintTable, 3),
    aaTableAdd("k_Capital", kNoKey,
               "Nom INT, NumberProduct SmallInt, NumberElement SmallInt, NMCapital INT, Vid VARCHAR(2), "
               "K NUMERIC(8,4), D SmallInt, COST NUMERIC(8,2), SS VARCHAR(1), Karta VARCHAR(24)"),
    aaTableAdd("o_Message", kNoKey, "Nom INT, DateTimeReport TIMESTAMP, MessageText VARCHAR(255)"),
    aaTableAdd("k_ProCorr", kNoKey,
               "NOM INT, NumberProduct SmallInt, NumberProem SmallInt, NumberPoint SmallInt, Corr_X INT, Corr_Y INT"),
    aaColumnPereName("k_MaterialS", "OtstupOut", "OtstupLeft"),
    aaColumnPereName("k_MaterialS", "NumberElement0", "NumberElement0L"),
    aaColumnPereName("k_MaterialS", "NumberStorona0", "NumberStorona0L"),
    aaColumnAdd("o_Customer", "email", "t255", 7),
    aaColumnAdd("o_Customer", "FIOshort", "t255", 8),
    aaColumnAdd("k_Tonirovka", "Karta", "t24", 99),
    aaColumnAdd("k_MaterialS", "NumberElement0R", "s", 12),
    aaColumnAdd("k_MaterialS", "NumberStorona0R", "s", 13),
    aaColumnAdd("k_MaterialS", "OtstupRight", "i", 14),
    aaColumnAdd("k_MaterialS", "OtstupBottom", "i", 15),
    aaColumnDelete("o_Info", "NumberShop"),
};

constexpr Step kDirectorGroupComment[] = {
    aaColumnDelete("stock_Group", "Comment"),
};

constexpr Step kMessageRead[] = {
    aaTableAdd("o_MessageRead", kNoKey,
               "Nom INT, NumberOrder VARCHAR(255), DateOrder Date, DateTimeRead TIMESTAMP, NumberKey VARCHAR(255), "
               "MessageText VARCHAR(255)"),
};

constexpr DatabaseWork kSp08_1[] = {
    Work(Db::Base, kNewTablesAndDrops), Work(Db::Config, kNewTablesAndDrops),
    Work(Db::Orders, kOrdersTintAndMaterials), Work(Db::ServerOrders, kOrdersTintAndMaterials),
    Work(Db::Director, kDirectorGroupComment), Work(Db::Price), Work(Db::StockMan), Work(Db::Optima),
    Work(Db::System, kMessageRead),
};

// ---- z_SP_08_2 -------------------------------------------------------------

constexpr Step kStructureRatios[] = {
    aaColumnAdd("acc_Structure", "AreaMin", "i", 99),
    aaColumnAdd("acc_Structure", "AreaMax", "i", 99),
    aaColumnAdd("acc_Structure", "RatioHW", "i", 99),
};

constexpr DatabaseWork kSp08_2[] = {Work(Db::Base, kStructureRatios), Work(Db::Config, kStructureRatios)};

// ---- z_SP_08_3: money columns to fixed point ---------------------------------

constexpr Step kStockPrice[] = {
    aaColumnPereType("STOCK", "PRICESALE2", "z4"),
};

constexpr Step kOrdersMoney[] = {
    aaColumnPereType("ORDERS", "COST", "z2"),     aaColumnPereType("ORDERS", "PAID", "z2"),
    aaColumnPereType("O_ACCOUNT", "COST", "z2"),  aaColumnPereType("O_ACCOUNT", "DISCOUNT", "z2"),
    aaColumnPereType("O_CHARGES", "COST", "z2"),
};

constexpr Step kPriceMoney[] = {
    aaColumnPereType("PRICE", "COSTBASE", "z4"),        aaColumnPereType("PRICE", "COSTBASENDS", "z4"),
    aaColumnPereType("PRICE", "COST0", "z4"),           aaColumnPereType("PRICE", "PRICESALE", "z2"),
    aaColumnPereType("PRICE", "PRICESALE2", "z4"),      aaColumnPereType("PRICEHISTORY", "COSTBASE", "z4"),
    aaColumnPereType("PRICEHISTORY", "COSTBASENDS", "z4"), aaColumnPereType("PRICEHISTORY", "COST0", "z4"),
    aaColumnPereType("PRICEHISTORY", "PRICESALE", "z2"), aaColumnPereType("PRICEHISTORY", "PRICESALE2", "z4"),
};

constexpr Step kStockManMoney[] = {
    aaColumnAdd("kv_Setting", "COSTNULL", "t1", 99),
    aaColumnPereType("SUPPLIERCOST", "COST", "z4"),
    aaColumnPereType("ARRIVALS", "COST", "z4"),
    aaColumnPereType("ARRIVALS", "SUMMA", "z4"),
    aaColumnPereType("CHARGES", "COST", "z4"),
};

constexpr DatabaseWork kSp08_3[] = {
    Work(Db::Base, kStockPrice), Work(Db::Config, kStockPrice), Work(Db::Orders, kOrdersMoney),
    Work(Db::ServerOrders, kOrdersMoney), Work(Db::Director), Work(Db::Price, kPriceMoney),
    Work(Db::StockMan, kStockManMoney), Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_08_4 -------------------------------------------------------------

constexpr Step kFittingBlobs[] = {
    aaColumnAdd("Furnitura", "FHinge", "b1", 99),
    aaColumnAdd("Furnitura", "FHandle", "b1", 99),
};

constexpr Step kQuantityConversion[] = {
    DataStep(ConvertQuantity, 3),
};

constexpr DatabaseWork kSp08_4[] = {
    Work(Db::Base, kFittingBlobs), Work(Db::Config, kFittingBlobs), Work(Db::Director), Work(Db::Price),
    Work(Db::StockMan, kQuantityConversion), Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_08_5 -------------------------------------------------------------

constexpr Step kStockListGone[] = {
    aaTableDelete("set_StockList"),
    aaColumnDelete("set_Producer", "NumberStock"),
    aaColumnAdd("acc_Material", "UnderFrame", "t1", 14),
};

constexpr Step kNumberStockGone[] = {
    aaColumnDelete("StockMan", "NumberStock"),
    aaColumnDelete("ArchiveStockMan", "NumberStock"),
    aaColumnDelete("ArrivalsList", "NumberStock"),
    aaColumnDelete("ChargesList", "NumberStock"),
};

constexpr DatabaseWork kSp08_5[] = {
    Work(Db::Base, kStockListGone), Work(Db::Config, kStockListGone), Work(Db::Director), Work(Db::Price),
    Work(Db::StockMan, kNumberStockGone), Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_08_6 to z_SP_08_9: Base and Config only, the rest writes Build -----

constexpr Step kAccNote[] = {aaColumnAdd("Acc", "a_Note", "t255", 7)};
constexpr Step kFittingNote[] = {aaColumnAdd("Furnitura", "note_stanok", "t255", 10)};
constexpr Step kMaterialElements[] = {
    aaColumnAdd("fur_Material", "Element", "t2", 13),
    aaColumnAdd("fur_Material2", "Element", "t2", 5),
    aaColumnAdd("fur_Material2", "PAZ", "s", 4),
};
constexpr Step kHandleHeight[] = {aaColumnAdd("fur_Material", "HeightHandle", "i", 11)};

constexpr DatabaseWork kSp08_6[] = {
    Work(Db::Base, kAccNote), Work(Db::Config, kAccNote), Work(Db::Director), Work(Db::Price), Work(Db::StockMan),
    Work(Db::Optima), Work(Db::System),
};
constexpr DatabaseWork kSp08_7[] = {
    Work(Db::Base, kFittingNote), Work(Db::Config, kFittingNote), Work(Db::Director), Work(Db::Price),
    Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};
constexpr DatabaseWork kSp08_8[] = {
    Work(Db::Base, kMaterialElements), Work(Db::Config, kMaterialElements), Work(Db::Director), Work(Db::Price),
    Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};
constexpr DatabaseWork kSp08_9[] = {
    Work(Db::Base, kHandleHeight), Work(Db::Config, kHandleHeight), Work(Db::Director), Work(Db::Price),
    Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};

constexpr LevelWrite kBuild = LevelWrite::Build;

}  // namespace

constexpr Pack z_SP_08{"z_SP_08", 6, LevelWrite::ServicePack, 8, "KolvoOperation = ", "Kolvo_SP_08 = 9", kEveryDatabase};
constexpr Pack z_SP_08_1{"z_SP_08_1", 8, kBuild, 1, "KolvoOperation=", "Kolvo_SP_081=67", kSp08_1};
constexpr Pack z_SP_08_2{"z_SP_08_2", 8, kBuild, 2, "KolvoOperation=", "Kolvo_SP_8_2=8", kSp08_2};
constexpr Pack z_SP_08_3{"z_SP_08_3", 8, kBuild, 3, "KolvoOperation=", "Kolvo_SP_083=36", kSp08_3};
constexpr Pack z_SP_08_4{"z_SP_08_4", 8, kBuild, 4, "KolvoOperation=", "Kolvo_SP_084=14", kSp08_4};
constexpr Pack z_SP_08_5{"z_SP_08_5", 8, kBuild, 5, "KolvoOperation=", "Kolvo_SP_085=17", kSp08_5};
constexpr Pack z_SP_08_6{"z_SP_08_6", 8, kBuild, 6, "KolvoOperation=", "Kolvo_SP_086=9", kSp08_6};
constexpr Pack z_SP_08_7{"z_SP_08_7", 8, kBuild, 7, "KolvoOperation=", "Kolvo_SP_087=9", kSp08_7};
constexpr Pack z_SP_08_8{"z_SP_08_8", 8, kBuild, 8, "KolvoOperation=", "Kolvo_SP_088=13", kSp08_8};
constexpr Pack z_SP_08_9{"z_SP_08_9", 8, kBuild, 9, "KolvoOperation=", "Kolvo_SP_089=9", kSp08_9};

// E and the count message as given for each pack.
static_assert(AllAgree({{z_SP_08, 9}, {z_SP_08_1, 67}, {z_SP_08_2, 8}, {z_SP_08_3, 36}, {z_SP_08_4, 14},
                        {z_SP_08_5, 17}, {z_SP_08_6, 9}, {z_SP_08_7, 9}, {z_SP_08_8, 13}, {z_SP_08_9, 9}}));

}  // namespace kv::packs
