/*
** Service packs 05 to 06_3: ServicePack 4 to 5 and 5 to 6, and the follow-up
** packs on ServicePack 6 (06_2 and 06_3 record their number in Build).
*/
#include "migration/packs/catalogue.h"
#include "migration/packs/data_steps.h"

namespace kv::packs {
namespace {

// ---- z_SP_05 ---------------------------------------------------------------

constexpr Step kStructureColumns[] = {
    aaColumnAdd("pr_Structure", "ss", "t1", 99),
    aaColumnAdd("pr_Structure", "Karta", "t24", 99),
};

constexpr Step kTempAndPaymentKind[] = {
    aaColumnAdd("de", "kodTemp", "i", 99),
    DataStep(FillPaymentKind, 1),
};

constexpr Step kPriceHistoryDate[] = {
    aaColumnPereType("PriceHistory", "DatePrice", "p"),
};

// history_Money is dropped and created anew: its former rows are not kept.
constexpr Step kCurrencyHistory[] = {
    aaTableDelete("history_Money"),
    aaTableAdd("history_Money", "NumberMain",
               "NumberMain INT, DateSave TIMESTAMP, DesignCurrency VARCHAR(12), Rate NUMERIC(8,4)"),
    aaColumnAdd("set_DocProfil", "DocSettings", "b1", 99),
};

constexpr DatabaseWork kSp05[] = {
    Work(Db::Base, kStructureColumns), Work(Db::Config, kStructureColumns), Work(Db::Orders, kTempAndPaymentKind),
    Work(Db::ServerOrders, kTempAndPaymentKind), Work(Db::Director), Work(Db::Price, kPriceHistoryDate),
    Work(Db::StockMan), Work(Db::Optima), Work(Db::System, kCurrencyHistory),
};

// ---- z_SP_06_1 -------------------------------------------------------------

constexpr Step kParameterSteps[] = {
    aaColumnAdd("de_temp_element", "Umin", "i", 4),
    aaColumnAdd("de_temp_element", "Umax", "i", 5),
    aaColumnAdd("set_Config", "aLevel", "i", 1),
    DataStep(SetConfigLevel, 0),
    aaTableAdd("set_WWW", kNoKey, "NN INT, wwwMission BLOB SUB_TYPE 1"),
    aaColumnAdd("DE", "Prefix", "t3", 19),
    aaColumnAdd("DE", "KodParameter", "i", 20),
    aaColumnAdd("DE_Material", "SubParameter", "t255", 99),
    aaTableAdd("set_Logistic_Transport", kNoKey,
               "ID VARCHAR(255), Name_Transport VARCHAR(255), Note_Transport VARCHAR(255)"),
    aaTableAdd("set_ParameterDE", "NumberMain", "NumberMain INT, NAMEParameter VARCHAR(255)"),
    aaTableAdd("set_SubParameterDE", kNoKey, "NumberParameter INT, SUBParameter VARCHAR(255), PValue VARCHAR(1)"),
    aaColumnAdd("kv_setting", "OtkosMini", "i", 99),
};

constexpr Step kLogisticsSteps[] = {
    aaColumnAdd("o_Info", "KolvoRama", "i", 99),
    aaColumnAdd("o_Info", "KolvoStvorka", "i", 99),
    aaColumnAdd("o_Info", "Massa", "i", 99),
    aaColumnAdd("DE", "Prefix", "t3", 7),
    aaColumnAdd("DE", "SubParameter", "t255", 8),
    aaColumnAdd("DE", "KodParameter", "i", 99),
    aaColumnAdd("k_Filling", "DateZakaz", "d", 99),
    aaTableAdd("o_Logistic", kNoKey,
               "NOM INT, DateDelivery DATE, TimeCustomerBegin INT, TimeCustomerEnd INT, TimeParking INT, "
               "ID VARCHAR(255), CommentLogistic VARCHAR(255),Log_Logistic BLOB SUB_TYPE 1"),
    aaColumnAdd("o_Service", "OtkosMin", "i", 99),
    aaColumnAdd("o_Service", "OtkosMax", "i", 99),
};

constexpr Step kArrivalsSteps[] = {
    aaColumnPereType("Arrivals", "Summa", "m4"),
    aaColumnAdd("ArrivalsList", "NameArrivalsSupplier", "t255", 4),
    aaColumnAdd("ArrivalsList", "DateArrivalsSupplier", "d", 5),
};

constexpr DatabaseWork kSp06_1[] = {
    WorkWithoutLevel(Db::Base, kParameterSteps), WorkWithoutLevel(Db::Config, kParameterSteps),
    WorkWithoutLevel(Db::Orders, kLogisticsSteps), WorkWithoutLevel(Db::ServerOrders, kLogisticsSteps),
    Unopened(Db::Director), Unopened(Db::Price), WorkWithoutLevel(Db::StockMan, kArrivalsSteps), Unopened(Db::Optima),
    Unopened(Db::System),
};

// ---- z_SP_06_2 and z_SP_06_3 -------------------------------------------------

constexpr Step kFittingLimits[] = {
    aaColumnAdd("Furnitura", "NumberLock", "i", 8), aaColumnAdd("RAB", "WidthMin", "i", 7),
    aaColumnAdd("RAB", "WidthMax", "i", 8),         aaColumnAdd("RAB", "HeightMin", "i", 9),
    aaColumnAdd("RAB", "HeightMax", "i", 10),       aaColumnAdd("RAB", "OtkosMin", "i", 11),
    aaColumnAdd("RAB", "OtkosMax", "i", 12),
};

constexpr Step kPaintAndCapitals[] = {
    aaColumnAdd("stock_Size", "l_miniPokraska", "i", 14),
    aaColumnAdd("stock_Size", "l_miniPokraskaRound", "i", 15),
    aaColumnAdd("col", "minicapital", "t1", 4),
    aaColumnAdd("col", "nameMinicapital", "t255", 5),
};

constexpr DatabaseWork kSp06_2[] = {Work(Db::Base, kFittingLimits), Work(Db::Config, kFittingLimits)};
constexpr DatabaseWork kSp06_3[] = {Work(Db::Base, kPaintAndCapitals), Work(Db::Config, kPaintAndCapitals)};

}  // namespace

constexpr Pack z_SP_05{"z_SP_05", 4, LevelWrite::ServicePack, 5, "KolvoOperation=", "Kolvo_SP_05=21", kSp05};
constexpr Pack z_SP_06{"z_SP_06", 5, LevelWrite::ServicePack, 6, "KolvoOperation=", "Kolvo_SP_6=9", kEveryDatabase};
constexpr Pack z_SP_06_1{"z_SP_06_1", 6, LevelWrite::None, 0, "KolvoOperation=", "Kolvo_SP_6_1=45", kSp06_1};
constexpr Pack z_SP_06_2{"z_SP_06_2", 6, LevelWrite::Build, 2, "KolvoOperation=", "Kolvo_SP_6_2=16", kSp06_2};
constexpr Pack z_SP_06_3{"z_SP_06_3", 6, LevelWrite::Build, 3, "KolvoOperation=", "Kolvo_SP_6_3=10", kSp06_3};

// E and the count message as given for each pack.
static_assert(AllAgree({{z_SP_05, 21}, {z_SP_06, 9}, {z_SP_06_1, 45}, {z_SP_06_2, 16}, {z_SP_06_3, 10}}));

}  // namespace kv::packs
