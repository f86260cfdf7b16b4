// The released kvupgrade.exe as Windows sees it, read with the system's own
// API (what Explorer and the file's Properties show): the names of the
// installation's maker and product, its icon in every size, --help and
// --version on a console or a redirect, its version and packages, and the
// result file of a run. The file under test is the build's, or the one named
// by KV_TESTED_EXE (the signed release), which must pass the same.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "demo_installation.h"
#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "startup/install_registry.h"
#include "support/inflated_package.h"
#include "wine_test_support.h"

namespace kv {
namespace {

std::string TestedExe() { return test::TestedProgram(KV_UPGRADE_EXE); }

/* Standard output and error of the program with args, and its status. */
std::pair<int, std::string> Console(const std::string& args) {
  const std::string out = test::FreshTempFolder("kvconsole") + "out.txt";
  const std::optional<int> status = test::RunWithOutput(L"\"" + win32::Wide(TestedExe()) + L"\" " + win32::Wide(args), out);
  std::string text = RealFileSystem().ReadFile(out);
  std::erase(text, '\r');
  return {status.value_or(-1), text};
}

/* The file's version strings of its first translation. */
std::map<std::string, std::string> VersionStrings(const std::string& exe) {
  const std::wstring file = win32::Wide(exe);
  DWORD ignored = 0;
  std::string block(::GetFileVersionInfoSizeW(file.c_str(), &ignored), '\0');
  if (block.empty() || !::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
    return {};
  WORD* translation = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
      length < 4)
    return {};
  wchar_t prefix[64];
  swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  std::map<std::string, std::string> out;
  for (const wchar_t* name : {L"CompanyName", L"ProductName", L"FileDescription", L"LegalCopyright", L"InternalName",
                              L"OriginalFilename", L"FileVersion", L"ProductVersion"}) {
    wchar_t* value = nullptr;
    if (::VerQueryValueW(block.data(), (std::wstring(prefix) + name).c_str(), reinterpret_cast<void**>(&value),
                         &length) &&
        length > 0)
      out[win32::Utf8(name)] = win32::Utf8(std::wstring_view(value, length - 1));
  }
  return out;
}

// The resource types by number: the test is built without UNICODE, so the
// RT_ names would be the narrow ones.
const LPCWSTR kIconType = MAKEINTRESOURCEW(3), kGroupIconType = MAKEINTRESOURCEW(14);

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct GroupIconDir {
  WORD reserved, type, count;
  GroupIconEntry entries[1];
};
#pragma pack(pop)

TEST(Win32Release, TheFileNamesTheInstallationsMakerAndProductAndCarriesItsIconInEverySize) {
  const std::string exe = TestedExe();
  // The installation's registry key, SOFTWARE\<company>\<product>\7.00\, names them.
  const std::string key(kInstallKey);
  const auto first = key.find('\\') + 1, second = key.find('\\', first) + 1;
  const std::string company = key.substr(first, second - first - 1);
  const std::string product = key.substr(second, key.find('\\', second) - second);

  const auto strings = VersionStrings(exe);
  const std::map<std::string, std::string> expected = {
      {"CompanyName", company},          {"ProductName", product},
      {"FileDescription", "Модернизация"}, {"InternalName", "kvupgrade"},
      {"OriginalFilename", "kvupgrade.exe"}, {"FileVersion", KV_PROGRAM_VERSION},
      {"ProductVersion", KV_PROGRAM_VERSION}, {"LegalCopyright", "© " + company}};
  EXPECT_EQ(strings, expected);

  const win32::UniqueModule module(
      ::LoadLibraryExW(win32::Wide(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module);
  // The first icon group is the one Explorer shows.
  HRSRC group = nullptr;
  ::EnumResourceNamesW(
      module.Get(), kGroupIconType,
      [](HMODULE m, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
        *reinterpret_cast<HRSRC*>(found) = ::FindResourceW(m, name, kGroupIconType);
        return FALSE;
      },
      reinterpret_cast<LONG_PTR>(&group));
  ASSERT_TRUE(group) << "no icon";
  const auto* dir = static_cast<const GroupIconDir*>(::LockResource(::LoadResource(module.Get(), group)));
  ASSERT_TRUE(dir);
  std::set<int> sizes;
  for (WORD i = 0; i < dir->count; ++i) {
    const GroupIconEntry& e = dir->entries[i];
    const int size = e.width == 0 ? 256 : e.width;
    sizes.insert(size);
    EXPECT_EQ(e.bitCount, 32) << size;
    HRSRC image = ::FindResourceW(module.Get(), MAKEINTRESOURCEW(e.id), kIconType);
    ASSERT_TRUE(image) << size;
    auto* bits = static_cast<BYTE*>(::LockResource(::LoadResource(module.Get(), image)));
    const DWORD bytes = ::SizeofResource(module.Get(), image);
    // The system makes an icon of each image, of the size the group promises.
    HICON icon = ::CreateIconFromResourceEx(bits, bytes, TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
    ASSERT_TRUE(icon) << size;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info)) << size;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
}

TEST(Win32Release, HelpAndVersionReachARedirectedConsole) {
  const auto [helpStatus, help] = Console("--help");
  EXPECT_EQ(helpStatus, 0);
  for (const char* text : {"\n  --unattended ", "\n  --result-file ФАЙЛ ", "\n  --version ", "Коды завершения:",
                           "\n  64  "})
    EXPECT_NE(help.find(text), std::string::npos) << text << "\n" << help;
  const auto [versionStatus, version] = Console("--version");
  EXPECT_EQ(versionStatus, 0);
  EXPECT_EQ(version, KV_PROGRAM_VERSION "\n");
  const auto [wrongStatus, wrong] = Console("--halp");
  EXPECT_EQ(wrongStatus, 64);
  EXPECT_NE(wrong.find("kvupgrade --help"), std::string::npos) << wrong;
}

TEST(Win32Release, ItsVersionAndPackagesAreReadAsTheWizardReadsThem) {
  // A signature appended to the file must not pass for damage: the wizard's own check reads these.
  const std::string exe = TestedExe();
  std::unique_ptr<OwnExecutable> own = OpenBundledExecutable(exe, true);
  const FileVersion v = own->ReadOwnFileVersion(exe);
  EXPECT_EQ(std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.servicePack) + "." +
                std::to_string(v.build),
            KV_PROGRAM_VERSION);
  for (const auto& [type, name, file] : {std::tuple{"EXE", "KV7D", "kv700_d.exe"},
                                         std::tuple{"EXE", "TONIC7", "tonic700.exe"}, std::tuple{"BPL", "BPL5", "kv5.bpl"}}) {
    std::unique_ptr<ResourceStream> package = own->OpenResource(type, name);
    ASSERT_TRUE(package) << name;
    EXPECT_EQ(test::Inflated(*package), RealFileSystem().ReadFile(test::WinPath(KV_CARRIED_FILES_DIR "/") + file))
        << name;
  }
}

TEST(Win32Release, ARunWritesItsResultThroughTheCopyInTheVersionFolder) {
  const std::string folder = test::FreshTempFolder("kvresult");
  const std::string root = folder + "Установка Квениры";
  const demo::DemoInstallation demo = demo::WriteDemoFiles({root, 0, 3, true, false});
  const std::wstring key = L"SOFTWARE\\Velmor\\Квенира\\7.00";
  ASSERT_TRUE(test::SetMachineString(key, L"DirProgram", win32::Wide(root + "\\prog"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"DirBase", win32::Wide(root + "\\base"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"typeInstall", L"d", KEY_WOW64_32KEY));

  // A path relative to the folder the program was started in, though the copy runs elsewhere.
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(win32::Wide(folder).c_str()));
  const std::string out = folder + "out.txt";
  const std::optional<int> status = test::RunWithOutput(
      L"\"" + win32::Wide(TestedExe()) + L"\" --unattended --installation 3 --no-backup --result-file итог.json", out);
  ::SetCurrentDirectoryW(previous);
  ASSERT_EQ(status, 1) << "no Firebird client here: " << RealFileSystem().ReadFile(out);

  const std::string result = folder + "итог.json";
  ASSERT_TRUE(RealFileSystem().FileExists(result)) << RealFileSystem().ReadFile(out);
  EXPECT_FALSE(RealFileSystem().FileExists(result + ".part"));
  const nlohmann::json r = nlohmann::json::parse(RealFileSystem().ReadFile(result));
  EXPECT_EQ(r["exit_status"], 1);
  EXPECT_FALSE(r["meaning"].get<std::string>().empty());
  EXPECT_EQ(r["installation"]["number"], 3);
  EXPECT_EQ(r["installation"]["program_folder"], root + "\\prog\\");
  const std::string runLog = r["run_log"];
  EXPECT_EQ(runLog.rfind(demo.installation.folders.info + "kvupgrade-", 0), 0u) << runLog;
  const std::string log = RealFileSystem().ReadFile(runLog);
  EXPECT_NE(log.find("Статус завершения: 1"), std::string::npos) << log;
  // The databases were located but none was visited: the client was missing.
  ASSERT_FALSE(r["databases"].empty());
  for (const auto& d : r["databases"]) {
    EXPECT_EQ(d["outcome"], "not_visited");
    EXPECT_NE(log.find("База данных: " + d["path"].get<std::string>()), std::string::npos) << d;
  }
}

}  // namespace
}  // namespace kv
