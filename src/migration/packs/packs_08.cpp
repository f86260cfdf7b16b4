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
    {Db::Base, 12, kNewTablesAndDrops}, {Db::Config, 12, kNewTablesAndDrops},
    {Db::Orders, 18, kOrdersTintAndMaterials}, {Db::ServerOrders, 18, kOrdersTintAndMaterials},
    {Db::Director, 2, kDirectorGroupComment}, {Db::Price, 1, {}}, {Db::StockMan, 1, {}},
    {Db::Optima, 1, {}}, {Db::System, 2, kMessageRead},
};

// ---- z_SP_08_2 -------------------------------------------------------------

constexpr Step kStructureRatios[] = {
    aaColumnAdd("acc_Structure", "AreaMin", "i", 99),
    aaColumnAdd("acc_Structure", "AreaMax", "i", 99),
    aaColumnAdd("acc_Structure", "RatioHW", "i", 99),
};

constexpr DatabaseWork kSp08_2[] = {{Db::Base, 4, kStructureRatios}, {Db::Config, 4, kStructureRatios}};

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
    {Db::Base, 2, kStockPrice}, {Db::Config, 2, kStockPrice}, {Db::Orders, 6, kOrdersMoney},
    {Db::ServerOrders, 6, kOrdersMoney}, {Db::Director, 1, {}}, {Db::Price, 11, kPriceMoney},
    {Db::StockMan, 6, kStockManMoney}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
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
    {Db::Base, 3, kFittingBlobs}, {Db::Config, 3, kFittingBlobs}, {Db::Director, 1, {}}, {Db::Price, 1, {}},
    {Db::StockMan, 4, kQuantityConversion}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
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
    {Db::Base, 4, kStockListGone}, {Db::Config, 4, kStockListGone}, {Db::Director, 1, {}}, {Db::Price, 1, {}},
    {Db::StockMan, 5, kNumberStockGone}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
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
    {Db::Base, 2, kAccNote}, {Db::Config, 2, kAccNote}, {Db::Director, 1, {}}, {Db::Price, 1, {}},
    {Db::StockMan, 1, {}}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
};
constexpr DatabaseWork kSp08_7[] = {
    {Db::Base, 2, kFittingNote}, {Db::Config, 2, kFittingNote}, {Db::Director, 1, {}}, {Db::Price, 1, {}},
    {Db::StockMan, 1, {}}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
};
constexpr DatabaseWork kSp08_8[] = {
    {Db::Base, 4, kMaterialElements}, {Db::Config, 4, kMaterialElements}, {Db::Director, 1, {}},
    {Db::Price, 1, {}}, {Db::StockMan, 1, {}}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
};
constexpr DatabaseWork kSp08_9[] = {
    {Db::Base, 2, kHandleHeight}, {Db::Config, 2, kHandleHeight}, {Db::Director, 1, {}}, {Db::Price, 1, {}},
    {Db::StockMan, 1, {}}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
};

constexpr LevelWrite kBuild = LevelWrite::Build;

}  // namespace

const Pack z_SP_08{"z_SP_08", 6, LevelWrite::ServicePack, 8, 9, "KolvoOperation = ", "Kolvo_SP_08 = 9", kEveryDatabase};
const Pack z_SP_08_1{"z_SP_08_1", 8, kBuild, 1, 67, "KolvoOperation=", "Kolvo_SP_081=67", kSp08_1};
const Pack z_SP_08_2{"z_SP_08_2", 8, kBuild, 2, 8, "KolvoOperation=", "Kolvo_SP_8_2=8", kSp08_2};
const Pack z_SP_08_3{"z_SP_08_3", 8, kBuild, 3, 36, "KolvoOperation=", "Kolvo_SP_083=36", kSp08_3};
const Pack z_SP_08_4{"z_SP_08_4", 8, kBuild, 4, 14, "KolvoOperation=", "Kolvo_SP_084=14", kSp08_4};
const Pack z_SP_08_5{"z_SP_08_5", 8, kBuild, 5, 17, "KolvoOperation=", "Kolvo_SP_085=17", kSp08_5};
const Pack z_SP_08_6{"z_SP_08_6", 8, kBuild, 6, 9, "KolvoOperation=", "Kolvo_SP_086=9", kSp08_6};
const Pack z_SP_08_7{"z_SP_08_7", 8, kBuild, 7, 9, "KolvoOperation=", "Kolvo_SP_087=9", kSp08_7};
const Pack z_SP_08_8{"z_SP_08_8", 8, kBuild, 8, 13, "KolvoOperation=", "Kolvo_SP_088=13", kSp08_8};
const Pack z_SP_08_9{"z_SP_08_9", 8, kBuild, 9, 9, "KolvoOperation=", "Kolvo_SP_089=9", kSp08_9};

}  // namespace kv::packs
