// What the tests of the Windows program share: build paths as Wine shows
// them, a fresh temporary folder, machine-wide registry values written into a
// chosen view, a helper window in another process, a program run whose
// output is kept, and environment variables for the programs started.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/win32/wide.h"

namespace kv::test {

/* A build path as Windows sees it under Wine: the Unix root is drive Z:. */
inline std::string WinPath(const std::string& unix) {
  std::string out = "Z:" + unix;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

/* The program the tests run: the file KV_TESTED_EXE names when it is set (the
** signed release), else built, as Windows names it. */
inline std::string TestedProgram(const std::string& built) {
  const char* named = std::getenv("KV_TESTED_EXE");
  const std::string exe = named && *named ? named : built;
  return exe[0] == '/' ? WinPath(exe) : exe;
}

/* A new folder under parent (ending in the separator), ending in the separator. */
inline std::string FreshFolder(const std::string& parent, const std::string& prefix) {
  const std::string path = parent + prefix + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                           std::to_string(::GetTickCount64()) + "\\";
  RealFileSystem().CreateDirs(path);
  return path;
}

/* A new folder under the temporary folder, ending in the separator. */
inline std::string FreshTempFolder(const std::string& prefix) {
  wchar_t buf[MAX_PATH];
  const DWORD n = ::GetTempPathW(MAX_PATH, buf);
  return FreshFolder(win32::Utf8(std::wstring_view(buf, n)), prefix);
}

/* Writes a string value under HKEY_LOCAL_MACHINE in the given registry view
** (KEY_WOW64_32KEY or KEY_WOW64_64KEY); false when the key cannot be made. */
inline bool SetMachineString(const std::wstring& key, const wchar_t* name, const std::wstring& value, REGSAM view) {
  HKEY k = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const bool written = ::RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  ::RegCloseKey(k);
  return written;
}

/* A helper_window process showing a top-level window of the class and title,
** ended with its owner. */
class HelperWindow {
 public:
  HelperWindow(const std::string& exe, const std::string& className, const std::string& title, bool ignoreClose) {
    std::wstring command = L"\"" + win32::Wide(exe) + L"\" \"" + win32::Wide(className) + L"\" \"" +
                           win32::Wide(title) + L"\"" + (ignoreClose ? L" ignore-close" : L"");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    ::CloseHandle(pi.hThread);
    process_.Reset(pi.hProcess);
    // Wait until the window is there (the program starts in a fraction of a second).
    const std::wstring cls = win32::Wide(className), caption = win32::Wide(title);
    for (int i = 0; i < 100 && !::FindWindowW(cls.c_str(), caption.c_str()); ++i) ::Sleep(100);
    shown_ = ::FindWindowW(cls.c_str(), caption.c_str()) != nullptr;
  }
  ~HelperWindow() {
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.Get(), 0);
      ::WaitForSingleObject(process_.Get(), 5000);
    }
  }
  HelperWindow(const HelperWindow&) = delete;
  HelperWindow& operator=(const HelperWindow&) = delete;

  bool Shown() const { return shown_; }

 private:
  win32::UniqueKernelHandle process_;
  bool shown_ = false;
};

/* Runs commandLine (its program quoted as needed) to its end with standard
** output and error going to outputFile; the exit status, or nullopt when it
** could not be run. */
inline std::optional<int> RunWithOutput(std::wstring commandLine, const std::string& outputFile) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const win32::UniqueFileHandle out(::CreateFileW(win32::Wide(outputFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                  &inherit, CREATE_ALWAYS, 0, nullptr));
  if (!out) return std::nullopt;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = out.Get();
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    return std::nullopt;
  ::CloseHandle(pi.hThread);
  const win32::UniqueKernelHandle process(pi.hProcess);
  ::WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 0;
  if (!::GetExitCodeProcess(process.Get(), &code)) return std::nullopt;
  return static_cast<int>(code);
}

/* An environment variable of this process (and of the programs it starts)
** set for the object's lifetime, then restored. */
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t buf[4096];
    const DWORD n = ::GetEnvironmentVariableW(name, buf, 4096);
    if (n > 0 && n < 4096) old_ = std::wstring(buf, n);
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { ::SetEnvironmentVariableW(name_.c_str(), old_ ? old_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::wstring name_;
  std::optional<std::wstring> old_;
};

/* Set while a program is to find no Firebird client: the stand-in client in
** the test prefix is switched off for the programs started meanwhile. */
class NoFirebirdClient : public ScopedVariable {
 public:
  NoFirebirdClient() : ScopedVariable(L"WINEDLLOVERRIDES", L"fbclient,gds32=d") {}
};

}  // namespace kv::test
