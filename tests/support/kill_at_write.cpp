/*
** A library preloaded into a process (LD_PRELOAD) that kills it with SIGKILL
** in the middle of the engine's own page writes: just before the k-th write to
** a database file (a name ending in ".fdb"), as a power cut or a crash would
** stop the engine inside a commit.
**
**   KV_KILL_AT_WRITE=k          kill before the k-th database write of the process
**   KV_WRITE_COUNT_FILE=path    append the number of database writes at exit
**
** A test program that links nothing of it can still aim at one commit: it
** looks up kv_database_writes and kv_kill_at_database_write with dlsym.
*/
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<long> writes{0};
std::atomic<long> killAt{-1};  // -1: not read from the environment yet; 0: never

long KillAt() {
  long k = killAt.load();
  if (k < 0) {
    const char* text = std::getenv("KV_KILL_AT_WRITE");
    k = text ? std::atol(text) : 0;
    long expected = -1;
    killAt.compare_exchange_strong(expected, k);
    k = killAt.load();
  }
  return k;
}

bool IsDatabase(int fd) {
  char link[64], path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, path, sizeof path - 1);
  return n > 4 && std::memcmp(path + n - 4, ".fdb", 4) == 0;
}

void BeforeWrite(int fd) {
  if (!IsDatabase(fd)) return;
  const long n = ++writes;
  const long k = KillAt();
  if (k > 0 && n == k) ::kill(::getpid(), SIGKILL);
}

template <class Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

struct CountAtExit {
  ~CountAtExit() {
    const char* path = std::getenv("KV_WRITE_COUNT_FILE");
    if (!path) return;
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    char line[32];
    const int len = std::snprintf(line, sizeof line, "%ld\n", writes.load());
    if (len > 0) (void)!::write(fd, line, static_cast<size_t>(len));
    ::close(fd);
  }
} countAtExit;

}  // namespace

extern "C" {

/* Database writes of this process so far. */
__attribute__((visibility("default"))) long kv_database_writes() { return writes.load(); }

/* Kills the process before the k-th database write from now (k >= 1). */
__attribute__((visibility("default"))) void kv_kill_at_database_write(long k) { killAt.store(writes.load() + k); }

__attribute__((visibility("default"))) ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t offset) {
  static const auto real = Next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  BeforeWrite(fd);
  return real(fd, buf, n, offset);
}

__attribute__((visibility("default"))) ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) {
  static const auto real = Next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  BeforeWrite(fd);
  return real(fd, buf, n, offset);
}

}  // extern "C"
