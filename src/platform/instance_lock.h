/*
** One wizard per installation: an exclusive lock on a file, held for the life
** of the object. The operating system releases it when the process ends, so a
** crash never leaves a stale lock behind.
*/
#pragma once

#include <memory>
#include <string>

namespace kv {

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
};

/* Takes the lock of the file at path (created when missing); nullptr when
** another process holds it. Throws FileError when the file cannot be opened. */
std::unique_ptr<InstanceLock> TryLockInstance(const std::string& path);

}  // namespace kv
