/*
** Asking systemd for a unit's state, without a shell: the unit name is passed
** as one argument after "--", so no name is ever read as an option.
*/
#include "platform/posix/systemd_service_status.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace kv {
namespace {

/* posix_spawn file actions, destroyed with their owner. */
class FileActions {
 public:
  FileActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;

  /* Sends standard output and error to /dev/null: systemctl talks even with --quiet. */
  bool Silence() {
    return ok_ && ::posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0) == 0 &&
           ::posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0) == 0;
  }
  const posix_spawn_file_actions_t* Get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

}  // namespace

ServiceQuery SystemdServiceStatus::Query(std::string_view name) {
  const std::string* systemctl = nullptr;
  for (const std::string& c : candidates_)
    if (::access(c.c_str(), X_OK) == 0) {
      systemctl = &c;
      break;
    }
  if (!systemctl) return ServiceQuery::Unavailable;

  FileActions actions;
  if (!actions.Silence()) return ServiceQuery::Unavailable;
  std::string unit(name);
  std::string args[] = {*systemctl, "is-active", "--quiet", "--", unit};
  char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), args[4].data(), nullptr};
  pid_t pid = 0;
  if (::posix_spawn(&pid, systemctl->c_str(), actions.Get(), nullptr, argv, environ) != 0)
    return ServiceQuery::Unavailable;
  int status = 0;
  while (::waitpid(pid, &status, 0) == -1) {
    if (errno != EINTR) return ServiceQuery::Unavailable;
  }
  if (!WIFEXITED(status)) return ServiceQuery::Unavailable;
  return WEXITSTATUS(status) == 0 ? ServiceQuery::Running : ServiceQuery::Stopped;
}

ServiceStatus& SystemServices() {
  static SystemdServiceStatus services;
  return services;
}

}  // namespace kv
