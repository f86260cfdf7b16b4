/*
** The service pack catalogue as data.
**
** A pack lists its databases in a fixed order; for each, the count N that the
** database adds to KolvoOperation and the steps it runs there. A step is one
** toolkit operation with its exact arguments, or a data step with rules of its
** own. The step constructors carry the names of the toolkit operations they
** run, with the same arguments in the same order, so that a pack reads like a
** list of toolkit calls:
**
**   aaColumnAdd("k_Razdel", "NumberElement20", "s", 13),
**   aaTableAdd("set_WWW", kNoKey, "NN INT, wwwMission BLOB SUB_TYPE 1"),
*/
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace kv {

class TDM1;

namespace packs {

/* The databases of the installation, by the names the packs use; in the
** order of kPackDatabases (database_paths.h), which maps them to paths. */
enum class Db { Base, Config, Orders, ServerOrders, Director, Price, StockMan, Optima, System };

/* What a data step tells the frame. */
enum class Outcome {
  Continue,     // go on with the next step
  EndDatabase,  // skip this database's remaining steps; its level write still follows
  EndPack,      // end the pack now with false: no level write, no count message
};

using DataStepFn = Outcome (*)(TDM1&);

enum class Op { ColumnAdd, ColumnDelete, ColumnRename, ColumnRetype, TableAdd, TableDelete, IndexAdd, Data };

struct Step {
  Op op;
  std::string_view table, column;  // column: also the key column of a table, the old name of a rename
  std::string_view text;           // type code, new name, column definitions or index kind
  std::int32_t number = 0;         // position of a new column
  DataStepFn data = nullptr;
  std::int32_t counts = 0;         // progress steps the step adds when everything succeeds
};

inline constexpr std::string_view kNoKey = "";

constexpr Step aaColumnAdd(std::string_view table, std::string_view column, std::string_view typeCode,
                           std::int32_t position) {
  return {Op::ColumnAdd, table, column, typeCode, position, nullptr, 1};
}
constexpr Step aaColumnDelete(std::string_view table, std::string_view column) {
  return {Op::ColumnDelete, table, column, {}, 0, nullptr, 1};
}
constexpr Step aaColumnPereName(std::string_view table, std::string_view oldName, std::string_view newName) {
  return {Op::ColumnRename, table, oldName, newName, 0, nullptr, 1};
}
constexpr Step aaColumnPereType(std::string_view table, std::string_view column, std::string_view typeCode) {
  return {Op::ColumnRetype, table, column, typeCode, 0, nullptr, 1};
}
/* Generator start value 0, as every pack of the catalogue uses. */
constexpr Step aaTableAdd(std::string_view table, std::string_view key, std::string_view definitions) {
  return {Op::TableAdd, table, key, definitions, 0, nullptr, 1};
}
constexpr Step aaTableDelete(std::string_view table) { return {Op::TableDelete, table, {}, {}, 0, nullptr, 1}; }
constexpr Step aaIndexAdd(std::string_view table, std::string_view column, std::string_view kind) {
  return {Op::IndexAdd, table, column, kind, 0, nullptr, 0};
}
/* A data step and the progress steps it adds when it succeeds. */
constexpr Step DataStep(DataStepFn fn, std::int32_t counts) { return {Op::Data, {}, {}, {}, 0, fn, counts}; }

struct DatabaseWork {
  Db db;
  std::int32_t n;  // the count the database adds, worked on or passed over; 0: not even opened
  std::span<const Step> steps;
};

/* The progress steps that steps add when everything succeeds. */
constexpr std::int32_t StepCounts(std::span<const Step> steps) {
  std::int32_t sum = 0;
  for (const Step& step : steps) sum += step.counts;
  return sum;
}

/* A database of a pack that writes its level: N is its steps' count plus one
** for the level write. */
constexpr DatabaseWork Work(Db db, std::span<const Step> steps = {}) { return {db, 1 + StepCounts(steps), steps}; }
/* A database of a pack that leaves the level alone: N is its steps' count. */
constexpr DatabaseWork WorkWithoutLevel(Db db, std::span<const Step> steps) { return {db, StepCounts(steps), steps}; }
/* A database the pack does not even open: N is 0. */
constexpr DatabaseWork Unopened(Db db) { return {db, 0, {}}; }

/* E: the sum of the databases' N. */
constexpr std::int32_t ExpectedTotal(std::span<const DatabaseWork> databases) {
  std::int32_t sum = 0;
  for (const DatabaseWork& work : databases) sum += work.n;
  return sum;
}

enum class LevelWrite { None, ServicePack, Build };

struct Pack {
  /* E is computed from the databases. */
  constexpr Pack(std::string_view packName, std::int32_t requiredLevel, LevelWrite levelWrite, std::int32_t value,
                 std::string_view head, std::string_view tail, std::span<const DatabaseWork> work)
      : name(packName), required(requiredLevel), write(levelWrite), writeValue(value),
        expected(ExpectedTotal(work)), messageHead(head), messageTail(tail), databases(work) {}

  std::string_view name;         // the method's name, e.g. "z_SP_06_2"
  std::int32_t required;         // the level a database must show to be worked on
  LevelWrite write;
  std::int32_t writeValue;       // the new ServicePack or the Build
  std::int32_t expected;         // E, the sum of the N
  std::string_view messageHead;  // "KolvoOperation=" or "KolvoOperation = "
  std::string_view messageTail;  // after the counter and "\r\r", e.g. "Kolvo_SP_01 = 33"
  std::span<const DatabaseWork> databases;
};

/* True when a pack's figures agree with its tables: every database counts its
** steps plus one when the pack writes a level (or is not opened), E is the
** figure given, and the count message ends in it. */
constexpr bool Agrees(const Pack& pack, std::int32_t figure) {
  const std::int32_t levelWrite = pack.write == LevelWrite::None ? 0 : 1;
  for (const DatabaseWork& work : pack.databases)
    if (work.n != 0 && work.n != levelWrite + StepCounts(work.steps)) return false;
  std::string_view tail = pack.messageTail;
  for (std::int32_t rest = figure; rest > 0; rest /= 10, tail.remove_suffix(1))
    if (tail.empty() || tail.back() != static_cast<char>('0' + rest % 10)) return false;
  const bool figureEnds = !tail.empty() && (tail.back() == '=' || tail.back() == ' ');
  return figure > 0 && pack.expected == figure && figureEnds;
}

/* A pack and the E given for it. */
struct GivenTotal {
  const Pack& pack;
  std::int32_t figure;
};
constexpr bool AllAgree(std::initializer_list<GivenTotal> given) {
  for (const GivenTotal& g : given)
    if (!Agrees(g.pack, g.figure)) return false;
  return true;
}

/* All nine databases in the packs' order, each counting 1 with no steps: the
** body of the version-only packs (install_SP). */
inline constexpr DatabaseWork kEveryDatabase[] = {
    Work(Db::Base),  Work(Db::Config),   Work(Db::Orders), Work(Db::ServerOrders), Work(Db::Director),
    Work(Db::Price), Work(Db::StockMan), Work(Db::Optima), Work(Db::System),
};

/* Every pack of the catalogue, in the order the wizard runs them. */
std::span<const Pack* const> Catalogue();

/* Packs 01 to 04_3. */
extern const Pack z_SP_01, z_SP_02, z_SP_03, z_SP_04, z_SP_04_1, z_SP_04_3;
/* Packs 05 to 06_3. */
extern const Pack z_SP_05, z_SP_06, z_SP_06_1, z_SP_06_2, z_SP_06_3;
/* Packs 08 to 08_9. */
extern const Pack z_SP_08, z_SP_08_1, z_SP_08_2, z_SP_08_3, z_SP_08_4, z_SP_08_5, z_SP_08_6, z_SP_08_7, z_SP_08_8,
    z_SP_08_9;
/* Packs 09 to 11_1. */
extern const Pack z_SP_09, z_SP_09_1, z_SP_10, z_SP_10_1, z_SP_11, z_SP_11_1;
/* Packs 12 to 12_2. */
extern const Pack z_SP_12, z_SP_12_1, z_SP_12_2;

}  // namespace packs
}  // namespace kv
