/*
** catalogue_bench: the whole service pack catalogue on a level-0 demo
** installation, in the wizard's order, beside the same changes applied by
** isql-fb as one script per database.
**
**   catalogue_bench [--dir FOLDER] [--keep]
**
** Three rounds; each figure is the median of the three. In each round three
** identical demo installations are made (forced writes on). The first is
** upgraded by walking the pack table as the install run does, with the client
** layer capturing every committed change; those changes become one isql-fb
** script per database, run on the second, and the same with a COMMIT wherever
** our run committed, run on the third. All three must end identical. The
** capture's own small cost is counted in our own share of the time.
*/
#include <algorithm>

#include "migration/backup.h"
#include <iostream>
#include <stdexcept>

#include "demo_installation.h"
#include "migration/packs/catalogue.h"
#include "migration/packs/run_order.h"
#include "migration/runner.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "startup/database_paths.h"
#include "support/catalogue_walk.h"
#include "support/change_capture.h"
#include "support/db_digest.h"
#include "support/isql.h"
#include "support/measure.h"
#include "support/surroundings.h"
#include "support/work_folder.h"

namespace kv::bench {
namespace {

constexpr packs::Db kDatabases[] = {packs::Db::Base,     packs::Db::Config,   packs::Db::Orders,
                                    packs::Db::ServerOrders, packs::Db::Director, packs::Db::Price,
                                    packs::Db::StockMan, packs::Db::Optima,   packs::Db::System};

std::string DbName(const DatabasePaths& paths, packs::Db db) {
  return db == packs::Db::ServerOrders ? "server " + FileNameOf(DatabasePath(paths, db))
                                       : FileNameOf(DatabasePath(paths, db));
}

struct Baseline {
  TextTable table{{"database", "statements", "commits", "wall ms"}};
  Nanos wall{0}, startup{0};
  int statements = 0, commits = 0, attachments = 0;
  long peakKb = 0;
};

/* Where the scripts commit: where the server needs it (an administrator's
** script), or wherever our run committed. */
enum class Commits { Fewest, Ours };

Baseline RunBaseline(const ChangeCapture& capture, const DatabasePaths& ours, const DatabasePaths& theirs,
                     const std::string& scripts, const IsqlLogin& login, Commits commits) {
  Baseline b;
  for (packs::Db db : kDatabases) {
    const std::string& path = DatabasePath(ours, db);
    const AdminScript script = commits == Commits::Fewest
                                   ? WriteAdminScript(capture.Changes(path))
                                   : WriteSameCommitsScript(capture.Changes(path), capture.CommitEnds(path));
    // Both Orders databases are named Orders.fdb.
    const std::string file = scripts + FileNameOf(DatabasePath(theirs, db)) +
                             (db == packs::Db::ServerOrders ? ".server" : "") +
                             (commits == Commits::Ours ? ".same" : "") + ".sql";
    WriteTextFile(file, script.text);
    const IsqlRun run = RunIsql(login, DatabasePath(theirs, db), file);
    b.table.Add(
        {DbName(theirs, db), std::to_string(script.statements), std::to_string(script.commits), Ms(run.wall)});
    b.wall += run.wall;
    b.peakKb = std::max(b.peakKb, run.peakKb);
    b.statements += script.statements;
    b.commits += script.commits;
    ++b.attachments;
  }
  b.table.Rule();
  b.table.Add({"total", std::to_string(b.statements), std::to_string(b.commits), Ms(b.wall)});
  if (commits == Commits::Ours) return b;
  // What isql-fb costs before it does anything: start, attach, end.
  const std::string empty = scripts + "empty.sql";
  WriteTextFile(empty, "");
  for (packs::Db db : kDatabases) b.startup += RunIsql(login, DatabasePath(theirs, db), empty).wall;
  return b;
}

/* The first line where two digests differ, or "" when they are equal. */
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t line = 1, i = 0;
  for (; i < a.size() && i < b.size() && a[i] == b[i]; ++i)
    if (a[i] == '\n') ++line;
  if (i == a.size() && i == b.size()) return "";
  auto lineAt = [&](const std::string& s) {
    size_t from = s.rfind('\n', i == 0 ? 0 : i - 1);
    from = from == std::string::npos ? 0 : from + 1;
    return s.substr(from, s.find('\n', from) - from);
  };
  return "line " + std::to_string(line) + ": \"" + lineAt(a) + "\" against \"" + lineAt(b) + "\"";
}

/* One round: two fresh level-0 demos, ours walked, the captured changes run by isql-fb on the other. */
struct Round {
  WalkResult walk;
  Baseline base;
  Baseline same;  // isql-fb committing where we did
  Nanos backup{0};  // the verified backup the install run makes before its first pack
  std::int64_t rssBefore = 0, rssPeak = 0;
  bool peakReset = false;
  std::vector<int> pauses;
  std::size_t messages = 0;
  std::string difference;
};

Round RunRound(const fb::Client& constClient, fb::Client& client, const std::string& folder) {
  Round r;
  const demo::DemoOptions oursOptions{folder + "ours", 0, 1, false, true};
  const demo::DemoOptions theirsOptions{folder + "isql", 0, 1, false, true};
  const demo::DemoOptions sameOptions{folder + "isql-same", 0, 1, false, true};
  const demo::DemoInstallation ours = demo::CreateDemoInstallation(constClient, oursOptions);
  const demo::DemoInstallation theirs = demo::CreateDemoInstallation(constClient, theirsOptions);
  const demo::DemoInstallation same = demo::CreateDemoInstallation(constClient, sameOptions);
  const std::vector<std::string> params = {ours.installation.connection.userLine,
                                           ours.installation.connection.passwordLine};
  const IsqlLogin login{"kv5.1", InstallationPassword(1)};

  test::FixedClock clock;
  test::RecordingDialog dialog;
  FirebirdVersionState version;
  PlainGauge gauge(packs::kGaugeBudget);
  PackProgress progress(&gauge, clock);
  MigrationServices services{constClient, ours.installation, dialog, RealFileSystem(), version, progress};
  {
    BackupObserver quiet;
    const auto start = Steady::now();
    MakeBackup(services, DatabasesToBackUp(ours.installation, RealFileSystem()), {folder + "backup/", nullptr},
               clock.Now(), quiet);
    r.backup = Steady::now() - start;
  }
  ChangeCapture capture;
  r.rssBefore = CurrentRssKb();
  r.peakReset = ResetPeakRss();
  client.SetObserver(&capture);
  r.walk = WalkCatalogue(services, gauge, clock);
  client.SetObserver(nullptr);
  r.rssPeak = PeakRssKb();
  if (!r.walk.failure.empty()) throw std::runtime_error("the catalogue stopped: " + r.walk.failure);
  r.base = RunBaseline(capture, ours.installation.databases, theirs.installation.databases, folder, login,
                       Commits::Fewest);
  r.same = RunBaseline(capture, ours.installation.databases, same.installation.databases, folder, login,
                       Commits::Ours);
  for (packs::Db db : kDatabases) {
    const std::string a = DatabaseDigest(constClient, DatabasePath(ours.installation.databases, db), params);
    for (const demo::DemoInstallation* other : {&theirs, &same}) {
      const std::string b = DatabaseDigest(constClient, DatabasePath(other->installation.databases, db), params);
      const std::string d = FirstDifference(a, b);
      if (!d.empty() && r.difference.empty()) r.difference = DbName(ours.installation.databases, db) + " " + d;
    }
  }
  r.pauses = clock.pauses;
  r.messages = dialog.ShownCount();
  return r;
}

constexpr int kRounds = 3;

int Run(const WorkFolder& folder) {
  auto client = fb::Client::Load();
  std::vector<Round> rounds;
  for (int i = 0; i < kRounds; ++i) {
    std::cerr << "Round " << i + 1 << " of " << kRounds << ": three level-0 demos, the catalogue, isql-fb twice ...\n";
    const std::string dir = folder.Path() + "round" + std::to_string(i + 1) + "/";
    rounds.push_back(RunRound(*client, *client, dir));
  }
  // The round with the median ratio gives the breakdown; each figure is the median of the rounds.
  std::vector<std::size_t> order(rounds.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto ratio = [&](std::size_t i) {
    return static_cast<double>(rounds[i].walk.wall.count()) / static_cast<double>(rounds[i].base.wall.count());
  };
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return ratio(a) < ratio(b); });
  const Round& median = rounds[order[order.size() / 2]];
  auto medianOf = [&](auto get) {
    std::vector<Nanos> v;
    for (const Round& r : rounds) v.push_back(get(r));
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  const Nanos oursWall = medianOf([](const Round& r) { return r.walk.wall; });
  const Nanos baseWall = medianOf([](const Round& r) { return r.base.wall; });
  const Nanos sameWall = medianOf([](const Round& r) { return r.same.wall; });
  const WalkResult& walk = median.walk;
  const Baseline& base = median.base;

  // ---- the figure --------------------------------------------------------
  TextTable packsTable({"unit", "wall ms", "attach", "commits", "library ms", "own ms"});
  for (const TimedUnit& u : walk.units)
    packsTable.Add({u.name, Ms(u.wall), std::to_string(u.calls.Attachments()), std::to_string(u.calls.Commits()),
                    Ms(u.calls.Total().time), Ms(u.wall - u.calls.Total().time)});
  packsTable.Rule();
  const Nanos library = walk.calls.Total().time;
  const Nanos own = walk.wall - library;
  packsTable.Add({"total", Ms(walk.wall), std::to_string(walk.calls.Attachments()),
                  std::to_string(walk.calls.Commits()), Ms(library), Ms(own)});

  TextTable callsTable({"client library call", "calls", "ms", "share of our time"});
  for (std::size_t k = 0; k < fb::kClientCallKinds; ++k) {
    const fb::CallTotals& t = walk.calls[static_cast<fb::ClientCall>(k)];
    if (t.calls == 0) continue;
    callsTable.Add({std::string(fb::ClientCallName(static_cast<fb::ClientCall>(k))), std::to_string(t.calls),
                    Ms(t.time), Percent(t.time, walk.wall)});
  }
  callsTable.Rule();
  callsTable.Add({"our own code", "", Ms(own), Percent(own, walk.wall)});

  TextTable roundsTable({"round", "ours ms", "isql-fb ms", "ours / isql-fb", "isql-fb, our commits ms",
                         "ours / that"});
  for (std::size_t i = 0; i < rounds.size(); ++i)
    roundsTable.Add({std::to_string(i + 1), Ms(rounds[i].walk.wall), Ms(rounds[i].base.wall),
                     Ratio(rounds[i].walk.wall, rounds[i].base.wall), Ms(rounds[i].same.wall),
                     Ratio(rounds[i].walk.wall, rounds[i].same.wall)});

  std::int64_t peak = 0;
  for (const Round& r : rounds) peak = std::max(peak, r.rssPeak);
  TextTable summary({"", "ours", "isql-fb", "ours / isql-fb"});
  summary.Add({"wall time ms (median of " + std::to_string(kRounds) + ")", Ms(oursWall), Ms(baseWall),
               Ratio(oursWall, baseWall)});
  summary.Add({"isql-fb committing where we commit, ms (median)", "", Ms(sameWall), Ratio(oursWall, sameWall)});
  const Nanos backupWall = medianOf([](const Round& r) { return r.backup; });
  summary.Add({"verified backup before the run ms (median)", Ms(backupWall), "", ""});
  summary.Add({"backup / walk", Ratio(backupWall, oursWall), "", ""});
  summary.Add({"attachments", std::to_string(walk.calls.Attachments()), std::to_string(base.attachments), ""});
  summary.Add({"commits", std::to_string(walk.calls.Commits()), std::to_string(base.commits), ""});
  summary.Add({"commits of changes", "", std::to_string(median.same.commits), ""});
  summary.Add({"peak resident memory", Mb(peak), Mb(base.peakKb), ""});

  const Nanos timerCost = TimingCostPerCall();
  const Nanos instrumentation = timerCost * static_cast<std::int64_t>(walk.calls.Total().calls);
  int pausedMs = 0;
  for (int ms : median.pauses) pausedMs += ms;
  std::string difference;
  std::size_t messages = 0;
  for (const Round& r : rounds) {
    if (difference.empty()) difference = r.difference;
    messages += r.messages;
  }

  std::cout << "\nFigure 1. The whole catalogue on a level-0 demo installation (9 databases, forced writes on)\n\n"
            << "Ours: the pack table walked as the install run does; every pack in a fresh context.\n"
            << "Breakdown of the round with the median ratio:\n\n"
            << packsTable.Render() << "\n"
            << "Where our time went:\n\n"
            << callsTable.Render() << "\n"
            << "Baseline: the same changes (captured from our run) as one isql-fb script per database.\n\n"
            << base.table.Render() << "of which starting isql-fb, attaching and ending, with an empty script: "
            << Ms(base.startup) << " ms\n\n"
            << "The same with a COMMIT wherever our run committed a change:\n\n"
            << median.same.table.Render() << "\n"
            << roundsTable.Render() << "\n"
            << summary.Render() << "\n"
            << "Our own share: " << Ms(own) << " ms of " << Ms(walk.wall) << " ms = " << Percent(own, walk.wall)
            << " (target under 10%: " << (own * 10 < walk.wall ? "met" : "NOT met") << ")\n"
            << "Our peak resident memory is that of the bench process "
            << (median.peakReset ? "during the walk (the most of the rounds)" : "since its start (no reset here)")
            << "; resident at the start of the walk: " << Mb(median.rssBefore) << "\n"
            << "Pauses the run makes, recorded and not slept: " << median.pauses.size() << " (" << pausedMs
            << " ms)\n"
            << "Instrumentation: " << walk.calls.Total().calls << " timed calls x " << timerCost.count()
            << " ns = " << Ms(instrumentation, 2) << " ms (" << Percent(instrumentation, walk.wall)
            << " of our wall time)\n"
            << "Messages the packs showed: " << messages << "\n"
            << "Result: "
            << (difference.empty() ? "the nine databases are identical after all three in every round (schema, "
                                     "generators, triggers, indexes and every row)"
                                   : "DIFFERENT: " + difference)
            << "\n";
  return difference.empty() && messages == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) { return kv::bench::BenchMain(argc, argv, "catalogue_bench", kv::bench::Run); }
