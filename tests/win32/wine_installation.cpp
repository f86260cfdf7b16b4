// Installations, runs and snapshots for the end-to-end tests under Wine.
#include "wine_installation.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "platform/paths.h"
#include "platform/zlib_codec.h"
#include "startup/install_registry.h"
#include "support/fb_test_db.h"
#include "support/schema_snapshot.h"
#include "wine_test_support.h"

namespace kv::test {

std::string LinuxDemo(const std::string& name) { return WinPath(KV_LINUX_DEMOS "/" + name); }

WineInstallation::WineInstallation(const std::string& linuxDemo, int number, bool numbered,
                                   const std::string& parent) {
  const std::string fresh = parent.empty() ? FreshTempFolder("kve2e") : FreshFolder(WithTrailingSep(parent), "kve2e");
  const std::string root = fresh + "Установка Квениры 7";
  folder_ = root + "\\";
  demo_ = demo::WriteDemoFiles({root, 0, number, numbered, false});
  // The Linux demo has the same layout: each database by its place in the folder.
  for (const std::string& db : demo_.databases) {
    const std::string from = linuxDemo + "\\" + db.substr(folder_.size());
    RealFileSystem().CreateDirs(FolderOf(db));
    if (!::CopyFileW(win32::Wide(from).c_str(), win32::Wide(db).c_str(), FALSE))
      throw std::runtime_error("cannot copy " + from + ": " + win32::ErrorText(::GetLastError()));
  }

  const std::wstring key = L"SOFTWARE\\Velmor\\Квенира\\7.00";
  if (!SetMachineString(key, L"DirProgram", win32::Wide(folder_ + "prog"), KEY_WOW64_32KEY) ||
      !SetMachineString(key, L"DirBase", win32::Wide(folder_ + "base"), KEY_WOW64_32KEY) ||
      !SetMachineString(key, L"typeInstall", L"d", KEY_WOW64_32KEY))
    throw std::runtime_error("cannot record the installation in the registry");
  // A user who never installed a build of 7.00 (other tests share the prefix).
  const std::wstring userKey = win32::Wide(kUserKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, userKey.substr(0, userKey.size() - 1).c_str());
}

std::vector<std::string> WineInstallation::Databases() const {
  const DatabasePaths& p = demo_.installation.databases;
  return {p.base, p.config, p.orders, p.serverOrders, p.director, p.price, p.stockMan, p.optima, p.system};
}

std::string WineInstallation::Snapshot() const {
  std::string out;
  for (const std::string& db : Databases()) out += "== " + FileNameOf(db) + "\n" + SchemaSnapshot(db);
  return out;
}

std::string WineInstallation::Contents() const {
  std::string out = Snapshot();
  for (const std::string& db : Databases()) out += "== " + FileNameOf(db) + "\n" + RowsSnapshot(db);
  return out;
}

std::string WineInstallation::Level(const std::string& database) const {
  return QueryValue(database, "SELECT COALESCE(ServicePack, -1) || '/' || COALESCE(Build, -1) FROM kv_Setting",
                    demo_.installation.params.number);
}

std::vector<std::pair<std::string, std::string>> WineInstallation::ProgramFiles() const {
  std::vector<std::pair<std::string, std::string>> out;
  const std::string& folder = demo_.installation.folders.program;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(win32::Wide(folder)))) {
    const std::string name = win32::Utf8(e.path().filename().wstring());
    out.emplace_back(name, RealFileSystem().ReadFile(folder + name));
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::optional<DWORD> UserValue(const wchar_t* name) {
  const std::wstring key = win32::Wide(kUserKey);
  DWORD value = 0, size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

std::string CarriedFile(const std::string& type, const std::string& name) {
  std::unique_ptr<ResourceStream> stream = OpenBundledExecutable(TestedProgram(KV_UPGRADE_EXE), true)->OpenResource(type, name);
  if (!stream) throw std::runtime_error("kvupgrade.exe carries no " + type + "/" + name);
  std::string packed, bytes;
  char buf[65536];
  for (std::size_t n; (n = stream->Read(buf, sizeof buf)) > 0;) packed.append(buf, n);
  ZlibInflater inflater;
  inflater.Inflate(packed, [&](std::string_view chunk) { bytes.append(chunk); });
  return bytes;
}

std::wstring CommandLine(const std::string& program, const std::vector<std::string>& args) {
  auto quoted = [](const std::string& arg) {
    // Backslashes double only before a quote, the closing one included.
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : win32::Wide(arg)) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
      backslashes = 0;
      out += c;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
  };
  std::wstring line = quoted(program);
  for (const std::string& a : args) line += L" " + quoted(a);
  return line;
}

UpgradeRun RunUpgrade(const std::vector<std::string>& args) {
  const std::string folder = FreshTempFolder("kvrun");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  auto open = [&](const std::string& path) {
    return win32::UniqueFileHandle(::CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                 CREATE_ALWAYS, 0, nullptr));
  };
  const win32::UniqueFileHandle out = open(folder + "out.txt"), err = open(folder + "err.txt");
  if (!out || !err) throw std::runtime_error("cannot make the output files in " + folder);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out.Get();
  si.hStdError = err.Get();
  PROCESS_INFORMATION pi{};
  std::wstring line = CommandLine(TestedProgram(KV_UPGRADE_EXE), args);
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    throw std::runtime_error("cannot start kvupgrade.exe: " + win32::ErrorText(::GetLastError()));
  ::CloseHandle(pi.hThread);
  const win32::UniqueKernelHandle process(pi.hProcess);
  ::WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(process.Get(), &code);
  // The C runtime ends the lines it writes with CR LF.
  auto lines = [](std::string text) {
    std::erase(text, '\r');
    return text;
  };
  return {static_cast<int>(code), "\n" + lines(ReadWholeFile(folder + "out.txt")),
          lines(ReadWholeFile(folder + "err.txt"))};
}

std::string FirstDifference(const std::string& actual, const std::string& expected) {
  if (actual == expected) return "";
  std::size_t a = 0, e = 0;
  for (int line = 1;; ++line) {
    const std::size_t aEnd = std::min(actual.find('\n', a), actual.size());
    const std::size_t eEnd = std::min(expected.find('\n', e), expected.size());
    const std::string_view got(actual.data() + a, aEnd - a), want(expected.data() + e, eEnd - e);
    if (got != want || aEnd == actual.size() || eEnd == expected.size())
      return "line " + std::to_string(line) + ": \"" + std::string(got) + "\", expected \"" + std::string(want) + "\"";
    a = aEnd + 1;
    e = eEnd + 1;
  }
}

std::string UnixPath(const std::string& windows) {
  // Wine's own export; a Windows build of the tests has no declaration of it.
  using Mapper = char*(CDECL*)(LPCWSTR);
  const auto map = reinterpret_cast<Mapper>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* unix = map ? map(win32::Wide(windows).c_str()) : nullptr;
  if (!unix) return "";
  const std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

std::string ReadWholeFile(const std::string& path) {
  try {
    return RealFileSystem().ReadFile(path);
  } catch (const FileError&) {
    return "";
  }
}

std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(win32::Wide(folder)), ec)) {
    const std::string name = win32::Utf8(e.path().filename().wstring());
    if (name.rfind(prefix, 0) == 0) out.push_back(WithTrailingSep(folder) + name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace kv::test
