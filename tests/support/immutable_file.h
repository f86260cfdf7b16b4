/*
** A file made immutable for the life of the object (the file system's
** immutable flag, as chattr +i sets it): it can be neither written, renamed
** nor deleted, by root neither. Not every file system has the flag; false
** then, and nothing changed.
*/
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <string>

#include "platform/posix/unique_fd.h"

namespace kv::test {

class Immutable {
 public:
  explicit Immutable(std::string path) : path_(std::move(path)) { set_ = Flag(true); }
  ~Immutable() {
    if (set_) Flag(false);
  }
  Immutable(const Immutable&) = delete;
  Immutable& operator=(const Immutable&) = delete;

  explicit operator bool() const { return set_; }

 private:
  bool Flag(bool on) {
    const UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    int flags = 0;
    if (!fd || ::ioctl(fd.Get(), FS_IOC_GETFLAGS, &flags) != 0) return false;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    return ::ioctl(fd.Get(), FS_IOC_SETFLAGS, &flags) == 0;
  }

  std::string path_;
  bool set_ = false;
};

}  // namespace kv::test
