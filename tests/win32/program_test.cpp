// The built kvupgrade.exe under Wine, unattended, on an installation recorded
// in the registry as the main application's 32-bit installer records it: the
// copy into the version folder and the relaunch with the options, the start
// checks, the run log with Cyrillic paths, and the clear message when no Firebird client is installed (no Windows build of
// the client is available here; the database layer is tested on Linux).
#include <gtest/gtest.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef FindWindow  // a member of the window list has this name

#include <filesystem>

#include "demo_installation.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace kv {
namespace {

std::string WinPath(const std::string& unix) {
  std::string out = "Z:" + unix;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

void SetMachineString(HKEY key, const wchar_t* name, const std::wstring& value) {
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring Wide(const std::string& utf8) {
  std::wstring out(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), static_cast<int>(out.size()));
  out.pop_back();
  return out;
}

TEST(Win32Program, UnattendedRelaunchesFromTheVersionFolderAndNamesTheMissingClient) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::string root;
  for (const wchar_t* c = temp; *c; ++c) root += static_cast<char>(*c);
  root += "kvprogram-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount64()) +
          "\\Установка";
  const demo::DemoInstallation demo = demo::WriteDemoFiles({root, 0, 1, false, false});
  const Installation& inst = demo.installation;

  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Velmor\\Квенира\\7.00", 0, nullptr, 0,
                              KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  SetMachineString(key, L"DirProgram", Wide(root + "\\prog"));
  SetMachineString(key, L"DirBase", Wide(root + "\\base"));
  SetMachineString(key, L"typeInstall", L"d");
  ::RegCloseKey(key);

  const std::optional<int> status = RealProcesses().RunAndWait(WinPath(KV_UPGRADE_EXE), {"--unattended", "--no-backup"});
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 1) << "no Firebird client: the wizard cannot be created";

  // It ran from the version folder, as a copy of itself.
  EXPECT_TRUE(RealFileSystem().FileExists(inst.folders.version + "kvupgrade.exe"));
  std::string runLog;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(inst.folders.info)))
    if (e.path().filename().u8string().rfind(u8"kvupgrade-", 0) == 0) {
      const auto name = e.path().u8string();
      runLog = RealFileSystem().ReadFile(std::string(name.begin(), name.end()));
    }
  EXPECT_NE(runLog.find("Проверка окружения: пройдена"), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("fbclient.dll"), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("Статус завершения: 1"), std::string::npos) << runLog;
}

}  // namespace
}  // namespace kv
