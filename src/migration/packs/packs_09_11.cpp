/*
** Service packs 09 to 11_1: one ServicePack up at a time, each main pack
** followed by one pack on its level.
*/
#include "migration/packs/catalogue.h"

namespace kv::packs {
namespace {

// ---- z_SP_09_1 -------------------------------------------------------------

constexpr Step kCardElements[] = {
    aaColumnAdd("k_Furnitura", "Element", "t2", 9),
    aaColumnAdd("p_Karta", "NumberElement", "s", 3),
    aaColumnAdd("p_Karta", "Svarka", "s", 12),
    aaColumnAdd("k_Element", "made", "s", 11),
    aaColumnAdd("k_Filling", "made", "s", 13),
};

constexpr DatabaseWork kSp09_1[] = {
    Work(Db::Base), Work(Db::Config), Work(Db::Orders, kCardElements), Work(Db::ServerOrders, kCardElements),
    Work(Db::Director), Work(Db::Price), Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_10_1 -------------------------------------------------------------

constexpr Step kWorkshopSettings[] = {
    aaColumnAdd("STOCK", "KodBuch_2", "i", 3),
    aaTableAdd("set_workshop", "NumberMain",
               "NumberMain INT, Name_workshop VARCHAR(255), rama INT, impost INT, stvorka INT, steklo INT, "
               "ugol INT, minUE INT, maxUE INT"),
};

constexpr Step kWorkshopLoad[] = {
    aaTableAdd("workshop", kNoKey, "Date_exe DATE, Number_Workshop INT, NOM INT, UE INT"),
    aaColumnAdd("o_Info", "kolvoUE", "i", 99),
    aaColumnAdd("o_Service", "KodService", "i", 5),
};

constexpr Step kDirectorAccountCode[] = {
    aaColumnAdd("STOCKMAIN", "KodBuch_2", "i", 3),
};

constexpr DatabaseWork kSp10_1[] = {
    Work(Db::Base, kWorkshopSettings), Work(Db::Config, kWorkshopSettings), Work(Db::Orders, kWorkshopLoad),
    Work(Db::ServerOrders, kWorkshopLoad), Work(Db::Director, kDirectorAccountCode), Work(Db::Price),
    Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};

// ---- z_SP_11_1 -------------------------------------------------------------

constexpr Step kOrderGuids[] = {
    aaColumnAdd("Orders", "NOM_GUID", "t36", 2),
    aaColumnAdd("WorkShop", "NOM_GUID", "t36", 1),
    aaColumnAdd("p_Karta2", "NumberElement", "s", 3),
    aaColumnAdd("p_KartaA", "NumberElement", "s", 3),
};

constexpr DatabaseWork kSp11_1[] = {
    Work(Db::Base), Work(Db::Config), Work(Db::Orders, kOrderGuids), Work(Db::ServerOrders, kOrderGuids),
    Work(Db::Director), Work(Db::Price), Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};

constexpr LevelWrite kSp = LevelWrite::ServicePack;

}  // namespace

constexpr Pack z_SP_09{"z_SP_09", 8, kSp, 9, "KolvoOperation = ", "Kolvo_SP_09 = 9", kEveryDatabase};
constexpr Pack z_SP_09_1{"z_SP_09_1", 9, LevelWrite::Build, 1, "KolvoOperation=", "Kolvo_SP_090=19", kSp09_1};
constexpr Pack z_SP_10{"z_SP_10", 9, kSp, 10, "KolvoOperation = ", "Kolvo_SP_10 = 9", kEveryDatabase};
constexpr Pack z_SP_10_1{"z_SP_10_1", 10, LevelWrite::Build, 1, "KolvoOperation = ", "Kolvo_SP_100 = 20", kSp10_1};
constexpr Pack z_SP_11{"z_SP_11", 10, kSp, 11, "KolvoOperation = ", "Kolvo_SP_11 = 9", kEveryDatabase};
// Build 0, not 1.
constexpr Pack z_SP_11_1{"z_SP_11_1", 11, LevelWrite::Build, 0, "KolvoOperation = ", "Kolvo_SP_110 = 17", kSp11_1};

// E and the count message as given for each pack.
static_assert(AllAgree({{z_SP_09, 9}, {z_SP_09_1, 19}, {z_SP_10, 9}, {z_SP_10_1, 20}, {z_SP_11, 9},
                        {z_SP_11_1, 17}}));

}  // namespace kv::packs
