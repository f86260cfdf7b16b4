/*
** Processes on Windows: the own path, and programs started with CreateProcessW.
*/
#include "platform/process.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

/* One argument quoted so that the C runtime of the started program reads it
** back unchanged: backslashes double only before a quote. */
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

class WindowsProcesses final : public ProcessControl {
 public:
  std::string OwnPath() override {
    std::wstring buf(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    return win32::Utf8(std::wstring_view(buf.data(), n));
  }

  bool Start(const std::string& path, const std::vector<std::string>& args) override {
    return Create(path, args).has_value();
  }

  std::optional<int> RunAndWait(const std::string& path, const std::vector<std::string>& args) override {
    std::optional<win32::UniqueKernelHandle> process = Create(path, args);
    if (!process) return std::nullopt;
    ::WaitForSingleObject(process->Get(), INFINITE);
    DWORD code = 0;
    if (!::GetExitCodeProcess(process->Get(), &code)) return std::nullopt;
    return static_cast<int>(code);
  }

 private:
  static std::optional<win32::UniqueKernelHandle> Create(const std::string& path,
                                                         const std::vector<std::string>& args) {
    std::wstring command = Quoted(win32::Wide(path));
    for (const std::string& a : args) command += L" " + Quoted(win32::Wide(a));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(win32::Wide(path).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
      return std::nullopt;
    ::CloseHandle(pi.hThread);
    return win32::UniqueKernelHandle(pi.hProcess);
  }
};

}  // namespace

ProcessControl& RealProcesses() {
  static WindowsProcesses processes;
  return processes;
}

}  // namespace kv
