/*
** The pack frame and the fresh-context wrappers.
*/
#include "migration/runner.h"

#include <algorithm>
#include <limits>

namespace kv {

using packs::Db;
using packs::Op;
using packs::Outcome;

const std::string& DatabasePath(const DatabasePaths& p, Db db) {
  return p.*kPackDatabases.at(static_cast<std::size_t>(db));
}

namespace {

Outcome Apply(TDM1& dm, const packs::Step& s) {
  const std::string table(s.table), column(s.column), text(s.text);
  switch (s.op) {
    case Op::ColumnAdd: dm.aaColumnAdd(table, column, text, s.number); break;
    case Op::ColumnDelete: dm.aaColumnDelete(table, column); break;
    case Op::ColumnRename: dm.aaColumnPereName(table, column, text); break;
    case Op::ColumnRetype: dm.aaColumnPereType(table, column, text); break;
    case Op::TableAdd: dm.aaTableAdd(table, text, column, 0); break;
    case Op::TableDelete: dm.aaTableDelete(table); break;
    case Op::IndexAdd: dm.aaIndexAdd(table, column, text); break;
    case Op::Data: return s.data(dm);
  }
  return Outcome::Continue;
}

/* The frame's walk over the databases; false when a data step ended the pack.
** A database the installation has but the engine refuses is not counted, so
** the pack falls short: it was not upgraded, and the next run comes back to it.
** The same holds for a database whose work did not all count (a statement
** failed, or what a crash left half done could not be completed): its level is
** not written over that work, so the next run visits it again, where the
** guarded operations complete what they find. */
bool VisitDatabases(TDM1& dm, std::int32_t required, packs::LevelWrite write, std::int32_t writeValue,
                    std::span<const packs::DatabaseWork> databases) {
  const DatabasePaths& paths = dm.installation().databases;
  for (const packs::DatabaseWork& work : databases) {
    if (work.n == 0) continue;
    const std::string& path = DatabasePath(paths, work.db);
    const OpenResult open = dm.TryOpenDataBase(path);
    const std::int32_t before = open == OpenResult::Opened ? dm.control_Version() : -1;
    if (open == OpenResult::Opened && before == required) {
      const std::int32_t start = dm.KolvoOperation();
      Outcome outcome = Outcome::Continue;
      for (const packs::Step& step : work.steps) {
        outcome = Apply(dm, step);
        // Another client keeps what this database's work needs: one wait for
        // it is enough; the pack falls short and a later run comes back.
        if (outcome != Outcome::Continue || dm.HeldUpByLock()) break;
      }
      if (outcome == Outcome::EndPack) {
        dm.CloseDataBase();
        return false;
      }
      const std::int32_t counted = dm.KolvoOperation();
      const std::int32_t due = work.n - (write == packs::LevelWrite::None ? 0 : 1);
      const bool complete = counted - start == due && !dm.HeldUpByLock();
      if (!complete && dm.observer()) dm.observer()->VisitFellShort(path, counted - start, due);
      if (complete && write == packs::LevelWrite::ServicePack) dm.aaWrite_ServicePack(writeValue);
      if (complete && write == packs::LevelWrite::Build) dm.aaWrite_Build(writeValue);
      const bool raised = write == packs::LevelWrite::ServicePack && dm.KolvoOperation() > counted;
      if (dm.observer()) dm.observer()->DatabaseVisited(path, before, raised ? writeValue : before, true);
    } else if (open != OpenResult::Refused) {
      if (open == OpenResult::Opened && dm.observer()) dm.observer()->DatabaseVisited(path, before, before, false);
      dm.StepProgress(work.n);
    }
    dm.CloseDataBase();
  }
  return true;
}

}  // namespace

bool RunPack(TDM1& dm, const packs::Pack& pack) {
  const std::string name(pack.name);
  if (dm.observer()) dm.observer()->PackStarted(name);
  const bool visited = VisitDatabases(dm, pack.required, pack.write, pack.writeValue, pack.databases);
  const bool complete = visited && dm.KolvoOperation() == pack.expected;
  if (dm.observer()) dm.observer()->PackEnded(name, dm.KolvoOperation(), pack.expected, complete);
  if (!visited) return false;
  if (complete) return true;
  if (dm.Numbered())
    dm.dialog().ShowMessage(std::string(pack.messageHead) + std::to_string(dm.KolvoOperation()) + "\r\r" +
                            std::string(pack.messageTail));
  return false;
}

bool RunPackFresh(MigrationServices& services, const packs::Pack& pack) {
  services.progress.ResetKolvoOperation();
  TDM1 dm(services);
  return RunPack(dm, pack);
}

void install_SP(TDM1& dm, std::int32_t newLevel, std::int32_t required) {
  VisitDatabases(dm, required, packs::LevelWrite::ServicePack, newLevel, packs::kEveryDatabase);
}

std::vector<SurveyedDatabase> SurveyDatabases(TDM1& dm, bool readLevels) {
  std::vector<SurveyedDatabase> survey;
  const DatabasePaths& p = dm.installation().databases;
  // Config last: every database the packs upgrade counts, so one left behind
  // by a failed run is always brought up by the next.
  for (Db db : {Db::System, Db::Optima, Db::Orders, Db::ServerOrders, Db::Base, Db::StockMan, Db::Director,
                Db::Price, Db::Config}) {
    SurveyedDatabase d{db, DatabasePath(p, db)};
    d.open = dm.TryOpenDataBase(d.path);
    if (d.open == OpenResult::Opened && readLevels) d.level = dm.control_Version();
    survey.push_back(std::move(d));
  }
  dm.CloseDataBase();
  return survey;
}

std::int32_t LowestLevel(const std::vector<SurveyedDatabase>& survey) {
  std::int32_t result = std::numeric_limits<std::int32_t>::max();
  for (const SurveyedDatabase& d : survey)
    if (d.open == OpenResult::Opened) result = std::min(result, d.level);
  return result;
}

std::int32_t f_miniServicePack(TDM1& dm) { return LowestLevel(SurveyDatabases(dm)); }

std::vector<SurveyedDatabase> SurveyDatabasesFresh(MigrationServices& services, bool readLevels) {
  TDM1 dm(services);
  return SurveyDatabases(dm, readLevels);
}

std::int32_t MinimumLevelFresh(MigrationServices& services) {
  TDM1 dm(services);
  return f_miniServicePack(dm);
}

bool ReadVersionRecordFresh(MigrationServices& services, const std::string& path, std::int32_t& version,
                            std::int32_t& servicePack, std::int32_t& build) {
  TDM1 dm(services);
  return dm.aaRead_ServicePack(path, version, servicePack, build);
}

}  // namespace kv
