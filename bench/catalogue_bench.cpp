/*
** catalogue_bench: the whole service pack catalogue on a level-0 demo
** installation, in the wizard's order, beside the same changes applied by
** isql-fb as one script per database.
**
**   catalogue_bench [--dir FOLDER] [--keep]
**
** Two identical demo installations are made (forced writes on). The first is
** upgraded by walking the pack table as the install run does, with the client
** layer capturing every committed change; those changes become one isql-fb
** script per database, run on the second. Both must end identical. The
** capture's own small cost is counted in our own share of the time.
*/
#include <algorithm>
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

Baseline RunBaseline(const ChangeCapture& capture, const DatabasePaths& ours, const DatabasePaths& theirs,
                     const std::string& scripts, const IsqlLogin& login) {
  Baseline b;
  for (packs::Db db : kDatabases) {
    const AdminScript script = WriteAdminScript(capture.Changes(DatabasePath(ours, db)));
    // Both Orders databases are named Orders.fdb.
    const std::string file = scripts + FileNameOf(DatabasePath(theirs, db)) +
                             (db == packs::Db::ServerOrders ? ".server" : "") + ".sql";
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

int Run(const WorkFolder& folder) {
  auto client = fb::Client::Load();
  std::cerr << "Preparing two level-0 demo installations in " << folder.Path() << " ...\n";
  const demo::DemoOptions oursOptions{folder.Path() + "ours", 0, 1, false, true};
  const demo::DemoOptions theirsOptions{folder.Path() + "isql", 0, 1, false, true};
  const demo::DemoInstallation ours = demo::CreateDemoInstallation(*client, oursOptions);
  const demo::DemoInstallation theirs = demo::CreateDemoInstallation(*client, theirsOptions);
  const std::vector<std::string> params = {ours.installation.connection.userLine,
                                           ours.installation.connection.passwordLine};
  const IsqlLogin login{"kv5.1", InstallationPassword(1)};

  std::cerr << "Running the catalogue ...\n";
  RecordingClock clock;
  CollectingDialog dialog;
  FirebirdVersionState version;
  PlainGauge gauge(packs::kGaugeBudget);
  PackProgress progress(&gauge, clock);
  MigrationServices services{*client, ours.installation, dialog, RealFileSystem(), version, progress};
  ChangeCapture capture;
  const std::int64_t rssBefore = CurrentRssKb();
  const bool peakReset = ResetPeakRss();
  client->SetObserver(&capture);
  const WalkResult walk = WalkCatalogue(services, gauge, clock);
  client->SetObserver(nullptr);
  const std::int64_t rssOurs = PeakRssKb();
  if (!walk.failure.empty()) throw std::runtime_error("the catalogue stopped: " + walk.failure);

  std::cerr << "Running the same changes through isql-fb ...\n";
  const Baseline base =
      RunBaseline(capture, ours.installation.databases, theirs.installation.databases, folder.Path(), login);

  std::cerr << "Comparing the results ...\n";
  std::string difference;
  for (packs::Db db : kDatabases) {
    const std::string a = DatabaseDigest(*client, DatabasePath(ours.installation.databases, db), params);
    const std::string b = DatabaseDigest(*client, DatabasePath(theirs.installation.databases, db), params);
    const std::string d = FirstDifference(a, b);
    if (!d.empty() && difference.empty()) difference = DbName(ours.installation.databases, db) + " " + d;
  }

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

  TextTable summary({"", "ours", "isql-fb", "ours / isql-fb"});
  summary.Add({"wall time ms", Ms(walk.wall), Ms(base.wall), Ratio(walk.wall, base.wall)});
  summary.Add({"attachments", std::to_string(walk.calls.Attachments()), std::to_string(base.attachments), ""});
  summary.Add({"commits", std::to_string(walk.calls.Commits()), std::to_string(base.commits), ""});
  summary.Add({"peak resident memory", Mb(rssOurs), Mb(base.peakKb), ""});

  const Nanos timerCost = TimingCostPerCall();
  const Nanos instrumentation = timerCost * static_cast<std::int64_t>(walk.calls.Total().calls);
  int pausedMs = 0;
  for (int ms : clock.pauses) pausedMs += ms;

  std::cout << "\nFigure 1. The whole catalogue on a level-0 demo installation (9 databases, forced writes on)\n\n"
            << "Ours: the pack table walked as the install run does; every pack in a fresh context.\n\n"
            << packsTable.Render() << "\n"
            << "Where our time went:\n\n"
            << callsTable.Render() << "\n"
            << "Baseline: the same changes (captured from our run) as one isql-fb script per database.\n\n"
            << base.table.Render() << "of which starting isql-fb, attaching and ending, with an empty script: "
            << Ms(base.startup) << " ms\n\n"
            << summary.Render() << "\n"
            << "Our own share: " << Ms(own) << " ms of " << Ms(walk.wall) << " ms = " << Percent(own, walk.wall)
            << " (target under 10%: " << (own * 10 < walk.wall ? "met" : "NOT met") << ")\n"
            << "Our peak resident memory is that of the bench process "
            << (peakReset ? "during the run" : "since its start (no reset here)")
            << "; resident at the start of the run: " << Mb(rssBefore) << "\n"
            << "Pauses the run makes, recorded and not slept: " << clock.pauses.size() << " (" << pausedMs
            << " ms)\n"
            << "Instrumentation: " << walk.calls.Total().calls << " timed calls x " << timerCost.count()
            << " ns = " << Ms(instrumentation, 2) << " ms (" << Percent(instrumentation, walk.wall)
            << " of our wall time)\n"
            << "Messages the packs showed: " << dialog.shown.size() << "\n"
            << "Result: "
            << (difference.empty() ? "the nine databases are identical after both (schema, generators, triggers, "
                                     "indexes and every row)"
                                   : "DIFFERENT: " + difference)
            << "\n";
  return difference.empty() && dialog.shown.empty() ? 0 : 1;
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) {
  try {
    kv::bench::WorkFolder folder(argc, argv, "catalogue_bench");
    return kv::bench::Run(folder);
  } catch (const std::exception& e) {
    std::cerr << "catalogue_bench: " << e.what() << "\n";
    return 1;
  }
}
