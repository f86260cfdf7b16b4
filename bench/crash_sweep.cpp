/*
** crash_sweep: is a run resumable after a crash at any point? A fresh level-0
** demo installation is upgraded by a run that is killed with SIGKILL at one
** point; then the program is run on it to the end, as an operator would run it
** again, and once more; the installation is compared with one upgraded without
** interruption: every database (schema, generators with values, triggers,
** indexes, every row), the registry values and the program files. The run
** after the rerun must change nothing.
**
**   crash_sweep [--every K] [--jobs J] [--dir FOLDER] [--keep]
**       kills the walk right after every changing commit (or every K-th)
**   crash_sweep --writes N [--jobs J] [--dir FOLDER] [--keep]
**       kills the whole program inside the engine's own page writes: before
**       the k-th write to a database file, at N points spread evenly over a
**       run's writes (most of them fall inside a commit); needs the preload
**       library kv_kill_at_write
**
** Prints the points tried and each outcome that differed; exits 1 when one did.
** Not part of the tests: a full sweep runs the program hundreds of times.
*/
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "migration/catalogue_walk.h"
#include "platform/posix/reg_file_registry.h"
#include "startup/database_paths.h"
#include "startup/install_registry.h"
#include "startup/register_log.h"
#include "support/db_digest.h"
#include "support/commit_killer.h"
#include "support/surroundings.h"
#include "support/work_folder.h"
#include "platform/text_util.h"

namespace kv::bench {
namespace {

int Number(const std::string& text, const char* option) {
  int n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 1)
    throw std::runtime_error(std::string(option) + " takes a positive whole number, not \"" + text + "\"");
  return n;
}

/* The installation of a demo, found from its registry file as the program finds it. */
Installation LoadInstallation(const std::string& registryPath) {
  test::FixedClock clock;
  test::RecordingDialog dialog;
  RegFileRegistry registry(registryPath);
  Installation installation;
  installation.folders = ReadInstallRegistry(registry, "d", clock.Now().year).value();
  RegisterLog log({kApplicationTitle, "crash_sweep", installation.folders.info, installation.folders.registerLog},
                  RealFileSystem(), clock, dialog);
  DatabaseLocations loc = SetDatabasePaths(installation.folders, installation.params, log).value();
  installation.databases = loc.paths;
  installation.connection = loc.connection;
  installation.databases.serverOrders =
      FindOrdersAlias(RealFileSystem(), installation.connection.iniPath, installation.connection.ordersAlias);
  return installation;
}

/* The walk of the install run on the installation of registryPath, with a
** kill after commit n (0: none). Prints the changing commits it saw when it
** was not killed. */
int Child(const std::string& registryPath, int n) {
  auto client = fb::Client::Load();
  test::FixedClock clock;
  test::RecordingDialog dialog;
  const Installation installation = LoadInstallation(registryPath);
  FirebirdVersionState version;
  PackProgress progress(nullptr, clock);
  MigrationServices services{*client, installation, dialog, RealFileSystem(), version, progress};
  test::CommitKiller killer(n);
  client->SetObserver(&killer);
  class Quiet final : public RunObserver {
   public:
    void StepSkipped(const packs::RunStep&) override {}
    void RemoveTemporaryOrders(const packs::RunStep&) override {}
    void PackStarting(const packs::RunStep&, const packs::RunPack&) override {}
  } quiet;
  const kv::WalkResult walk = WalkRunOrder(services, quiet);
  std::cout << killer.Seen() << "\n";
  return walk.failed ? 1 : 0;
}

/* Everything a run leaves behind that a rerun must make the same. */
std::string InstallationDigestHere(const fb::Client& client, const std::string& registryPath) {
  const Installation inst = LoadInstallation(registryPath);
  const std::string root = std::filesystem::path(registryPath).parent_path().string();
  const std::vector<std::string> params = {inst.connection.userLine, inst.connection.passwordLine};
  const DatabasePaths& p = inst.databases;
  std::string out;
  for (const std::string* db : {&p.base, &p.config, &p.orders, &p.serverOrders, &p.director, &p.price, &p.stockMan,
                                &p.optima, &p.system, &p.ordersTmp1})
    // The temporary Orders files are the run's to delete.
    out += "== " + db->substr(root.size()) + "\n" +
           (std::filesystem::exists(*db) ? DatabaseDigest(client, *db, params) : std::string("absent\n"));
  RegFileRegistry registry(registryPath);
  out += "registry ServicePack " + std::to_string(ReadUserSetting(registry, "", "ServicePack")) + " Build " +
         std::to_string(ReadUserSetting(registry, "", "Build")) + "\n";
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(inst.folders.program)) {
    // The ini file names the demo's own folder: compared without it.
    std::string bytes = RealFileSystem().ReadFile(e.path().string());
    for (std::size_t at; (at = bytes.find(root)) != std::string::npos;) bytes.replace(at, root.size(), "<demo>");
    files.push_back(e.path().filename().string() + " " + std::to_string(std::hash<std::string>()(bytes)));
  }
  std::sort(files.begin(), files.end());
  for (const std::string& f : files) out += "file " + f + "\n";
  return out;
}

int RunProgram(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + (WIFSIGNALED(raw) ? WTERMSIG(raw) : 0);
}

std::string FirstDifferentLine(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  const std::size_t start = a.rfind('\n', i == 0 ? 0 : i - 1);
  const std::size_t from = start == std::string::npos ? 0 : start + 1;
  return a.substr(from, a.find('\n', i) - from) + "  <->  " + b.substr(from, b.find('\n', i) - from);
}

/* The largest number in a file of one number per line (the count each
** process of a run appended); 0 when there is none. */
long LargestNumberIn(const std::string& path) {
  long largest = 0;
  for (std::string_view line : SplitLines(RealFileSystem().ReadFile(path)))
    if (!line.empty()) largest = std::max(largest, std::stol(std::string(line)));
  return largest;
}

/* The digest, taken by a process of its own (crash_sweep --digest): a run
** started while this process had a database open would inherit the open file
** and, with it, the engine's lock on it, so this process opens none. */
std::string InstallationDigest(const std::string& self, const std::string& registryPath, const std::string& out) {
  if (RunProgram("'" + self + "' --digest '" + registryPath + "' >'" + out + "' 2>&1") != 0)
    throw std::runtime_error("the installation could not be read: " + RealFileSystem().ReadFile(out));
  return RealFileSystem().ReadFile(out);
}

int Sweep(const WorkFolder& folder, const std::string& self) {
  const int every = Number(folder.Option("every", "1"), "--every");
  const int writePoints = Number(folder.Option("writes", "1"), "--writes");
  const bool insideWrites = folder.Option("writes", "") != "";
  const int jobs = Number(folder.Option("jobs", std::to_string(std::max(1u, std::thread::hardware_concurrency()))),
                          "--jobs");
  auto makeDemo = [&](const std::string& name) {
    const std::string dir = folder.Path() + name;
    // A shop's databases write through (forced writes): so do those the program
    // is killed in while it writes them.
    if (RunProgram("'" KV_DEMO_EXE "' '" + dir + "' --level 0" + (insideWrites ? "" : " --no-forced-writes") +
                   " >/dev/null") != 0)
      throw std::runtime_error("the demo " + dir + " could not be made");
    return dir + "/registry.reg";
  };
  auto upgrade = [&](const std::string& registryPath, const std::string& log, const std::string& environment = "") {
    return RunProgram(environment + " KV_REGISTRY='" + registryPath + "' '" KV_UPGRADE_EXE
                      "' --unattended --no-backup >'" + log + "' 2>&1");
  };
  const std::string preload = "LD_PRELOAD='" KV_KILL_AT_WRITE_LIB "'";

  std::cerr << "The uninterrupted run ...\n";
  const std::string reference = makeDemo("reference");
  if (upgrade(reference, folder.Path() + "reference.log") != 0) throw std::runtime_error("the uninterrupted run failed");
  const std::string expected = InstallationDigest(self, reference, folder.Path() + "reference.digest");

  const std::string counted = makeDemo("counted");
  const std::string countFile = folder.Path() + "count.txt";
  std::vector<long> points;
  long total = 0;
  if (insideWrites) {
    std::cerr << "Counting the database writes of a run ...\n";
    if (upgrade(counted, folder.Path() + "counted.log", preload + " KV_WRITE_COUNT_FILE='" + countFile + "'") != 0)
      throw std::runtime_error("the counting run failed");
    total = LargestNumberIn(countFile);
    for (int i = 1; i <= writePoints; ++i) points.push_back(std::max(1L, total * i / (writePoints + 1)));
    std::cerr << total << " database writes; killing at " << points.size() << " of them with " << jobs
              << " jobs ...\n";
  } else {
    std::cerr << "Counting the commits of a run ...\n";
    if (RunProgram("'" + self + "' --child '" + counted + "' 0 >'" + countFile + "'") != 0)
      throw std::runtime_error("the counting run failed");
    total = std::stoi(RealFileSystem().ReadFile(countFile));
    for (long n = 1; n <= total; n += every) points.push_back(n);
    std::cerr << total << " changing commits; trying " << points.size() << " of them with " << jobs << " jobs ...\n";
  }
  const std::string where = insideWrites ? "killed before database write " : "killed after commit ";
  std::atomic<std::size_t> next{0};
  std::mutex report;
  std::vector<std::pair<long, std::string>> differing;
  int done = 0;
  auto worker = [&] {
    for (std::size_t i; (i = next++) < points.size();) {
      const long n = points[i];
      const std::string name = "kill" + std::to_string(n);
      std::string stage = "making the demo";
      std::string outcome;
      try {
        const std::string d = makeDemo(name);
        // The launcher that relaunches from the version folder writes no
        // database; the copy it starts is the one killed, and the launcher
        // passes on how it ended.
        const int killed =
            insideWrites
                ? upgrade(d, folder.Path() + name + "-killed.log", preload + " KV_KILL_AT_WRITE=" + std::to_string(n))
                : RunProgram("'" + self + "' --child '" + d + "' " + std::to_string(n) + " >/dev/null 2>&1");
        stage = "running it again";
        const int rerunStatus = upgrade(d, folder.Path() + name + ".log");
        if (!insideWrites && killed != 128 + SIGKILL)
          outcome = "the run was not killed (status " + std::to_string(killed) + ")";
        if (rerunStatus != 0) outcome = "the rerun ended with status " + std::to_string(rerunStatus);
        if (outcome.empty()) {
          stage = "comparing";
          const std::string got = InstallationDigest(self, d, folder.Path() + name + ".digest");
          if (got != expected) outcome = FirstDifferentLine(got, expected);
          // Two runs in a row after a failure converge: the next changes nothing.
          stage = "running it a third time";
          if (outcome.empty() && upgrade(d, folder.Path() + name + "-again.log") != 0)
            outcome = "the run after the rerun failed";
          if (outcome.empty()) {
            const std::string again = InstallationDigest(self, d, folder.Path() + name + "-again.digest");
            if (again != got) outcome = "the run after the rerun changed " + FirstDifferentLine(again, got);
          }
        }
      } catch (const std::exception& e) {
        outcome = "error while " + stage + ": " + e.what();
      }
      std::lock_guard<std::mutex> hold(report);
      ++done;
      if (!outcome.empty()) {
        differing.emplace_back(n, outcome);
        std::cerr << "\n" << where << n << ": " << outcome << "\n";
      }
      std::cerr << "\r" << done << " of " << points.size() << " tried, " << differing.size() << " differed" << std::flush;
    }
  };
  std::vector<std::thread> threads;
  for (int j = 0; j < jobs; ++j) threads.emplace_back(worker);
  for (std::thread& t : threads) t.join();
  std::cerr << "\n";

  std::sort(differing.begin(), differing.end());
  std::cout << "Crash sweep of a level-0 demo run: " << total
            << (insideWrites ? " database writes, " : " changing commits, ") << points.size() << " tried, "
            << differing.size() << " outcomes differed from the uninterrupted run\n";
  for (const auto& [n, outcome] : differing) std::cout << "  " << where << n << ": " << outcome << "\n";
  return differing.empty() ? 0 : 1;
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--child") return kv::bench::Child(argv[2], std::stoi(argv[3]));
    if (argc == 3 && std::string(argv[1]) == "--digest") {
      std::cout << kv::bench::InstallationDigestHere(*kv::fb::Client::Load(), argv[2]);
      return 0;
    }
    kv::bench::WorkFolder folder(argc, argv, "crash_sweep");
    return kv::bench::Sweep(folder, argv[0]);
  } catch (const std::exception& e) {
    std::cerr << "crash_sweep: " << e.what() << "\n";
    return 1;
  }
}
