/*
** Building the demo installation.
*/
#include "demo_installation.h"

#include <stdexcept>

#include "level0_schema.h"
#include "migration/fb/attachment.h"
#include "migration/fb/database_admin.h"
#include "migration/fb/statement.h"
#include "migration/fb/transaction.h"
#include "migration/packs/run_order.h"
#include "migration/runner.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "startup/register_log.h"

namespace kv::demo {
namespace {

/* Collects what the packs would show the operator; anything shown means a
** step failed, which the demo reports. */
class CollectingDialog final : public OperatorDialog {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    shown.push_back(text);
    return true;
  }
  std::vector<std::string> shown;
};

void Write(FileSystem& fs, const std::string& path, const std::string& bytes) {
  fs.CreateDirs(FolderOf(path));
  auto out = fs.OpenForWrite(path);
  out->Write(bytes);
  out->Close();
}

std::string User(const DemoOptions& o) { return "kv5." + std::to_string(o.installation); }

void RunStatements(const fb::Client& client, const std::string& path, const DemoOptions& o,
                   std::span<const std::string_view> statements) {
  fb::Attachment att(client, path, {"user_name=" + User(o), "password=" + InstallationPassword(o.installation)},
                     "UTF8");
  for (std::string_view sql : statements) {
    fb::Transaction tr(att, fb::Isolation::WriteConsistency);
    try {
      fb::Statement st(tr, std::string(sql));
      st.Execute(tr);
      tr.Commit();
    } catch (const std::exception& e) {
      throw std::runtime_error(path + ": " + e.what() + "\nin: " + std::string(sql));
    }
  }
}

void CreateDatabase(const fb::Client& client, const DemoOptions& o, const std::string& path, DemoDatabase db) {
  const std::string password = InstallationPassword(o.installation);
  RealFileSystem().CreateDirs(FolderOf(path));
  fb::CreateDatabase(client, {path, User(o), password});
  if (!o.forcedWrites) fb::SetForcedWrites(client, path, User(o), password, false);
  RunStatements(client, path, o, Level0Statements(db));
}

}  // namespace

DemoInstallation WriteDemoFiles(const DemoOptions& o) {
  FileSystem& fs = RealFileSystem();
  const std::string root = WithTrailingSep(o.folder);
  DemoInstallation demo;
  demo.registryPath = root + "registry.reg";
  if (fs.FileExists(demo.registryPath))
    throw std::runtime_error("\"" + root + "\" holds an installation already; choose an empty folder");

  Installation& inst = demo.installation;
  inst.params = {o.installation, o.numbered};
  inst.folders = DeriveFolders(root + "prog", root + "base", SystemClock().Now().year);
  for (const std::string* dir : {&inst.folders.program, &inst.folders.data, &inst.folders.info})
    if (!fs.CreateDirs(*dir)) throw std::runtime_error("cannot create \"" + *dir + "\"");

  CollectingDialog dialog;
  RegisterLog log({kApplicationTitle, "kvdemo", inst.folders.info, inst.folders.registerLog}, fs, SystemClock(),
                  dialog);
  auto locations = SetDatabasePaths(inst.folders, inst.params, log);
  if (!locations) throw std::runtime_error("installation number must be positive");
  inst.databases = locations->paths;
  inst.connection = locations->connection;

  // Registry: the installation key as the installer records it.
  auto quoted = [](const std::string& text) {
    std::string out;
    for (char c : text) out += (c == '\\' || c == '"') ? std::string{'\\', c} : std::string{c};
    return "\"" + out + "\"";
  };
  Write(fs, demo.registryPath,
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmor\\Квенира\\7.00]\n"
        "\"DirProgram\"=" + quoted(root + "prog") + "\n"
        "\"DirBase\"=" + quoted(root + "base") + "\n"
        "\"typeInstall\"=\"d\"\n");

  // The ini file and Firebird's aliases file are Windows-1251 files with CR LF.
  const std::string firebird = root + "firebird" + kPathSep;
  const std::string serverOrders = root + "server" + kPathSep + "Orders.fdb";
  Write(fs, inst.connection.iniPath,
        Utf8ToAnsi("[Main]\r\nCompany=Оконный цех\r\n\r\n[Server]\r\nDirectoryFirebird=" + firebird + "\r\n"));
  Write(fs, firebird + "aliases.conf",
        Utf8ToAnsi("# Aliases of the shop's Firebird server\r\n#\r\nemployee = " + firebird +
                   "examples/employee.fdb\r\n" + inst.connection.ordersAlias + " = " + serverOrders + "\r\n"));
  inst.databases.serverOrders = FindOrdersAlias(fs, inst.connection.iniPath, inst.connection.ordersAlias);

  // The program files of the installed build, to be replaced.
  for (const char* name : {"kv700_d.exe", "kv700_h.exe", "tonic700.exe", "kv5.bpl"})
    Write(fs, inst.folders.program + name, std::string("old ") + name + " of build 7.0.11\n");

  demo.databases = KnownPaths(inst.databases, kInstallationDatabases);
  return demo;
}

void CreateDemoDatabases(const fb::Client& client, const DemoOptions& o, const DemoInstallation& demo) {
  const DatabasePaths& p = demo.installation.databases;
  const std::pair<const std::string*, DemoDatabase> databases[] = {
      {&p.base, DemoDatabase::Base},         {&p.config, DemoDatabase::Config},
      {&p.optima, DemoDatabase::Optima},     {&p.system, DemoDatabase::System},
      {&p.orders, DemoDatabase::Orders},     {&p.serverOrders, DemoDatabase::ServerOrders},
      {&p.director, DemoDatabase::Director}, {&p.price, DemoDatabase::Price},
      {&p.stockMan, DemoDatabase::StockMan},
  };
  for (auto [path, db] : databases) CreateDatabase(client, o, *path, db);
}

void CreateTemporaryOrders(const fb::Client& client, const DemoOptions& o, const DemoInstallation& demo) {
  const DatabasePaths& p = demo.installation.databases;
  for (DatabaseMember tmp : kTemporaryOrders)
    if (!RealFileSystem().FileExists(p.*tmp)) CreateDatabase(client, o, p.*tmp, DemoDatabase::OrdersTemp);
}

void RaiseDemoLevel(const fb::Client& client, const DemoOptions& o, const DemoInstallation& demo) {
  if (o.level <= 0) return;
  CollectingDialog dialog;
  FirebirdVersionState version;
  PackProgress progress(nullptr, SystemClock());
  MigrationServices services{client, demo.installation, dialog, RealFileSystem(), version, progress};

  // The catalogue in the wizard's order, up to the last main pack that does
  // not go beyond the level asked for.
  for (const packs::RunStep& step : packs::RunOrder()) {
    const std::int32_t level = MinimumLevelFresh(services);
    if (level >= o.level) break;
    if (step.gate != level) continue;
    const packs::Pack& last = *step.packs.back().pack;
    if (last.write == packs::LevelWrite::ServicePack && last.writeValue > o.level) break;
    for (const packs::RunPack& run : step.packs)
      if (!RunPackFresh(services, *run.pack))
        throw std::runtime_error(std::string(run.pack->name) + " failed on the demo installation" +
                                 (dialog.shown.empty() ? "" : ": " + dialog.shown.back()));
  }
  // No pack writes level 7: an installation recorded there is made directly.
  if (MinimumLevelFresh(services) >= o.level) return;
  const std::string sql = "UPDATE kv_Setting SET ServicePack = " + std::to_string(o.level) +
                          ", Build = 0 WHERE ServicePack < " + std::to_string(o.level);
  const std::string_view update[] = {sql};
  const DatabasePaths& p = demo.installation.databases;
  for (DatabaseMember db : kPackDatabases) RunStatements(client, p.*db, o, update);
}

DemoInstallation CreateDemoInstallation(const fb::Client& client, const DemoOptions& options) {
  DemoInstallation demo = WriteDemoFiles(options);
  CreateDemoDatabases(client, options, demo);
  RaiseDemoLevel(client, options, demo);
  CreateTemporaryOrders(client, options, demo);
  return demo;
}

}  // namespace kv::demo
