// The start sequence from the splash screen to the wizard's message loop.
#include "startup/start_sequence.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

#include "platform/posix/reg_file_registry.h"
#include "startup/run_location.h"
#include "startup/start_conditions.h"
#include "support/busy_file_system.h"
#include "support/desktop_doubles.h"
#include "support/forwarding_file_system.h"
#include "support/journal.h"
#include "support/recording_splash.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;
using test::Journal;

/* Refuses to delete a file without write permission, as Windows refuses to
** delete a read-only file; clearing the attributes lifts that. */
class ReadOnlyAwareFileSystem final : public test::ForwardingFileSystem {
 public:
  bool TryDeleteFile(const std::string& p) override {
    struct stat st{};
    if (::stat(p.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0) return false;
    return ForwardingFileSystem::TryDeleteFile(p);
  }
};

class RecordingMainWindow final : public MainWindow {
 public:
  RecordingMainWindow(Journal& journal, int status) : journal_(journal), status_(status) {}
  int RunMessageLoop() override {
    journal_.push_back("message loop");
    return status_;
  }

 private:
  Journal& journal_;
  int status_;
};

std::string InstallReg(const std::string& program, const std::string& base, const std::string& type = "d") {
  return "Windows Registry Editor Version 5.00\n\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmor\\Квенира\\7.00]\n"
         "\"DirProgram\"=\"" + program + "\"\n"
         "\"DirBase\"=\"" + base + "\"\n"
         "\"typeInstall\"=\"" + type + "\"\n";
}

/* An installation in a temporary folder, the program started from its version
** folder, and every collaborator of the start sequence recording. */
struct Start {
  test::TempDir dir;
  std::string base = dir / "base/", prog = dir / "prog/";
  std::string version = base + "Версия/700/";
  Journal journal;
  test::FixedScreen screen;
  test::RecordingSplash splash{journal};
  test::JournalDialog dialog{journal};
  test::JournalClock clock{journal};
  test::RecordingProcesses processes{journal, version + "kvupgrade"};
  ReadOnlyAwareFileSystem fs;
  RegFileRegistry registry{dir / "registry.reg"};
  std::optional<Installation> seen;  // what the wizard was created for
  StartServices services{screen, splash, dialog, fs, processes, clock, registry,
                         [this](RegisterLog& log) {
                           journal.push_back("environment check: " + log.Settings().logPath);
                           return true;
                         },
                         SetDatabasePaths,
                         [this](Installation& inst, RegisterLog&) {
                           journal.push_back("wizard created");
                           seen = inst;
                           return std::make_unique<RecordingMainWindow>(journal, 7);
                         }};

  Start() {
    RealFileSystem().CreateDirs(base);
    RealFileSystem().CreateDirs(prog);
    test::WriteFile(dir / "registry.reg", InstallReg(prog, base));
  }

  StartResult Run(const Strings& args = {}) {
    std::string error;
    std::optional<CommandLine> cl = ParseCommandLine(args, error);
    if (!cl) throw std::runtime_error(error);
    return RunMainSequence(*cl, services);
  }
};

TEST(StartSequence, EveryStepInOrderEndsInTheWizardsMessageLoop) {
  Start s;
  const StartResult r = s.Run();
  EXPECT_EQ(r.outcome, StartOutcome::Closed);
  EXPECT_EQ(r.exitStatus, 7);
  EXPECT_EQ(s.journal, (Strings{
                           "splash: create", "splash: status: проверка системы ...", "splash: show",
                           "splash: repaint", "splash: gauge max: 3",
                           "splash: gauge: 1", "sleep: 100",
                           "splash: status: ", "splash: pump", "splash: status: проверка программ", "sleep: 50",
                           "environment check: " + s.version + "Info/Register 2026.log",
                           "splash: gauge: 2", "sleep: 100",
                           "splash: status: ", "splash: pump", "splash: status: проверка установок", "sleep: 50",
                           "splash: gauge: 3", "sleep: 100",
                           "splash: status: ", "splash: pump", "splash: status: загрузка ...", "sleep: 50",
                           "wizard created", "splash: hide", "splash: destroy", "message loop"}));
  EXPECT_TRUE(RealFileSystem().DirExists(s.version + "Info/"));  // made on the way
  ASSERT_TRUE(s.seen);
  EXPECT_EQ(s.seen->folders.data, s.base + "Kven700/");
  EXPECT_EQ(s.seen->databases.base, s.base + "Kven700/Base/Base.fdb");
  EXPECT_EQ(s.seen->connection.userLine, "user_name=kv5.1");
  EXPECT_FALSE(s.seen->params.numbered);

  Start numbered;
  numbered.Run({"--installation", "3"});
  ASSERT_TRUE(numbered.seen);
  EXPECT_EQ(numbered.seen->connection.iniPath, numbered.prog + "kv_3.ini");
}

TEST(StartSequence, HoldingCtrlMakesEachSplashStepPause3Seconds) {
  Start s;
  s.splash.ctrlHeld = true;
  s.Run();
  EXPECT_EQ(s.clock.pauses, (std::vector<int>{3000, 50, 3000, 50, 3000, 50}));
}

TEST(StartSequence, ScreenBelow1024x600EndsTheProgramBeforeAnythingElse) {
  struct Case {
    std::optional<ScreenSize> size;
    bool starts;
  };
  const Case cases[] = {{ScreenSize{1024, 600}, true},
                        {ScreenSize{1023, 768}, false},
                        {ScreenSize{1280, 599}, false},
                        {std::nullopt, true}};  // no screen: nothing to check
  for (const Case& c : cases) {
    Start s;
    s.screen.size = c.size;
    test::WriteFile(s.dir / "registry.reg", "not a registry");  // never read when the screen is too small
    const StartResult r = s.Run();
    if (c.starts) {
      EXPECT_EQ(r.outcome, StartOutcome::Failed);  // it went on to the registry
    } else {
      EXPECT_EQ(r.outcome, StartOutcome::Refused);
      EXPECT_EQ(s.journal, Strings{"message: Параметры экрана должны быть не менее 1024*600"});
    }
  }
}

TEST(StartSequence, UnusableInstallationRecordOrMissingFoldersRefuseTheStart) {
  struct Case {
    const char* what;
    std::function<void(Start&)> spoil;
    std::string message;
  };
  const Case cases[] = {
      {"no key", [](Start& s) { test::WriteFile(s.dir / "registry.reg", "Windows Registry Editor Version 5.00\n"); },
       "Не установлена программа Duvar0"},
      {"other type", [](Start& s) { test::WriteFile(s.dir / "registry.reg", InstallReg(s.prog, s.base, "h")); },
       "Не установлена программа Duvar0"},
      {"no registry at all", [](Start& s) { std::filesystem::remove(s.dir / "registry.reg"); },
       "Не установлена программа Duvar0"},
      {"no base folder", [](Start& s) { std::filesystem::remove_all(s.base); },
       "Нарушена конфигурация. Установите Duvar0"},
      {"no program folder", [](Start& s) { std::filesystem::remove_all(s.prog); },
       "Нарушена конфигурация. Установите Duvar0"},
  };
  for (const Case& c : cases) {
    Start s;
    c.spoil(s);
    EXPECT_EQ(s.Run().outcome, StartOutcome::Refused) << c.what;
    EXPECT_EQ(s.journal, Strings{"message: " + c.message}) << c.what;
  }
}

TEST(StartSequence, AMalformedRegistryIsShownWithItsLine) {
  Start s;
  test::WriteFile(s.dir / "registry.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\X]\ngarbage\n");
  EXPECT_EQ(s.Run().outcome, StartOutcome::Failed);
  ASSERT_EQ(s.dialog.messages.size(), 1u);
  EXPECT_NE(s.dialog.messages[0].find("line 4"), std::string::npos) << s.dialog.messages[0];
  EXPECT_EQ(s.splash.created, 0);
}

TEST(StartConditions, TodaysYearNamesTheRegisterLog) {
  Start s;
  Journal j;
  test::JournalClock clock(j, {2031, 1, 2, 0, 0, 0});
  StartConditionServices cs{s.screen, s.dialog, clock, s.registry, s.fs};
  std::optional<StartConditions> c = CheckStartConditions("d", cs);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->year, 2031);
  EXPECT_EQ(c->folders.registerLog, s.version + "Info/Register 2031.log");
  EXPECT_EQ(c->format.shortDateFormat, "dd.MM.yyyy");
  EXPECT_EQ(c->format.longTimeFormat, "HH:mm:ss");
}

TEST(RunLocation, VersionFolderInAnyLetterCaseOrTheExactKven712Folder) {
  const InstallFolders f = DeriveFolders("/srv/prog", "/srv/Base", 2026);
  struct Case {
    std::string runFolder;
    bool accepted;
  };
  const Case cases[] = {
      {"/srv/Base/Версия/700/", true},
      {"/srv/Base/Версия/700/old/", true},
      {"/SRV/BASE/ВЕРСИЯ/700/", true},
      {"/mnt/copy/srv/base/версия/700/", true},  // occurs anywhere
      {"/srv/Base/Версия/", false},
      {"/srv/Base/_Kven712/", true},
      {"/srv/Base/_kven712/", false},  // exact letter case only
      {"/srv/Base/_Kven712/bin/", false},
      {"/srv/Base/", false},
      {"/home/op/Downloads/", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsAcceptedRunFolder(c.runFolder, f), c.accepted) << c.runFolder;
}

TEST(RunLocation, StartedElsewhereReplacesAReadOnlyOldCopyAndStartsIt) {
  Start s;
  s.processes.ownPath = s.dir / "Downloads/kvupgrade";
  test::WriteFile(s.processes.ownPath, "new wizard");
  ::chmod(s.processes.ownPath.c_str(), 0755);
  const std::string copy = s.version + "kvupgrade";
  test::WriteFile(copy, "old wizard");
  ::chmod(copy.c_str(), 0444);

  EXPECT_EQ(s.Run({"--installation", "3"}).outcome, StartOutcome::Relaunched);
  EXPECT_EQ(test::ReadFile(copy), "new wizard");
  struct stat st{};
  ASSERT_EQ(::stat(copy.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);
  // The copy gets the options that select the installation, and nothing is shown.
  EXPECT_EQ(s.journal, Strings{"start: " + copy + " --installation 3"});
  EXPECT_EQ(s.splash.created, 0);

  Start plain;
  plain.processes.ownPath = plain.dir / "kvupgrade";
  test::WriteFile(plain.processes.ownPath, "wizard");
  EXPECT_EQ(plain.Run().outcome, StartOutcome::Relaunched);
  EXPECT_EQ(plain.journal, Strings{"start: " + plain.version + "kvupgrade"});
}

TEST(RunLocation, ACopyThatCannotBeReplacedMadeOrStartedIsReported) {
  {
    Start s;  // the old copy is in use
    s.processes.ownPath = s.dir / "kvupgrade";
    test::WriteFile(s.processes.ownPath, "new");
    test::WriteFile(s.version + "kvupgrade", "old");
    test::BusyFileSystem busy({"kvupgrade"});
    StartServices services{s.screen, s.splash, s.dialog, busy, s.processes, s.clock, s.registry,
                           s.services.checkEnvironment, SetDatabasePaths, s.services.createWizard};
    std::string error;
    EXPECT_EQ(RunMainSequence(*ParseCommandLine({}, error), services).outcome, StartOutcome::NotRelaunched);
    EXPECT_EQ(s.journal, Strings{"message: Удалите файл: " + s.version + "kvupgrade"});
    EXPECT_EQ(test::ReadFile(s.version + "kvupgrade"), "old");
  }
  {
    Start s;  // the own file cannot be read
    s.processes.ownPath = s.dir / "gone/kvupgrade";
    EXPECT_EQ(s.Run().outcome, StartOutcome::NotRelaunched);
    EXPECT_EQ(s.journal, Strings{"message: Ошибка ..."});
  }
  {
    Start s;  // the copy is made but does not start
    s.processes.ownPath = s.dir / "kvupgrade";
    test::WriteFile(s.processes.ownPath, "new");
    s.processes.startSucceeds = false;
    EXPECT_EQ(s.Run().outcome, StartOutcome::NotRelaunched);
    EXPECT_EQ(s.journal, (Strings{"start: " + s.version + "kvupgrade", "message: Ошибка ..."}));
  }
}

TEST(StartSequence, AFailureUnderTheSplashKeepsItTwoSecondsThenEndsWithoutTheWizard) {
  // The environment check shows its own message; the splash stays up 2 s after it.
  {
    Start s;
    s.services.checkEnvironment = [&](RegisterLog&) {
      s.dialog.ShowMessage("Закройте программу: 'КВЕНИРА'");
      return false;
    };
    EXPECT_EQ(s.Run().outcome, StartOutcome::ChecksFailed);
    const Strings tail(s.journal.end() - 4, s.journal.end());
    EXPECT_EQ(tail, (Strings{"message: Закройте программу: 'КВЕНИРА'", "sleep: 2000", "splash: hide",
                             "splash: destroy"}));
    EXPECT_EQ(s.splash.status, "проверка программ");
    EXPECT_FALSE(s.seen);
  }
  // Database paths not set: no message here, the same ending.
  {
    Start s;
    s.services.setDatabasePaths = [](const InstallFolders&, const InstallationParams&, RegisterLog&) {
      return std::optional<DatabaseLocations>();
    };
    EXPECT_EQ(s.Run().outcome, StartOutcome::ChecksFailed);
    EXPECT_TRUE(s.dialog.messages.empty());
    const Strings tail(s.journal.end() - 5, s.journal.end());
    EXPECT_EQ(tail, (Strings{"splash: status: проверка установок", "sleep: 50", "sleep: 2000", "splash: hide",
                             "splash: destroy"}));
    EXPECT_FALSE(s.seen);
  }
  // Errors while checking or creating the wizard end the start the same way.
  for (int where : {0, 1}) {
    Start s;
    if (where == 0)
      s.services.checkEnvironment = [](RegisterLog&) -> bool { throw FileError("log not writable"); };
    else
      s.services.createWizard = [](Installation&, RegisterLog&) -> std::unique_ptr<MainWindow> {
        throw std::runtime_error("no window");
      };
    EXPECT_EQ(s.Run().outcome, StartOutcome::ChecksFailed);
    const Strings tail(s.journal.end() - 3, s.journal.end());
    EXPECT_EQ(tail, (Strings{"sleep: 2000", "splash: hide", "splash: destroy"}));
    EXPECT_EQ(test::Starting(s.journal, "message loop").size(), 0u);
  }
}

}  // namespace
}  // namespace kv
