// The built kvupgrade.exe under Wine, unattended, on an installation recorded
// in the registry as the main application's 32-bit installer records it: the
// copy into a version folder whose path has spaces and Cyrillic letters, the
// relaunch with the options, the start checks, the run log with Cyrillic
// paths, and the clear message when no Firebird client is installed (the
// stand-in client of the test prefix switched off). An option's value is read
// from the UTF-16 command line, so its Cyrillic letters and characters of no
// ANSI code page arrive as given. The whole upgrade is in upgrade_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>

#include "demo_installation.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "wine_test_support.h"

namespace kv {
namespace {

TEST(Win32Program, UnattendedRelaunchesFromTheVersionFolderAndNamesTheMissingClient) {
  const std::string folder = test::FreshTempFolder("kvprogram");
  const std::string root = folder + "Установка Квениры";
  const demo::DemoInstallation demo = demo::WriteDemoFiles({root, 0, 2, true, false});
  const Installation& inst = demo.installation;

  const std::wstring key = L"SOFTWARE\\Velmor\\Квенира\\7.00";
  ASSERT_TRUE(test::SetMachineString(key, L"DirProgram", win32::Wide(root + "\\prog"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"DirBase", win32::Wide(root + "\\base"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"typeInstall", L"d", KEY_WOW64_32KEY));

  const std::string exe = test::WinPath(KV_UPGRADE_EXE);
  const test::NoFirebirdClient noClient;
  const std::optional<int> status =
      RealProcesses().RunAndWait(exe, {"--unattended", "--installation", "2", "--no-backup"});
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 1) << "no Firebird client: the wizard cannot be created";

  // It ran from the version folder, as a copy of itself, with the options.
  const std::string copy = inst.folders.version + "kvupgrade.exe";
  EXPECT_TRUE(RealFileSystem().FileExists(copy));
  std::string runLog;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(inst.folders.info)))
    if (e.path().filename().u8string().rfind(u8"kvupgrade-", 0) == 0) {
      const auto name = e.path().u8string();
      runLog = RealFileSystem().ReadFile(std::string(name.begin(), name.end()));
    }
  EXPECT_NE(runLog.find("upgrade 7.10 d: " + copy + "\n"), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("Установка: №2, без окон"), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("Проверка окружения: пройдена"), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("fbclient.dll"), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("Статус завершения: 1"), std::string::npos) << runLog;

  const std::string backup = root + "\\Копия λ";
  const std::string output = folder + "restore.txt";
  EXPECT_EQ(test::RunWithOutput(L"\"" + win32::Wide(exe) + L"\" --installation 2 --restore \"" + win32::Wide(backup) +
                                    L"\"",
                                output),
            2);
  const std::string said = RealFileSystem().ReadFile(output);
  EXPECT_NE(said.find("manifest.txt): " + backup + "\\"), std::string::npos) << said;
}

}  // namespace
}  // namespace kv
