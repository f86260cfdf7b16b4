/*
** The session guard of a window on Windows: while held, the window answers
** the system's question whether the session may end (WM_QUERYENDSESSION)
** with no, and the system shows the reason beside the window in its list of
** programs that hold the shutdown (ShutdownBlockReasonCreate). The window's
** procedure asks MayEnd().
*/
#pragma once

#include "platform/session_guard.h"
#include "views/win32/form_window.h"

namespace kv::win32 {

class WindowSessionGuard final : public SessionGuard {
 public:
  explicit WindowSessionGuard(const FormWindow& window) : window_(window) {}
  ~WindowSessionGuard() override;

  void Enter(const std::string& reason) override;
  void Leave() override;
  /* The answer to WM_QUERYENDSESSION: false while held. */
  bool MayEnd() const { return depth_ == 0; }

 private:
  const FormWindow& window_;
  int depth_ = 0;
};

}  // namespace kv::win32
