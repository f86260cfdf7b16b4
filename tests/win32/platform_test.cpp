// The Windows side of the platform interfaces, under Wine: the registry (the
// 32-bit view of HKLM), files with Windows semantics, the window list with
// real windows of another process, the resources of the built program, and the
// register log's bytes in the ANSI code page.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "migration/backup.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/own_executable.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "platform/window_list.h"
#include "startup/install_registry.h"
#include "startup/register_log.h"
#include "support/inflated_package.h"
#include "support/journal.h"
#include "wine_test_support.h"

namespace kv {
namespace {

using test::WinPath;

TEST(Win32Registry, MachineKeysAreReadFromThe32BitViewAndUserValuesAreDwords) {
  // The main application's installer is a 32-bit program: its keys are in the 32-bit view.
  const std::wstring key = L"SOFTWARE\\KvUpgradeTest";
  ASSERT_TRUE(test::SetMachineString(key, L"DirProgram", L"C:\\Программа\\", KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"DirProgram", L"wrong view", KEY_WOW64_64KEY));

  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::unique_ptr<RegistryKey> machine = registry->OpenKey(RegistryHive::LocalMachine, "SOFTWARE\\KvUpgradeTest\\");
  ASSERT_TRUE(machine);
  EXPECT_EQ(machine->ReadString("dirprogram"), "C:\\Программа\\");
  EXPECT_FALSE(machine->ReadString("Missing"));
  EXPECT_FALSE(machine->ReadDword("DirProgram")) << "a string is not a DWORD";
  EXPECT_FALSE(registry->OpenKey(RegistryHive::LocalMachine, "SOFTWARE\\NoSuchKeyHere"));
  EXPECT_THROW(machine->WriteDword("X", 1), RegistryError);

  WriteUserSetting(*registry, "", "ServicePack", 12);
  EXPECT_EQ(ReadUserSetting(*registry, "", "ServicePack"), 12);
  EXPECT_EQ(ReadUserSetting(*registry, "", "NoSuchValue"), 0);
}

TEST(Win32Files, ARunningProgramCannotBeDeletedAndACopyNeverReplaces) {
  const std::string dir = test::FreshTempFolder("kvtest");
  FileSystem& fs = RealFileSystem();
  const std::string running = dir + "running.exe";
  ASSERT_TRUE(fs.TryCopyFile(WinPath(KV_HELPER_WINDOW_EXE), running));
  EXPECT_FALSE(fs.TryCopyFile(WinPath(KV_HELPER_WINDOW_EXE), running)) << "the target exists";
  ASSERT_TRUE(RealProcesses().Start(running, {"KvBusyClass", "busy"}));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_FALSE(fs.TryDeleteFile(running)) << "a running program is busy";
  if (auto w = OpenTopLevelWindows()->FindWindow("KvBusyClass", std::nullopt)) OpenTopLevelWindows()->SendCloseRequest(*w);
  bool deleted = false;
  for (int i = 0; i < 50 && !(deleted = fs.TryDeleteFile(running)); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(deleted) << "free once it ended";

  const std::string text = dir + "Журнал.log";
  fs.AppendToFile(text, "a");
  fs.AppendToFile(text, "b");
  EXPECT_EQ(fs.ReadFile(text), "ab");
  fs.RenameFile(text, dir + "renamed.log");
  EXPECT_FALSE(fs.FileExists(text));
  EXPECT_TRUE(fs.CreateDirs(dir + "a\\b\\c\\"));
  EXPECT_TRUE(fs.DirExists(dir + "a\\b\\c"));

  // Old backups are found and pruned in a folder with a Cyrillic name.
  const std::string backups = dir + "Резервные копии\\";
  for (const char* name : {"20261201-100000", "20261202-100000", "20261203-100000"})
    ASSERT_TRUE(fs.CreateDirs(backups + name + "\\"));
  fs.AppendToFile(backups + "20261201-100000\\01-Base.fbk", "x");
  EXPECT_EQ(PruneBackups(backups, 1, ""),
            (std::vector<std::string>{backups + "20261201-100000\\", backups + "20261202-100000\\"}));
  EXPECT_FALSE(fs.DirExists(backups + "20261201-100000"));
  EXPECT_TRUE(fs.DirExists(backups + "20261203-100000"));

  const std::unique_ptr<InstanceLock> first = TryLockInstance(dir + "kvupgrade.lock");
  ASSERT_TRUE(first);
  EXPECT_FALSE(TryLockInstance(dir + "kvupgrade.lock")) << "a file opened without sharing is the lock";
}

TEST(Win32Windows, TheListSeesAnotherProgramsWindowAndACloseRequestReachesIt) {
  for (const bool ignoreClose : {false, true}) {
    SCOPED_TRACE(ignoreClose ? "ignore-close" : "close");
    const test::HelperWindow helper(WinPath(KV_HELPER_WINDOW_EXE), "TFormTonic", "Тоник 7", ignoreClose);
    ASSERT_TRUE(helper.Shown());
    std::unique_ptr<WindowList> windows = OpenTopLevelWindows();
    const std::optional<WindowHandle> found = windows->FindWindow("TFormTonic", std::nullopt);
    ASSERT_TRUE(found);
    bool listed = false;
    for (const TopLevelWindow& w : windows->TopLevelWindows())
      if (w.handle == *found) listed = w.title == "Тоник 7" && !w.ownApplication;
    EXPECT_TRUE(listed);
    // The request is sent, not posted: a window that closes is gone when it returns.
    windows->SendCloseRequest(*found);
    EXPECT_EQ(windows->FindWindow("TFormTonic", std::nullopt).has_value(), ignoreClose);
  }
}

TEST(Win32Program, ItsVersionAndPackagesAreRealPeResources) {
  const std::string exe = WinPath(KV_UPGRADE_EXE);
  std::unique_ptr<OwnExecutable> own = OpenBundledExecutable(exe, true);
  const FileVersion v = own->ReadOwnFileVersion(exe);
  EXPECT_EQ(std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.servicePack) + "." +
                std::to_string(v.build),
            KV_PROGRAM_VERSION);
  std::unique_ptr<ResourceStream> package = own->OpenResource("EXE", "KV7D");
  ASSERT_TRUE(package);
  EXPECT_EQ(test::Inflated(*package), RealFileSystem().ReadFile(WinPath(KV_CARRIED_FILES_DIR "/kv700_d.exe")));
  EXPECT_FALSE(own->OpenResource("EXE", "NOSUCH"));
  EXPECT_EQ(own->ReadOwnFileVersion(WinPath(KV_HELPER_WINDOW_EXE)), FileVersion{}) << "no version information";
}

TEST(Win32Text, TheRegisterLogIsInTheSystemsAnsiCodePageWithCrLf) {
  // Wine takes the code page from the locale: Russian gives Windows-1251.
  if (::GetACP() != 1251) GTEST_SKIP() << "run under a Russian locale (LANG=ru_RU.UTF-8)";
  EXPECT_EQ(Utf8ToAnsi("Журнал ё"), "\xC6\xF3\xF0\xED\xE0\xEB \xB8");
  EXPECT_EQ(AnsiToUtf8("\xC6\xF3\xF0\xED\xE0\xEB"), "Журнал");

  // The log file as the installation's other programs read it: every line
  // ends in CR LF (no text-mode doubling), a character 1251 lacks is '?'.
  const std::string info = test::FreshTempFolder("kvlog") + "Info\\";
  test::Journal journal;
  test::JournalClock clock(journal);
  test::JournalDialog dialog(journal);
  RegisterLog log({kApplicationTitle, "C:\\Квенира λ\\Версия\\kvupgrade.exe", info, info + "Журнал 2026.log"},
                  RealFileSystem(), clock, dialog);
  log.ReportCode(0);  // creates the folder
  log.ReportCode(1);
  const std::string time = "*07.12.2026 09:15:02\r\n";
  EXPECT_EQ(RealFileSystem().ReadFile(info + "Журнал 2026.log"),
            "\r\n 000: " + time +
                "\xC7\xE0\xEF\xF3\xF1\xEA \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB: "  // Запуск программы
                "C:\\\xCA\xE2\xE5\xED\xE8\xF0\xE0 ?\\"                              // Квенира λ
                "\xC2\xE5\xF0\xF1\xE8\xFF\\kvupgrade.exe 001: " + time);              // Версия
  EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace kv
