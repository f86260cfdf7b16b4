/*
** scale_bench: the data steps of the catalogue and the index creation of
** z_SP_12_2 on a large installation, each beside the same statement or its
** set-based equivalent run by isql-fb on an identical copy.
**
**   scale_bench [--scale F] [--repeat N] [--dir FOLDER] [--keep]
**
** --scale 1 (the default) loads a million o_Paid rows and the other tables in
** proportion; --scale 0.1 is a quick run. The databases are level-0 demo
** databases of installation 8, bulk-loaded by isql-fb with forced writes off,
** then switched to forced writes on and flushed. Every step runs --repeat
** times (default 3) on two fresh copies: through the program's own function
** (the database already open, as the pack frame leaves it) and through isql-fb
** (timed inside the engine, from after the attachment to after the last
** commit). The medians are shown; both copies must end with the same result.
** Beside them: the verified backup a run makes before its first pack, and the
** whole catalogue walked on the installation as the install run walks it.
*/
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "demo_installation.h"
#include "migration/backup.h"
#include "migration/fb/database_admin.h"
#include "migration/packs/run_order.h"
#include "migration/runner.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "scale/scale_load.h"
#include "scale/scale_steps.h"
#include "startup/database_paths.h"
#include "support/catalogue_walk.h"
#include "support/db_digest.h"
#include "support/file_sync.h"
#include "support/isql.h"
#include "support/measure.h"
#include "support/surroundings.h"
#include "support/work_folder.h"

namespace kv::bench {
namespace {

constexpr double kTarget = 2.0;

/* The engine's clock in milliseconds, printed after "STAMP". */
constexpr const char* kStamp =
    "SELECT 'STAMP', DATEDIFF(MILLISECOND FROM TIMESTAMP '2000-01-01 00:00:00' TO CAST('NOW' AS TIMESTAMP)) "
    "FROM RDB$DATABASE^\n";

double ParseScale(const std::string& text) {
  double scale = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), scale);
  if (ec != std::errc() || end != text.data() + text.size() || !(scale > 0 && scale <= 10))
    throw std::runtime_error("--scale takes a number above 0 and at most 10, not \"" + text + "\"");
  return scale;
}

int ParseRepeat(const std::string& text) {
  int n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 1 || n > 9)
    throw std::runtime_error("--repeat takes a whole number from 1 to 9, not \"" + text + "\"");
  return n;
}

Nanos Median(std::vector<Nanos> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

/* The library's share of our time and its two largest kinds of call. */
std::string LargestCalls(const fb::ClientStats& calls, Nanos ours) {
  std::vector<std::pair<Nanos, fb::ClientCall>> kinds;
  for (std::size_t k = 0; k < fb::kClientCallKinds; ++k)
    kinds.emplace_back(calls[static_cast<fb::ClientCall>(k)].time, static_cast<fb::ClientCall>(k));
  std::sort(kinds.rbegin(), kinds.rend());
  std::string out = Percent(calls.Total().time, ours);
  for (size_t i = 0; i < 2 && kinds[i].first.count() > 0; ++i)
    out.append(i == 0 ? ": " : ", ")
        .append(fb::ClientCallName(kinds[i].second))
        .append(" ")
        .append(Percent(kinds[i].first, ours));
  return out;
}

/* The time between the two stamps of an isql-fb run's output. */
Nanos StampedTime(const std::string& output) {
  std::vector<double> stamps;
  for (size_t at = output.find("STAMP"); at != std::string::npos; at = output.find("STAMP", at + 5)) {
    size_t from = output.find_first_of("0123456789", at);
    double ms = 0;
    std::from_chars(output.data() + from, output.data() + output.size(), ms);
    stamps.push_back(ms);
  }
  if (stamps.size() != 2) throw std::runtime_error("isql-fb output without its two time stamps:\n" + output);
  return std::chrono::duration_cast<Nanos>(std::chrono::duration<double, std::milli>(stamps[1] - stamps[0]));
}

void Load(const IsqlLogin& login, const std::string& database, const std::string& scriptPath,
          const std::string& script) {
  WriteTextFile(scriptPath, script);
  RunIsql(login, database, scriptPath);
}

int Run(const WorkFolder& folder) {
  const double scale = ParseScale(folder.Option("scale", "1"));
  const int repeat = ParseRepeat(folder.Option("repeat", "3"));
  const ScaleRows rows = RowsAtScale(scale);
  auto client = fb::Client::Load();

  std::cerr << "Preparing a demo installation in " << folder.Path() << " ...\n";
  const demo::DemoOptions options{folder.Path() + "ours", 0, 8, false, false};
  const demo::DemoInstallation demo = demo::CreateDemoInstallation(*client, options);
  const DatabasePaths& ours = demo.installation.databases;
  const IsqlLogin login{"kv5.8", InstallationPassword(8)};
  const std::vector<std::string> params = {demo.installation.connection.userLine,
                                           demo.installation.connection.passwordLine};

  std::cerr << "Loading " << rows.paid << " o_Paid rows and the rest ...\n";
  const auto loadStart = Steady::now();
  Load(login, ours.orders, folder.Path() + "load_orders.sql", OrdersLoad(rows));
  Load(login, ours.stockMan, folder.Path() + "load_stockman.sql", StockManLoad(rows));
  Load(login, ours.base, folder.Path() + "load_base.sql", BaseLoad(rows));
  Load(login, ours.price, folder.Path() + "load_price.sql", PriceLoad(rows));
  const Nanos loadTime = Steady::now() - loadStart;

  // As in production from here on, and flushed, so that no step pays for
  // writing out what the load left in the operating system's cache.
  for (const std::string* path : {&ours.orders, &ours.stockMan, &ours.base, &ours.price}) {
    fb::SetForcedWrites(*client, *path, "kv5.8", InstallationPassword(8), true);
    SyncFile(*path);
  }

  test::FixedClock clock;
  test::RecordingDialog dialog;
  FirebirdVersionState version;
  PackProgress progress(nullptr, clock);
  MigrationServices services{*client, demo.installation, dialog, RealFileSystem(), version, progress};
  // What the verified backup before a run adds on an installation of this size.
  BackupObserver quiet;
  const std::vector<std::string> backedUp = DatabasesToBackUp(demo.installation, RealFileSystem());
  std::uintmax_t backedUpBytes = 0;
  for (const std::string& db : backedUp) backedUpBytes += std::filesystem::file_size(db);
  const auto backupStart = Steady::now();
  MakeBackup(services, backedUp, {folder.Path() + "backup/", nullptr}, clock.Now(), quiet);
  const Nanos backupTime = Steady::now() - backupStart;
  const std::string runs = folder.Path() + "runs/";
  std::filesystem::create_directories(runs);

  TextTable table({"step", "rows", "ours ms", "isql-fb ms", "ours / isql-fb", "within 2x", "same result",
                   "our time in the library"});
  table.LeftAlignLast();
  bool allWithin = true, allSame = true;
  int n = 0;
  for (const ScaleStep& step : ScaleSteps(rows)) {
    std::cerr << "  " << step.name << " ...\n";
    const std::string& master = DatabasePath(ours, step.db);
    const std::string oursCopy = runs + "ours_" + FileNameOf(master);
    const std::string theirsCopy = runs + "isql_" + FileNameOf(master);
    const std::string script = runs + "step" + std::to_string(++n) + ".sql";
    WriteTextFile(script, std::string("SET AUTODDL OFF;\nSET TERM ^ ;\n") + kStamp + step.baseline + kStamp +
                              "SET TERM ; ^\n");
    std::vector<Nanos> oursTimes, theirTimes;
    fb::ClientStats calls;
    bool same = true;
    auto runOurs = [&] {
      TDM1 dm(services);
      if (!dm.OpenDataBase(oursCopy)) throw std::runtime_error("cannot open " + oursCopy);
      const fb::ClientStats before = client->stats();
      const auto start = Steady::now();
      step.ours(dm);
      oursTimes.push_back(Steady::now() - start);
      calls = calls + (client->stats() - before);
    };
    auto runTheirs = [&] { theirTimes.push_back(StampedTime(RunIsql(login, theirsCopy, script).output)); };
    for (int r = 0; r < repeat; ++r) {
      CopyDatabaseFile(master, oursCopy);
      CopyDatabaseFile(master, theirsCopy);
      // Turn about, so that neither side always runs second.
      if (r % 2 == 0) {
        runOurs();
        runTheirs();
      } else {
        runTheirs();
        runOurs();
      }
      same = same && QueryText(*client, oursCopy, params, step.check) ==
                         QueryText(*client, theirsCopy, params, step.check);
    }
    std::filesystem::remove(oursCopy);
    std::filesystem::remove(theirsCopy);

    const Nanos oursTime = Median(oursTimes), theirs = Median(theirTimes);
    const bool within = static_cast<double>(oursTime.count()) <= kTarget * static_cast<double>(theirs.count());
    allWithin = allWithin && within;
    allSame = allSame && same;
    Nanos oursTotal{0};
    for (Nanos t : oursTimes) oursTotal += t;
    table.Add({step.name, std::to_string(step.rows), Ms(oursTime), Ms(theirs), Ratio(oursTime, theirs),
               within ? "yes" : "NO", same ? "yes" : "NO", LargestCalls(calls, oursTotal)});
  }

  // The whole catalogue on the installation itself, which the steps above left alone.
  std::cerr << "  the whole catalogue ...\n";
  PlainGauge gauge(packs::kGaugeBudget);
  PackProgress walkProgress(&gauge, clock);
  MigrationServices walkServices{*client, demo.installation, dialog, RealFileSystem(), version, walkProgress};
  const WalkResult walk = WalkCatalogue(walkServices, gauge, clock);
  if (!walk.failure.empty()) throw std::runtime_error("the catalogue stopped: " + walk.failure);

  std::cout << "\nFigure 2. Data steps and index creation on a large installation (scale " << scale
            << ", forced writes on)\n\n"
            << "Ours: the step's own function on an open database. isql-fb: the same statement, or its set-based\n"
            << "equivalent (MERGE for the row-by-row pOtkos update), on an identical copy; both timed from after\n"
            << "the attachment to after the last commit. Each figure is the median of " << repeat
            << " runs, each on fresh copies\nof the loaded database.\n\n"
            << table.Render() << "\n"
            << "Loading the installation with isql-fb took " << Ms(loadTime, 0) << " ms (not part of the figure).\n"
            << "The verified backup of its " << backedUp.size() << " databases (" << backedUpBytes / (1024 * 1024)
            << " MB) that a run makes before its first pack took " << Ms(backupTime, 0) << " ms;\n"
            << "the whole catalogue walked on it afterwards, as the install run walks it, took " << Ms(walk.wall, 0)
            << " ms (backup / walk " << Ratio(backupTime, walk.wall) << ").\n"
            << "Target, each step within " << kTarget << "x of its baseline: " << (allWithin ? "met" : "NOT met")
            << "\n"
            << "Messages the steps showed: " << dialog.ShownCount() << "\n"
            << "Results: " << (allSame ? "the same after both in every step" : "DIFFERENT in some step") << "\n";
  return allSame && dialog.ShownCount() == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) { return kv::bench::BenchMain(argc, argv, "scale_bench", kv::bench::Run); }
