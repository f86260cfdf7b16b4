/*
** The session guard of the console program on Windows: a console control
** handler, installed while held. Ctrl+C and Ctrl+Break are ignored; closing
** the console, a log-off or a shutdown waits in the handler's own thread until
** the work ends (the system ends the process when the handler returns, or
** earlier when its patience runs out). Each is said on stderr.
*/
#include <cassert>

#include "platform/session_guard.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

// The control handler has no context: what it reads lives here while a
// guard is held, written before the handler is installed.
HANDLE g_workDone = nullptr;  // owned by the guard; set when no work is held
std::string* g_reason = nullptr;

void Say(const std::string& text) {
  HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  if (err && err != INVALID_HANDLE_VALUE)
    ::WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

BOOL WINAPI OnControl(DWORD event) {
  const std::string reason = g_reason ? *g_reason : std::string();
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
    Say("kvupgrade: Ctrl+C не прерывает работу, которую нельзя прерывать (" + reason + ")\n");
    return TRUE;
  }
  Say("kvupgrade: программа завершится, когда закончится работа, которую нельзя прерывать (" + reason + ")\n");
  if (g_workDone) ::WaitForSingleObject(g_workDone, INFINITE);
  return FALSE;  // the next handler ends the process
}

class ConsoleGuard final : public SessionGuard {
 public:
  ConsoleGuard() : workDone_(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
  ~ConsoleGuard() override { assert(depth_ == 0 && "a session guard destroyed while held"); }

  void Enter(const std::string& reason) override {
    if (depth_++ > 0) return;
    assert(!g_workDone && "only one session guard may be held");
    reason_ = reason;
    g_reason = &reason_;
    g_workDone = workDone_.Get();
    ::ResetEvent(workDone_.Get());
    ::SetConsoleCtrlHandler(OnControl, TRUE);
  }

  void Leave() override {
    assert(depth_ > 0 && "Leave without Enter");
    if (--depth_ > 0) return;
    // A handler waiting for the work returns now, and the process ends.
    ::SetEvent(workDone_.Get());
    ::SetConsoleCtrlHandler(OnControl, FALSE);
    g_workDone = nullptr;
  }

 private:
  win32::UniqueKernelHandle workDone_;
  std::string reason_;
  int depth_ = 0;
};

}  // namespace

std::unique_ptr<SessionGuard> OpenSessionGuard() { return std::make_unique<ConsoleGuard>(); }

}  // namespace kv
