/*
** The session guard on POSIX: while held, SIGTERM, SIGHUP and SIGINT only
** mark themselves (and say so on stderr); when the work ends, the handlers
** the process had come back, and the last signal that came ends the process
** by its default action, at a point where nothing is half done (unless the
** process ignored that signal before).
**
** Blocking the signals would not do: the database engine's own threads,
** started before, would still take a signal sent to the process. Nor would
** handing the signal to the handler the process had: the client library
** installs one for SIGTERM and SIGINT that only shuts its engine down, and
** the program would carry on.
*/
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <csignal>
#include <cstring>

#include "platform/session_guard.h"

namespace kv {
namespace {

constexpr int kHeldSignals[] = {SIGTERM, SIGHUP, SIGINT};

// A signal handler has no context: what it reads lives here while a guard is
// held, written before the handler is installed.
volatile std::sig_atomic_t g_pending = 0;
char g_note[512];
std::size_t g_noteLength = 0;
bool g_guardHeld = false;

void Say(const char* text, std::size_t length) {
  while (length > 0) {
    const ssize_t n = ::write(STDERR_FILENO, text, length);
    if (n <= 0) return;
    text += n;
    length -= static_cast<std::size_t>(n);
  }
}

extern "C" void HoldSignal(int signal) {
  g_pending = signal;
  const char* name = signal == SIGTERM ? "SIGTERM" : signal == SIGHUP ? "SIGHUP" : "SIGINT";
  Say("kvupgrade: ", 11);
  Say(name, std::strlen(name));
  Say(g_note, g_noteLength);
}

class SignalGuard final : public SessionGuard {
 public:
  ~SignalGuard() override {
    assert(depth_ == 0 && "a session guard destroyed while held");
  }

  void Enter(const std::string& reason) override {
    if (depth_++ > 0) return;
    assert(!g_guardHeld && "only one session guard may be held");
    g_guardHeld = true;
    const std::string note = " отложен до конца работы, которую нельзя прерывать (" + reason +
                             "); программа завершится после неё\n";
    g_noteLength = std::min(note.size(), sizeof g_note);
    std::memcpy(g_note, note.data(), g_noteLength);
    g_pending = 0;
    struct sigaction hold{};
    hold.sa_handler = HoldSignal;
    hold.sa_flags = SA_RESTART;
    sigemptyset(&hold.sa_mask);
    for (int s : kHeldSignals) sigaddset(&hold.sa_mask, s);
    for (std::size_t i = 0; i < std::size(kHeldSignals); ++i) ::sigaction(kHeldSignals[i], &hold, &previous_[i]);
  }

  void Leave() override {
    assert(depth_ > 0 && "Leave without Enter");
    if (--depth_ > 0) return;
    for (std::size_t i = 0; i < std::size(kHeldSignals); ++i) ::sigaction(kHeldSignals[i], &previous_[i], nullptr);
    g_guardHeld = false;
    const int signal = g_pending;
    g_pending = 0;
    if (signal == 0) return;
    for (std::size_t i = 0; i < std::size(kHeldSignals); ++i) {
      if (kHeldSignals[i] != signal || previous_[i].sa_handler == SIG_IGN) continue;
      struct sigaction end{};
      end.sa_handler = SIG_DFL;
      sigemptyset(&end.sa_mask);
      ::sigaction(signal, &end, nullptr);
      ::raise(signal);
    }
  }

 private:
  int depth_ = 0;
  struct sigaction previous_[std::size(kHeldSignals)] = {};
};

}  // namespace

std::unique_ptr<SessionGuard> OpenSessionGuard() { return std::make_unique<SignalGuard>(); }

}  // namespace kv
