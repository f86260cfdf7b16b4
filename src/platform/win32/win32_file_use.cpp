/*
** Files in use on Windows: a file that another process has open without
** sharing (a database the engine holds, a running program) cannot be opened
** for writing.
*/
#include "platform/file_use.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

bool SharingViolation(const std::string& path, DWORD access) {
  win32::UniqueFileHandle h(::CreateFileW(win32::Wide(path).c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return !h && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

bool FileInUse(const std::string& path) { return SharingViolation(path, GENERIC_WRITE); }

bool FileHeldByOther(const std::string& path) { return SharingViolation(path, GENERIC_READ); }

}  // namespace kv
