/*
** Work the end of the session must not cut in the middle: the service packs,
** the program-file steps, a restore. The logic holds a CriticalSection over
** such work; a SessionGuard keeps the session from ending the program
** meanwhile and lets it end afterwards:
**   Windows, the wizard's window: it answers WM_QUERYENDSESSION with FALSE
**       and names its reason (ShutdownBlockReasonCreate) while held.
**   Windows, console: Ctrl+C and Ctrl+Break are ignored; closing the
**       console, a log-off or a shutdown waits for the work as long as the
**       system lets it; each is said on stderr.
**   POSIX: SIGTERM, SIGHUP and SIGINT are held back until the work ends,
**       said on stderr, then acted on as they would have been.
**
** States of a guard: free (depth 0) or held (depth > 0); Enter and Leave
** nest, and only the outermost pair acts. Leave without Enter is a fault
** (asserted).
*/
#pragma once

#include <memory>
#include <string>

namespace kv {

class SessionGuard {
 public:
  virtual ~SessionGuard() = default;
  /* The end of the session waits from now on; reason is the operator's
  ** text, shown where the system shows one. */
  virtual void Enter(const std::string& reason) = 0;
  /* Undoes one Enter. The outermost lets the session end again and acts on
  ** an end requested meanwhile: the process may end inside this call. */
  virtual void Leave() = 0;
};

/* Holds guard, when there is one, for its own lifetime. */
class [[nodiscard]] CriticalSection {
 public:
  CriticalSection(SessionGuard* guard, const std::string& reason) : guard_(guard) {
    if (guard_) guard_->Enter(reason);
  }
  ~CriticalSection() {
    if (guard_) guard_->Leave();
  }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

 private:
  SessionGuard* guard_;
};

/* The guard of a program without windows (signals on POSIX, the console's
** control events on Windows). Its handlers are the process's own: only one
** guard of this kind may be held at a time. */
std::unique_ptr<SessionGuard> OpenSessionGuard();

}  // namespace kv
