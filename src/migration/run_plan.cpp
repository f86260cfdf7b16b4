/*
** The plan of a run.
*/
#include "migration/run_plan.h"

#include <algorithm>
#include <limits>
#include <map>
#include <new>
#include <utility>

#include "migration/catalogue_walk.h"
#include "migration/runner.h"
#include "platform/scope_exit.h"

namespace kv {
namespace {

using packs::Db;

/* The engine's reasons for refusals, as the contexts report them. */
class RefusalRecorder final : public MigrationObserver {
 public:
  void DatabaseUnopenable(const std::string& path, const std::string& reason) noexcept override {
    try {
      reasons[path] = reason;
    } catch (const std::bad_alloc&) {
      // The plan then gives the database no reason; an observer has no one to tell.
    }
  }
  std::map<std::string, std::string> reasons;
};

std::optional<std::int32_t> ReadField(TDM1& dm, const char* column) {
  std::optional<std::int32_t> value;
  try {
    value = dm.ReadInt({std::string("SELECT ") + column, "FROM kv_Setting"});
  } catch (const fb::Error&) {
  }
  dm.EndReadQuietly();
  return value;
}

void ReadVersionFields(MigrationServices& services, DatabasePlan& d) {
  TDM1 dm(services);
  if (!dm.OpenDataBase(d.path)) return;
  d.version = ReadField(dm, "Version");
  d.servicePack = ReadField(dm, "ServicePack");
  d.build = ReadField(dm, "Build");
}

}  // namespace

bool RunPlan::CanProceed() const {
  if (noDatabase || !blockedBy.empty()) return false;
  return std::none_of(databases.begin(), databases.end(),
                      [](const DatabasePlan& d) { return d.open == OpenResult::Refused; });
}

RunPlan PlanRun(MigrationServices& services, const std::map<std::string, std::string>& refused) {
  RefusalRecorder refusals;
  std::vector<SurveyedDatabase> survey;
  {
    MigrationObserver* previous = std::exchange(services.observer, &refusals);
    ScopeExit restoreObserver([&] { services.observer = previous; });
    survey = SurveyDatabasesFresh(services);
  }

  RunPlan plan;
  std::map<Db, DatabasePlan*> byDb;
  plan.databases.reserve(std::size(packs::kEveryDatabase));
  for (const packs::DatabaseWork& w : packs::kEveryDatabase) {
    const auto found = std::find_if(survey.begin(), survey.end(), [&](const SurveyedDatabase& s) { return s.db == w.db; });
    DatabasePlan d;
    d.db = w.db;
    d.path = found->path;
    d.open = found->open;
    d.level = found->level;
    if (const auto r = refused.find(d.path); r != refused.end() && !d.path.empty()) {
      d.open = OpenResult::Refused;
      d.refusal = r->second;
    } else if (d.open == OpenResult::Refused) {
      d.refusal = refusals.reasons[d.path];
    }
    if (d.open == OpenResult::Opened) ReadVersionFields(services, d);
    plan.databases.push_back(std::move(d));
    byDb[w.db] = &plan.databases.back();
  }

  // The levels as the simulated packs leave them.
  std::map<Db, std::int32_t> level;
  for (const DatabasePlan& d : plan.databases)
    if (d.open == OpenResult::Opened) level[d.db] = d.level;
  auto lowest = [&] {
    std::int32_t result = std::numeric_limits<std::int32_t>::max();
    for (const auto& [db, l] : level) result = std::min(result, l);
    return result;
  };
  plan.workingLevel = lowest();
  plan.noDatabase = plan.workingLevel == std::numeric_limits<std::int32_t>::max();
  for (const packs::RunStep& step : packs::RunOrder()) plan.steps.push_back({&step, false});
  if (plan.noDatabase) return plan;

  const packs::RunStep* current = nullptr;
  class StepMarker final : public RunObserver {
   public:
    explicit StepMarker(const packs::RunStep*& current) : current_(current) {}
    void StepSkipped(const packs::RunStep&) override {}
    void RemoveTemporaryOrders(const packs::RunStep&) override {}
    void PackStarting(const packs::RunStep& step, const packs::RunPack&) override { current_ = &step; }

   private:
    const packs::RunStep*& current_;
  } marker(current);

  const WalkResult walk = WalkSteps(
      lowest,
      [&](const packs::RunPack& run) {
        plan.steps[static_cast<std::size_t>(current->number - 1)].runs = true;
        const packs::Pack& pack = *run.pack;
        bool falls = false;
        for (const packs::DatabaseWork& w : pack.databases) {
          if (w.n == 0) continue;
          DatabasePlan& d = *byDb[w.db];
          if (d.open == OpenResult::Refused) falls = true;  // as the run: not counted, the pack falls short
          if (d.open != OpenResult::Opened || level[w.db] != pack.required) continue;
          d.packs.emplace_back(pack.name);
          if (pack.write == packs::LevelWrite::ServicePack) level[w.db] = pack.writeValue;
        }
        return !falls;
      },
      marker);
  if (walk.failed) plan.blockedBy = std::string(walk.failed->pack->name);
  return plan;
}

}  // namespace kv
