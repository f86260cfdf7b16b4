// The start page's list of database builds, read from real databases.
#include <gtest/gtest.h>

#include "platform/posix/reg_file_registry.h"
#include "support/fb_test_db.h"
#include "support/recording_window.h"
#include "wizard/wizard_form.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;

class Carried final : public OwnExecutable {
 public:
  FileVersion ReadOwnFileVersion(const std::string&) override { return {7, 0, 12, 0}; }
  std::unique_ptr<ResourceStream> OpenResource(const std::string&, const std::string&) override { return nullptr; }
};

TEST(WizardDatabases, StartPageListsTheBuildsRecordedInRealDatabases) {
  test::MigrationHarness h;
  DatabasePaths& p = h.installation.databases;
  const std::string data = h.installation.folders.data;
  p.base = data + "Base/Base.fdb";
  p.config = data + "Base/Config.fdb";  // absent
  p.system = data + "Base/System.fdb";  // not a database
  p.director = data + "Director/Director.fdb";
  p.price = data + "Director/Price.fdb";  // no version table
  RealFileSystem().CreateDirs(data + "Base/");
  RealFileSystem().CreateDirs(data + "Director/");
  const std::string table = "CREATE TABLE kv_Setting (Version INT, ServicePack INT, Build INT)";
  test::CreateTestDatabase(p.base, {table, "INSERT INTO kv_Setting VALUES (700, 9, 4)"});
  test::CreateTestDatabase(p.director, {table, "INSERT INTO kv_Setting VALUES (700, 12, 0)"});
  test::CreateTestDatabase(p.price, {"CREATE TABLE other (a INT)"});
  test::WriteFile(p.system, "not a database");

  test::RecordingWindow window;
  RegisterLog log({kApplicationTitle, "/x", h.dir / "Info/", h.dir / "Info/Register 2026.log"}, RealFileSystem(),
                  h.clock, h.dialog);
  RegFileRegistry registry(h.dir / "registry.reg");
  Carried executable;
  WizardForm form(WizardServices{window, log, registry, executable, "/x", h.installation,
                                 FreshVersionRecordReader(h.services()), [](const FileVersion&) {}});
  form.FormCreate();
  EXPECT_EQ(window.memo1, (Strings{"Текущая сборка: \t7.0.0", "Новая сборка: \t7.12.0", "",
                                   "Base.fdb:       сборка (7.09.004)", "Director.fdb:   сборка (7.12.000)", "",
                                   "Нажмите кн. Далее для продолжения установки"}));
  EXPECT_TRUE(h.dialog.messages.empty());  // not numbered: read failures are silent
}

}  // namespace
}  // namespace kv
