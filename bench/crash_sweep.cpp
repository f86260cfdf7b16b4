/*
** crash_sweep: is a run resumable after a crash at any commit? For every
** changing commit of a whole run of a level-0 demo installation (or every
** K-th), a fresh demo is upgraded in a child process that kills itself right
** after that commit; then the program is run on it to the end, as an operator
** would run it again, and the installation is compared with one upgraded
** without interruption: every database (schema, generators with values,
** triggers, indexes, every row), the registry values and the program files.
**
**   crash_sweep [--every K] [--jobs J] [--dir FOLDER] [--keep]
**
** Prints the commits tried and each outcome that differed; exits 1 when one did.
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
#include "support/kill_after_commit.h"
#include "support/surroundings.h"
#include "support/work_folder.h"

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
  test::KillAfterCommit killer(n);
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
std::string InstallationDigest(const fb::Client& client, const std::string& registryPath) {
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

int Sweep(const WorkFolder& folder, const std::string& self) {
  const int every = Number(folder.Option("every", "1"), "--every");
  const int jobs = Number(folder.Option("jobs", std::to_string(std::max(1u, std::thread::hardware_concurrency()))),
                          "--jobs");
  auto client = fb::Client::Load();
  // Demos are made by their own program: a process started while this one had
  // a database open would inherit the open file and, with it, the engine's lock.
  std::mutex engine;  // the comparisons in this process, one at a time
  auto makeDemo = [&](const std::string& name) {
    const std::string dir = folder.Path() + name;
    if (RunProgram("'" KV_DEMO_EXE "' '" + dir + "' --level 0 --no-forced-writes >/dev/null") != 0)
      throw std::runtime_error("the demo " + dir + " could not be made");
    return dir + "/registry.reg";
  };
  auto rerun = [&](const std::string& registryPath, const std::string& log) {
    return RunProgram("KV_REGISTRY='" + registryPath + "' '" KV_UPGRADE_EXE "' --unattended --no-backup >'" + log +
                      "' 2>&1");
  };

  std::cerr << "The uninterrupted run ...\n";
  const std::string reference = makeDemo("reference");
  if (rerun(reference, folder.Path() + "reference.log") != 0) throw std::runtime_error("the uninterrupted run failed");
  const std::string expected = InstallationDigest(*client, reference);

  std::cerr << "Counting the commits of a run ...\n";
  const std::string counted = makeDemo("counted");
  const std::string countFile = folder.Path() + "count.txt";
  if (RunProgram("'" + self + "' --child '" + counted + "' 0 >'" + countFile + "'") != 0)
    throw std::runtime_error("the counting run failed");
  const int commits = std::stoi(RealFileSystem().ReadFile(countFile));

  std::vector<int> points;
  for (int n = 1; n <= commits; n += every) points.push_back(n);
  std::cerr << commits << " changing commits; trying " << points.size() << " of them with " << jobs << " jobs ...\n";
  std::atomic<std::size_t> next{0};
  std::mutex report;
  std::vector<std::pair<int, std::string>> differing;
  int done = 0;
  auto worker = [&] {
    for (std::size_t i; (i = next++) < points.size();) {
      const int n = points[i];
      const std::string name = "kill" + std::to_string(n);
      std::string stage = "making the demo";
      std::string outcome;
      try {
      const std::string d = makeDemo(name);
      const int killed = RunProgram("'" + self + "' --child '" + d + "' " +
                                    std::to_string(n) + " >/dev/null 2>&1");
      stage = "running it again";
      const int rerunStatus = rerun(d, folder.Path() + name + ".log");
      if (killed != 128 + SIGKILL) outcome = "the run was not killed (status " + std::to_string(killed) + ")";
      if (rerunStatus != 0) outcome = "the rerun ended with status " + std::to_string(rerunStatus);
      if (outcome.empty()) {
        stage = "comparing";
        std::lock_guard<std::mutex> hold(engine);
        const std::string got = InstallationDigest(*client, d);
        if (got != expected) outcome = FirstDifferentLine(got, expected);
      }
      } catch (const std::exception& e) {
        outcome = "error while " + stage + ": " + e.what();
      }
      std::lock_guard<std::mutex> hold(report);
      ++done;
      if (!outcome.empty()) {
        differing.emplace_back(n, outcome);
        std::cerr << "\nkilled after commit " << n << ": " << outcome << "\n";
      }
      std::cerr << "\r" << done << " of " << points.size() << " tried, " << differing.size() << " differed" << std::flush;
    }
  };
  std::vector<std::thread> threads;
  for (int j = 0; j < jobs; ++j) threads.emplace_back(worker);
  for (std::thread& t : threads) t.join();
  std::cerr << "\n";

  std::sort(differing.begin(), differing.end());
  std::cout << "Crash sweep of a level-0 demo run: " << commits << " changing commits, " << points.size()
            << " tried (every " << every << "), " << differing.size() << " outcomes differed from the uninterrupted run\n";
  for (const auto& [n, outcome] : differing) std::cout << "  killed after commit " << n << ": " << outcome << "\n";
  return differing.empty() ? 0 : 1;
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--child") return kv::bench::Child(argv[2], std::stoi(argv[3]));
    kv::bench::WorkFolder folder(argc, argv, "crash_sweep");
    return kv::bench::Sweep(folder, argv[0]);
  } catch (const std::exception& e) {
    std::cerr << "crash_sweep: " << e.what() << "\n";
    return 1;
  }
}
