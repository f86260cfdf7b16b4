/*
** One wizard per installation on Windows: the lock file opened without
** sharing, held for the life of the process. The system closes it when the
** process ends, however it ends.
*/
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

class ExclusiveFile final : public InstanceLock {
 public:
  explicit ExclusiveFile(win32::UniqueFileHandle h) : h_(std::move(h)) {}

 private:
  win32::UniqueFileHandle h_;  // closing it releases the lock
};

}  // namespace

std::unique_ptr<InstanceLock> TryLockInstance(const std::string& path) {
  win32::UniqueFileHandle h(::CreateFileW(win32::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_SHARING_VIOLATION) return nullptr;
    throw FileError("cannot open the lock file " + path + ": " + win32::ErrorText(err));
  }
  return std::make_unique<ExclusiveFile>(std::move(h));
}

}  // namespace kv
