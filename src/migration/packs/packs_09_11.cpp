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
    {Db::Base, 1, {}}, {Db::Config, 1, {}}, {Db::Orders, 6, kCardElements}, {Db::ServerOrders, 6, kCardElements},
    {Db::Director, 1, {}}, {Db::Price, 1, {}}, {Db::StockMan, 1, {}}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
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
    {Db::Base, 3, kWorkshopSettings}, {Db::Config, 3, kWorkshopSettings}, {Db::Orders, 4, kWorkshopLoad},
    {Db::ServerOrders, 4, kWorkshopLoad}, {Db::Director, 2, kDirectorAccountCode}, {Db::Price, 1, {}},
    {Db::StockMan, 1, {}}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
};

// ---- z_SP_11_1 -------------------------------------------------------------

constexpr Step kOrderGuids[] = {
    aaColumnAdd("Orders", "NOM_GUID", "t36", 2),
    aaColumnAdd("WorkShop", "NOM_GUID", "t36", 1),
    aaColumnAdd("p_Karta2", "NumberElement", "s", 3),
    aaColumnAdd("p_KartaA", "NumberElement", "s", 3),
};

constexpr DatabaseWork kSp11_1[] = {
    {Db::Base, 1, {}}, {Db::Config, 1, {}}, {Db::Orders, 5, kOrderGuids}, {Db::ServerOrders, 5, kOrderGuids},
    {Db::Director, 1, {}}, {Db::Price, 1, {}}, {Db::StockMan, 1, {}}, {Db::Optima, 1, {}}, {Db::System, 1, {}},
};

constexpr LevelWrite kSp = LevelWrite::ServicePack;

}  // namespace

const Pack z_SP_09{"z_SP_09", 8, kSp, 9, 9, "KolvoOperation = ", "Kolvo_SP_09 = 9", kEveryDatabase};
const Pack z_SP_09_1{"z_SP_09_1", 9, LevelWrite::Build, 1, 19, "KolvoOperation=", "Kolvo_SP_090=19", kSp09_1};
const Pack z_SP_10{"z_SP_10", 9, kSp, 10, 9, "KolvoOperation = ", "Kolvo_SP_10 = 9", kEveryDatabase};
const Pack z_SP_10_1{"z_SP_10_1", 10, LevelWrite::Build, 1, 20, "KolvoOperation = ", "Kolvo_SP_100 = 20", kSp10_1};
const Pack z_SP_11{"z_SP_11", 10, kSp, 11, 9, "KolvoOperation = ", "Kolvo_SP_11 = 9", kEveryDatabase};
// Build 0, not 1.
const Pack z_SP_11_1{"z_SP_11_1", 11, LevelWrite::Build, 0, 17, "KolvoOperation = ", "Kolvo_SP_110 = 17", kSp11_1};

}  // namespace kv::packs
