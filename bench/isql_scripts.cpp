/*
** isql_scripts: the isql-fb scripts that make the same changes as the whole
** upgrade of a level-0 demo installation, for the outside check
** (bench/outside_check.sh) to run beside the program.
**
**   isql_scripts FOLDER
**
** Makes a level-0 demo installation in FOLDER/demo (forced writes on), walks
** the pack table on it as the install run does with the client layer
** capturing every committed change, and writes two scripts per database into
** FOLDER: one committing where the server needs it (as an administrator would
** write it) and one committing wherever the program committed. FOLDER/scripts.txt
** lists, one database a line in the order of the packs, the database's path
** inside a demo folder, the two scripts, and the user and password to run them
** as (tab-separated). The demo is removed.
*/
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "demo_installation.h"
#include "migration/packs/catalogue.h"
#include "migration/packs/run_order.h"
#include "migration/runner.h"
#include "startup/database_paths.h"
#include "support/catalogue_walk.h"
#include "support/change_capture.h"
#include "support/isql.h"
#include "support/surroundings.h"

namespace kv::bench {
namespace {

constexpr packs::Db kDatabases[] = {packs::Db::Base,    packs::Db::Config,       packs::Db::Orders,
                                    packs::Db::ServerOrders, packs::Db::Director, packs::Db::Price,
                                    packs::Db::StockMan, packs::Db::Optima,      packs::Db::System};

int Run(const std::string& folder) {
  auto client = fb::Client::Load();
  const std::string demoFolder = folder + "demo/";
  const demo::DemoInstallation demo = demo::CreateDemoInstallation(*client, {demoFolder, 0, 1, false, true});

  test::FixedClock clock;
  test::RecordingDialog dialog;
  FirebirdVersionState version;
  PlainGauge gauge(packs::kGaugeBudget);
  PackProgress progress(&gauge, clock);
  MigrationServices services{*client, demo.installation, dialog, RealFileSystem(), version, progress};
  ChangeCapture capture;
  client->SetObserver(&capture);
  const WalkResult walk = WalkCatalogue(services, gauge, clock);
  client->SetObserver(nullptr);
  if (!walk.failure.empty()) throw std::runtime_error("the catalogue stopped: " + walk.failure);
  if (dialog.ShownCount() != 0) throw std::runtime_error("the packs showed a message");

  std::ofstream list(folder + "scripts.txt", std::ios::trunc);
  int n = 0;
  for (packs::Db db : kDatabases) {
    const std::string& path = DatabasePath(demo.installation.databases, db);
    if (path.empty() || path.rfind(demoFolder, 0) != 0) throw std::runtime_error("a database outside the demo: " + path);
    const std::string script = "db" + std::to_string(++n) + ".sql", same = "db" + std::to_string(n) + ".same.sql";
    WriteTextFile(folder + script, WriteAdminScript(capture.Changes(path)).text);
    WriteTextFile(folder + same, WriteSameCommitsScript(capture.Changes(path), capture.CommitEnds(path)).text);
    list << path.substr(demoFolder.size()) << '\t' << script << '\t' << same << "\tkv5.1\t" << InstallationPassword(1)
         << '\n';
  }
  list.close();
  if (!list) throw std::runtime_error("cannot write " + folder + "scripts.txt");
  std::filesystem::remove_all(demoFolder);
  return 0;
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: isql_scripts FOLDER\n";
    return 64;
  }
  try {
    std::string folder = std::filesystem::absolute(argv[1]).string();
    if (folder.back() != '/') folder += '/';
    std::filesystem::create_directories(folder);
    return kv::bench::Run(folder);
  } catch (const std::exception& e) {
    std::cerr << "isql_scripts: " << e.what() << "\n";
    return 1;
  }
}
