// The wizard form: the version decision, its pages and the database builds it shows.
#include "wizard/wizard_form.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <stdexcept>

#include "platform/posix/reg_file_registry.h"
#include "startup/install_registry.h"
#include "support/fakes.h"
#include "support/recording_window.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;

/* The wizard's own executable: a fixed version record, or one that cannot be read. */
class FixedExecutable final : public OwnExecutable {
 public:
  FileVersion ReadOwnFileVersion(const std::string& path) override {
    paths.push_back(path);
    if (!version) throw ResourceError("version record damaged");
    return *version;
  }
  std::unique_ptr<ResourceStream> OpenResource(const std::string&, const std::string&) override { return nullptr; }

  std::optional<FileVersion> version = FileVersion{7, 0, 12, 0};
  Strings paths;
};

/* A wizard with an installation in a temporary folder; version records come
** from the records map (a missing path reads as no database). */
struct Wizard {
  test::TempDir dir;
  test::FixedClock clock;
  test::RecordingDialog logDialog;
  RegisterLog log{{kApplicationTitle, "/opt/kv/kvupgrade", dir / "Info/", dir / "Info/Register 2026.log"},
                  RealFileSystem(), clock, logDialog};
  RegFileRegistry registry{dir / "registry.reg"};
  FixedExecutable executable;
  test::RecordingWindow window;
  Installation installation;
  std::map<std::string, VersionRecord> records;
  Strings readPaths;
  std::vector<FileVersion> runs;
  std::vector<NewsEntry> news{NewsTable().begin(), NewsTable().end()};
  std::unique_ptr<WizardForm> form;

  Wizard() {
    installation.folders = DeriveFolders(dir / "prog", dir / "base", 2026);
    installation.databases = SetDatabasePaths(installation.folders, {}, log).value().paths;
  }

  void Installed(std::int32_t servicePack, std::int32_t build) {
    WriteUserSetting(registry, "", "ServicePack", servicePack);
    WriteUserSetting(registry, "", "Build", build);
  }

  WizardForm& Create() {
    form = std::make_unique<WizardForm>(WizardServices{
        window, log, registry, executable, "/opt/kv/kvupgrade", installation,
        [this](const std::string& path) -> std::optional<VersionRecord> {
          readPaths.push_back(path);
          auto it = records.find(path);
          if (it == records.end()) return std::nullopt;
          return it->second;
        },
        [this](const FileVersion& carried) { runs.push_back(carried); }, news});
    form->FormCreate();
    return *form;
  }

  std::vector<int> Codes() const {
    const std::string text = test::ReadFile(dir / "Info/Register 2026.log");
    static const std::regex code(" (\\d{3,}): \\*");
    std::vector<int> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), code); it != std::sregex_iterator(); ++it)
      out.push_back(std::stoi((*it)[1]));
    return out;
  }
};

TEST(VersionDecision, FirstRuleThatHoldsDecides) {
  const Strings blocked = {"Обновление не возможно", "У Вас установлено более новое обновление",
                           "Вы не можете вернуться к старой версии", "", "Файл содержит следующую сборку: "};
  auto blockedWith = [&](const std::string& v) {
    Strings l = blocked;
    l.back() += v;
    return l;
  };
  struct Case {
    FileVersion c;
    InstalledVersion i;
    VersionVerdict verdict;
    Strings lines;
  };
  const Case cases[] = {
      {{7, 0, 12, 0}, {0, 0}, VersionVerdict::NewBuild, {"Новая сборка: \t7.12.0"}},
      {{7, 0, 12, 0}, {11, 5}, VersionVerdict::NewBuild, {"Новая сборка: \t7.12.0"}},
      {{7, 0, 12, 4}, {12, 2}, VersionVerdict::NewBuild, {"Новая сборка: \t7.12.4"}},  // a lower Build alone
      {{7, 0, 12, 0}, {12, 0}, VersionVerdict::Reinstall,
       {"У Вас установлены последние обновления", "Вы можете установить их еще раз"}},
      {{7, 0, 12, 0}, {12, 3}, VersionVerdict::ReturnToOlder,
       {"Все новые обновления уже установлены", "Вы можете вернуться к более старой версии"}},
      {{7, 0, 12, 0}, {13, 0}, VersionVerdict::Blocked, blockedWith("7.12.0")},
      {{0, 0, 0, 0}, {0, 0}, VersionVerdict::Blocked, blockedWith("0.0.0")},  // no version information
      {{6, 9, 12, 0}, {0, 0}, VersionVerdict::Blocked, blockedWith("6.12.0")},
      {{8, 0, 12, 0}, {13, 0}, VersionVerdict::Other, {}},
      {{8, 0, 12, 5}, {13, 0}, VersionVerdict::NewBuild, {"Новая сборка: \t8.12.5"}},
  };
  for (const Case& c : cases) {
    const VersionDecision d = DecideVersion(c.c, c.i);
    EXPECT_EQ(d.verdict, c.verdict) << c.c.major << "." << c.c.servicePack << " over " << c.i.servicePack;
    EXPECT_EQ(d.lines, c.lines) << c.c.major << "." << c.c.servicePack << " over " << c.i.servicePack;
  }
}

TEST(WizardForm, StartPageOffersOrBlocksByTheRegistryValues) {
  Wizard offered;  // no values: 0 and 0
  offered.Create();
  EXPECT_EQ(offered.window.memo1, (Strings{"Текущая сборка: \t7.0.0", "Новая сборка: \t7.12.0", "", "",
                                           "Нажмите кн. Далее для продолжения установки"}));
  EXPECT_TRUE(offered.form->UpgradeOffered());
  EXPECT_TRUE(offered.window.button1Visible);
  EXPECT_EQ(offered.window.windowCaption, "Квенира. Обновление версии 7.12");
  EXPECT_EQ(offered.window.page, WizardPage::Start);
  EXPECT_EQ(offered.window.pauses, std::vector<int>{50});
  EXPECT_EQ(offered.readPaths.size(), 8u);  // the server Orders path is still empty: not read

  Wizard blocked;
  blocked.Installed(13, 0);
  blocked.Create();
  EXPECT_EQ(blocked.window.memo1.front(), "Текущая сборка: \t7.13.0");
  EXPECT_EQ(blocked.window.memo1.back(), "Файл содержит следующую сборку: 7.12.0");
  EXPECT_TRUE(blocked.readPaths.empty());
  EXPECT_FALSE(blocked.form->UpgradeOffered());
  EXPECT_FALSE(blocked.window.button1Visible);
  EXPECT_EQ(blocked.window.windowCaption, "");
}

TEST(WizardForm, UnreadableVersionsAtCreation) {
  {
    Wizard w;  // the own version record is damaged
    w.executable.version.reset();
    w.Installed(5, 0);
    w.Create();
    EXPECT_EQ(w.window.memo1,
              (Strings{"Обновление не возможно", "Произошел непредвиденный сбой", "Перезагрузите компьютер", "",
                       "Файл программы обновления повреждён. Нужна новая копия программы обновления."}));
    EXPECT_TRUE(w.form->OwnFileDamaged());
    EXPECT_FALSE(w.window.button1Visible);
    EXPECT_EQ(w.Codes(), (std::vector<int>{0, 900}));
    EXPECT_EQ(w.executable.paths, Strings{"/opt/kv/kvupgrade"});
  }
  {
    Wizard w;  // the registry cannot be read: the installed version reads as 0
    test::WriteFile(w.dir / "registry.reg", "this is not a registry file\n");
    w.Create();
    EXPECT_EQ(w.window.memo1[0], "Текущая сборка: \t7.0.0");
    EXPECT_EQ(w.window.memo1[1], "Новая сборка: \t7.12.0");
    EXPECT_TRUE(w.window.button1Visible);
    EXPECT_EQ(w.Codes(), std::vector<int>{0});
  }
}

TEST(WizardForm, NumberedInstallationShowsTheProgramAndTheDataFolderFirst) {
  Wizard w;
  w.installation.params = {3, true};
  w.Installed(12, 0);
  w.Create();
  ASSERT_GE(w.window.memo1.size(), 5u);
  EXPECT_EQ(Strings(w.window.memo1.begin(), w.window.memo1.begin() + 5),
            (Strings{"/opt/kv/kvupgrade (7.0.12.0)", "", "База: " + w.installation.folders.data, "",
                     "Текущая сборка: \t7.12.0"}));
}

TEST(WizardForm, DatabaseBuildsInTheirOrderWithPaddingAndFormatting) {
  Wizard w;
  const DatabasePaths& p = w.installation.databases;
  w.installation.databases.serverOrders = w.dir / "srv/ServerOrders.fdb";
  w.records[p.base] = {700, 9, 4};
  w.records[p.system] = {0, 1, 2};
  w.records[p.orders] = {710, 12, 1234};
  w.records[p.serverOrders] = {700, -1, 0};
  w.records[p.director] = {700, 5, 0};
  w.records[p.price] = {1000, 12, 0};
  w.Create();
  EXPECT_EQ(w.readPaths, (Strings{p.base, p.config, p.system, p.orders, p.serverOrders, p.ordersTmp1, p.stockMan,
                                  p.director, p.price}));
  EXPECT_EQ(w.window.memo1, (Strings{"Текущая сборка: \t7.0.0", "Новая сборка: \t7.12.0", "",
                                     "Base.fdb:       сборка (7.09.004)",
                                     "System.fdb:     сборка (.01.002)",
                                     "Orders.fdb:     сборка (71.12.1234)",
                                     "ServerOrders.fdb: сборка (7.-01.000)",
                                     "Director.fdb:   сборка (7.05.000)",
                                     "Price.fdb:      сборка (1.12.000)",
                                     "", "Нажмите кн. Далее для продолжения установки"}));

  // A name that fills the 16 characters with its colon and blank gets no blanks.
  EXPECT_EQ(DatabaseBuildLine("/d/Abcdefghij.fdb", {700, 12, 0}), "Abcdefghij.fdb: сборка (7.12.000)");
  EXPECT_EQ(DatabaseBuildLine("/d/Сервер.fdb", {700, 12, 0}), "Сервер.fdb:     сборка (7.12.000)");
}

TEST(WizardForm, ADatabaseReaderErrorLeavesTheDatabaseOut) {
  Wizard broken;
  broken.Installed(12, 0);
  broken.form = std::make_unique<WizardForm>(WizardServices{
      broken.window, broken.log, broken.registry, broken.executable, "/opt/kv/kvupgrade", broken.installation,
      [](const std::string&) -> std::optional<VersionRecord> { throw std::runtime_error("engine gone"); },
      [](const FileVersion&) {}});
  broken.form->FormCreate();
  EXPECT_EQ(broken.window.memo1,
            (Strings{"Текущая сборка: \t7.12.0", "У Вас установлены последние обновления",
                     "Вы можете установить их еще раз", "", "", "Нажмите кн. Далее для продолжения установки"}));
}

TEST(WizardForm, PagesGoForwardOnlyAndTheAgreementGatesInstall) {
  Wizard w;
  WizardForm& form = w.Create();
  form.Button1Click();
  EXPECT_EQ(w.window.page, WizardPage::Agreement);
  EXPECT_FALSE(w.window.button1Enabled);
  EXPECT_EQ(w.window.panelCaption, "   Лицензионное соглашение");

  form.Button1Click();  // not ticked: stays
  EXPECT_EQ(w.window.page, WizardPage::Agreement);
  for (bool tick : {true, false, true, false, true}) {
    w.window.checkBox1 = tick;
    form.CheckBox1Click();
    EXPECT_EQ(w.window.button1Enabled, tick);
  }

  form.Button1Click();
  EXPECT_EQ(w.window.page, WizardPage::Install);
  EXPECT_EQ(w.window.button1Caption, "Установить");
  EXPECT_EQ(w.window.panelCaption, "   Установка обновлений");
  EXPECT_EQ(w.window.label, "");
  EXPECT_EQ(w.window.memo3, (Strings{"Всё готово для установки обновлений",
                                     "Для установки обновлений нажмите кн. \"Установить\"",
                                     "Если Вы передумали - нажмите кн. \"Выход\"",
                                     "Какие изменения в программе узнаете, если нажмёте кн. \"Новости\"", ""}));
  EXPECT_TRUE(w.runs.empty());

  form.Button1Click();
  ASSERT_EQ(w.runs.size(), 1u);
  EXPECT_EQ(w.runs[0], (FileVersion{7, 0, 12, 0}));
  EXPECT_EQ(w.window.page, WizardPage::Install);

  form.Button2Click();
  EXPECT_TRUE(w.window.closed);
}

TEST(WizardForm, InstallIsNotReenteredNorClosedWhileItRunsNorOfferedWhenBlocked) {
  // The run pumps messages, so a click can arrive while it is still running.
  Wizard w;
  int calls = 0;
  w.form = std::make_unique<WizardForm>(WizardServices{
      w.window, w.log, w.registry, w.executable, "/opt/kv/kvupgrade", w.installation,
      [](const std::string&) { return std::optional<VersionRecord>(); },
      [&](const FileVersion&) {
        ++calls;
        w.form->Button1Click();
        EXPECT_FALSE(w.window.button2Enabled);
        EXPECT_FALSE(w.form->CanClose());
        w.form->Button2Click();
        EXPECT_FALSE(w.window.closed);
        w.form->Button3Click();  // the news stay available
      }});
  w.form->FormCreate();
  w.window.checkBox1 = true;
  w.form->Button1Click();
  w.form->Button1Click();
  w.form->Button1Click();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(w.window.button2Enabled);
  EXPECT_TRUE(w.form->CanClose());
  EXPECT_EQ(w.window.EventsStartingWith("news").size(), 1u);
  w.form->Button1Click();  // once it has ended, another run is the operator's choice
  EXPECT_EQ(calls, 2);

  Wizard blocked;
  blocked.Installed(13, 0);
  WizardForm& b = blocked.Create();
  b.Button1Click();
  b.Button1Click();
  EXPECT_EQ(blocked.window.page, WizardPage::Start);
  EXPECT_TRUE(blocked.runs.empty());
}

TEST(WizardForm, NewsEmphasisIsAppliedOnceAndTheButtonBlinks) {
  {
    Wizard w;  // this release's build has no news
    WizardForm& form = w.Create();
    EXPECT_FALSE(form.NewsEmphasis());
    form.FormActivate();
    EXPECT_EQ(w.window.button3Caption, "Новости");
    EXPECT_FALSE(w.window.timer1Running);
  }
  Wizard w;
  w.news.push_back({12, 0, "01.06.2013", "Новое"});
  WizardForm& form = w.Create();
  EXPECT_TRUE(form.NewsEmphasis());
  EXPECT_FALSE(w.window.timer1Running);  // only activation applies it
  form.FormActivate();
  form.FormActivate();  // after the news window closed
  EXPECT_EQ(w.window.button3Caption, "Новости !!!");
  EXPECT_EQ(w.window.button3Width, 150);
  EXPECT_EQ(w.window.button3FontSize, 12);
  EXPECT_TRUE(w.window.timer1Running);

  form.Timer1Timer();
  EXPECT_TRUE(w.window.button3Bold);
  form.Timer1Timer();
  EXPECT_FALSE(w.window.button3Bold);
  EXPECT_TRUE(w.window.timer1Running);

  // A blocked start never emphasises, whatever the news.
  Wizard blocked;
  blocked.news.push_back({12, 0, "01.06.2013", ""});
  blocked.Installed(13, 0);
  EXPECT_FALSE(blocked.Create().NewsEmphasis());
}

TEST(WizardForm, TheTimerRunsAgainWhenTheToggleFails) {
  struct FailingBold final : test::RecordingWindow {
    void SetButton3Bold(bool) override { throw std::runtime_error("font gone"); }
  };
  Wizard w;
  FailingBold window;
  WizardForm form(WizardServices{window, w.log, w.registry, w.executable, "/x", w.installation,
                                 [](const std::string&) { return std::optional<VersionRecord>(); },
                                 [](const FileVersion&) {}});
  window.timer1Running = true;
  EXPECT_THROW(form.Timer1Timer(), std::runtime_error);
  EXPECT_TRUE(window.timer1Running);
}

TEST(WizardForm, CreationAndCloseAreLogged) {
  Wizard w;
  WizardForm& form = w.Create();
  form.FormClose();
  EXPECT_EQ(w.Codes(), (std::vector<int>{0, 9}));
  const std::string text = test::ReadFile(w.dir / "Info/Register 2026.log");
  EXPECT_NE(text.find("\r\n 000: *07.12.2026 09:15:02\r\n"), std::string::npos);
  EXPECT_NE(text.find(" upgrade 7.10 d 009: *"), std::string::npos);

  EXPECT_THROW(WizardForm(WizardServices{w.window, w.log, w.registry, w.executable, "/x", w.installation, {},
                                         [](const FileVersion&) {}}),
               std::invalid_argument);
}

}  // namespace
}  // namespace kv
