/*
** The instance lock on POSIX: flock on a descriptor opened close-on-exec, so a
** program this one starts does not carry the lock with it.
*/
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/posix/unique_fd.h"

namespace kv {
namespace {

class FlockLock final : public InstanceLock {
 public:
  explicit FlockLock(UniqueFd fd) : fd_(std::move(fd)) {}

 private:
  UniqueFd fd_;  // closing it releases the lock
};

}  // namespace

std::unique_ptr<InstanceLock> TryLockInstance(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (!fd) throw FileError("cannot open the lock file " + path + ": " + std::strerror(errno));
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return nullptr;
    throw FileError("cannot lock " + path + ": " + std::strerror(errno));
  }
  return std::make_unique<FlockLock>(std::move(fd));
}

}  // namespace kv
