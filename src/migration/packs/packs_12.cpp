/*
** Service packs 12 to 12_2: ServicePack 12, the rebuilt workshop table, and
** the limits, factors and indexes of the last pack.
*/
#include "migration/packs/catalogue.h"
#include "migration/packs/data_steps.h"

namespace kv::packs {
namespace {

// ---- z_SP_12_1 -------------------------------------------------------------

constexpr Step kRebuildWorkshop[] = {
    DataStep(RebuildWorkshopTable, 3),
};

constexpr Step kWorkshopNumberGone[] = {
    aaColumnDelete("WORKSHOP", "NUMBER_WORKSHOP"),
};

constexpr DatabaseWork kSp12_1[] = {
    Work(Db::Base, kRebuildWorkshop), Work(Db::Config, kRebuildWorkshop), Work(Db::Orders, kWorkshopNumberGone),
    Work(Db::ServerOrders, kWorkshopNumberGone), Work(Db::Director), Work(Db::Price), Work(Db::StockMan),
    Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_12_2 -------------------------------------------------------------

constexpr Step kLimits[] = {
    aaTableDelete("stock_Furnitura"),
    aaColumnAdd("acc", "kodLimit", "i", 7),
    aaColumnAdd("FURNITURA", "kodLimit", "i", 10),
    aaColumnAdd("de", "kodLimit", "i", 20),
    aaTableAdd("set_Limit", "KodLimit", "KodLimit INT, nameLimit VARCHAR(255)"),
    aaTableAdd("set_Limit_range", "KodRange",
               "KodRange INT, KodLimit INT, width_min INT, width_max INT, height_min INT, height_max INT"),
    aaColumnAdd("STOCK_GROUP", "Group_Note", "t255", 6),
    aaColumnAdd("COL_MATERIAL", "KodWork", "i", 5),
    aaColumnAdd("STOCK_COLOR", "k_Factor", "i", 5),
    DataStep(FillColorFactor, 0),
};

constexpr Step kNormHours[] = {
    DataStep(ScaleNormHours, 0),
};

constexpr Step kDirectorGroupNote[] = {
    aaColumnAdd("STOCK_GROUP", "Group_Note", "t255", 6),
};

constexpr Step kPriceIndexes[] = {
    aaIndexAdd("PRICE", "KodMaterial", "UNIQUE"),
    aaIndexAdd("PRICEHISTORY", "KodMaterial", ""),
};

constexpr Step kOptimaRequests[] = {
    aaTableAdd("Optima_Request", "Kod_Request",
               "Kod_Request Int, Date_Request Date, Number_Request VARCHAR(255), Name_Request VARCHAR(255), "
               "Note_Request VARCHAR(255)"),
    aaTableAdd("Optima_Request_Item", "Kod_Item",
               "Kod_Item Int, Kod_Optima Int, Kod_Request Int, Kod_Material Int, Length_Hlyst Int"),
};

constexpr DatabaseWork kSp12_2[] = {
    Work(Db::Base, kLimits), Work(Db::Config, kLimits), Work(Db::Orders, kNormHours),
    Work(Db::ServerOrders, kNormHours), Work(Db::Director, kDirectorGroupNote), Work(Db::Price, kPriceIndexes),
    Work(Db::StockMan), Work(Db::Optima, kOptimaRequests), Work(Db::System),
};

}  // namespace

constexpr Pack z_SP_12{"z_SP_12", 11, LevelWrite::ServicePack, 12, "KolvoOperation = ", "Kolvo_SP_12 = 9", kEveryDatabase};
constexpr Pack z_SP_12_1{"z_SP_12_1", 12, LevelWrite::Build, 0, "KolvoOperation = ", "Kolvo_SP_121 = 17", kSp12_1};
constexpr Pack z_SP_12_2{"z_SP_12_2", 12, LevelWrite::Build, 0, "KolvoOperation = ", "Kolvo_SP_122 = 30", kSp12_2};

// E and the count message as given for each pack.
static_assert(AllAgree({{z_SP_12, 9}, {z_SP_12_1, 17}, {z_SP_12_2, 30}}));

}  // namespace kv::packs
