/*
** The ANSI code page of the system, through the Windows conversions. The
** program's register log and the files it shares with the installation's other
** programs are in it (Windows-1251 on the workstations it serves).
*/
#include "platform/text_codec.h"
#include "platform/win32/wide.h"

namespace kv {

std::string Utf8ToAnsi(std::string_view utf8) {
  const std::wstring wide = win32::Wide(utf8);
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?",
                                      nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, "?", nullptr);
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return win32::Utf8(wide);
}

}  // namespace kv
