/*
** Owner of one POSIX file descriptor: closed when the owner goes away.
*/
#pragma once

#include <unistd.h>

#include <utility>

namespace kv {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }

  /* Closes now and returns close()'s result, so that a failed flush is seen. */
  int Close() { return fd_ >= 0 ? ::close(std::exchange(fd_, -1)) : 0; }
  void Reset() { Close(); }

 private:
  int fd_ = -1;
};

}  // namespace kv
