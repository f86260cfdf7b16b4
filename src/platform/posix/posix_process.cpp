/*
** Processes on POSIX: the own path from /proc, programs started by posix_spawn.
*/
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <climits>

#include "platform/process.h"

extern char** environ;

namespace kv {
namespace {

class PosixProcesses final : public ProcessControl {
 public:
  std::string OwnPath() override {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
  }

  bool Start(const std::string& path, const std::vector<std::string>& args) override {
    return Spawn(path, args).has_value();
  }

  std::optional<int> RunAndWait(const std::string& path, const std::vector<std::string>& args) override {
    std::optional<pid_t> pid = Spawn(path, args);
    if (!pid) return std::nullopt;
    int status = 0;
    while (::waitpid(*pid, &status, 0) < 0) {
      if (errno != EINTR) return std::nullopt;
    }
    // A program ended by a signal reports 128 + the signal, as shells do.
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  static std::optional<pid_t> Spawn(const std::string& path, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return std::nullopt;
    return pid;
  }
};

}  // namespace

ProcessControl& RealProcesses() {
  static PosixProcesses processes;
  return processes;
}

}  // namespace kv
