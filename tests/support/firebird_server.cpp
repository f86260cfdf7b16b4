// The private Firebird server of a test process.
#include "support/firebird_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "migration/fb/attachment.h"
#include "migration/fb/statement.h"
#include "migration/fb/transaction.h"
#include "support/fb_test_db.h"

namespace kv::test {
namespace {

constexpr const char* kServerProgram = "/usr/sbin/firebird";

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

/* A port nobody listens on now: the kernel's choice for a socket bound to port 0. */
int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = Loopback(0);
  socklen_t len = sizeof a;
  if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0)
    throw std::runtime_error("no free loopback port");
  ::close(s);
  return ntohs(a.sin_port);
}

/* In a mount namespace of its own, shows folder (if any) read-only to this
** process and to what it executes; the rest of the tree is untouched. */
bool CloseFolder(const std::string& folder) {
  if (::unshare(CLONE_NEWNS) != 0) return false;
  // Private first, so that the read-only view stays in this namespace.
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  if (folder.empty()) return true;
  return ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
         ::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool Listening(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = Loopback(port);
  const bool ok = s >= 0 && ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  if (s >= 0) ::close(s);
  return ok;
}

}  // namespace

bool FirebirdServer::CanCloseFolders() {
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) ::_exit(CloseFolder("") ? 0 : 1);
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

FirebirdServer::FirebirdServer(const std::vector<int>& users, bool closedFolder) : closed_(closedFolder) {
  if (::access(kServerProgram, X_OK) != 0)
    throw std::runtime_error(std::string(kServerProgram) + " is missing: install firebird3.0-server");
  if (closed_) std::filesystem::create_directories(ClosedFolder());
  // A port taken between the choice and the server's bind: try another one.
  for (int attempt = 0; attempt < 5 && pid_ <= 0; ++attempt) {
    port_ = FreePort();
    std::string command = "'" KV_SOURCE_DIR "/scripts/fb-server.sh' prepare '" + dir_.Path() + "' " +
                          std::to_string(port_);
    for (int n : users) command += " " + std::to_string(n);
    if (std::system(command.c_str()) != 0) throw std::runtime_error("fb-server.sh prepare failed: " + command);
    sysdbaPassword_ = ReadFile(dir_ / "server/sysdba.password");
    while (!sysdbaPassword_.empty() && (sysdbaPassword_.back() == '\n' || sysdbaPassword_.back() == ' '))
      sysdbaPassword_.pop_back();
    Launch();
  }
  if (pid_ <= 0) throw std::runtime_error("the private Firebird server did not start; see " + dir_.Path());
  ::setenv("FIREBIRD", ClientFolder().c_str(), 1);
}

void FirebirdServer::Launch() {
  const std::string server = dir_ / "server", lock = dir_ / "server/lock", log = dir_ / "server/server.log";
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    // Dies with the test process, whatever ends it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    ::setenv("FIREBIRD", server.c_str(), 1);
    ::setenv("FIREBIRD_LOCK", lock.c_str(), 1);
    if (!std::freopen(log.c_str(), "w", stdout) || !std::freopen(log.c_str(), "a", stderr)) ::_exit(127);
    if (closed_ && !CloseFolder(ClosedFolder())) {
      std::perror("the closed folder");
      ::_exit(126);
    }
    ::execl(kServerProgram, kServerProgram, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  pid_ = pid;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    if (Listening(port_)) return;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) break;  // it ended: the port was taken
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Stop();
}

FirebirdServer::~FirebirdServer() { Stop(); }

void FirebirdServer::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  pid_ = -1;
}

void FirebirdServer::AsSysdba(const std::vector<std::string>& statements) const {
  fb::Attachment att(TestClient(), dir_ / "server/security3.fdb",
                     {"user_name=SYSDBA", "password=" + sysdbaPassword_}, "UTF8");
  for (const std::string& sql : statements) {
    fb::Transaction tr(att, fb::Isolation::WriteConsistency);
    fb::Statement st(tr, sql);
    st.Execute(tr);
    tr.Commit();
  }
}

}  // namespace kv::test
