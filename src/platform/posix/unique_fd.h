/*
** Owner of one POSIX file descriptor: closed when the owner goes away. Close()
** returns close()'s result, so that a failed flush is seen.
*/
#pragma once

#include <unistd.h>

#include "platform/unique_handle.h"

namespace kv {

struct FdTraits {
  using Handle = int;
  static Handle None() { return -1; }
  int Close(Handle fd) const { return ::close(fd); }
};

using UniqueFd = UniqueHandle<FdTraits>;

}  // namespace kv
