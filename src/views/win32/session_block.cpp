/*
** A window holding the end of the session.
*/
#include "views/win32/session_block.h"

#include <cassert>

namespace kv::win32 {

WindowSessionGuard::~WindowSessionGuard() { assert(depth_ == 0 && "a session guard destroyed while held"); }

void WindowSessionGuard::Enter(const std::string& reason) {
  if (depth_++ > 0) return;
  if (window_.Open()) ::ShutdownBlockReasonCreate(window_.Root(), Wide(reason).c_str());
}

void WindowSessionGuard::Leave() {
  assert(depth_ > 0 && "Leave without Enter");
  if (--depth_ > 0) return;
  if (window_.Open()) ::ShutdownBlockReasonDestroy(window_.Root());
}

}  // namespace kv::win32
