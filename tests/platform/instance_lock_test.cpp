// The instance lock: exclusive between processes, released when its holder dies.
#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace kv {
namespace {

TEST(InstanceLock, IsExclusiveBetweenProcessesAndFreedWhenTheHolderDies) {
  test::TempDir dir;
  const std::string path = dir / "kvupgrade.lock";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    auto held = TryLockInstance(path);
    const char c = held ? 'y' : 'n';
    (void)!::write(ready[1], &c, 1);
    ::pause();
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  EXPECT_EQ(TryLockInstance(path), nullptr);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  auto mine = TryLockInstance(path);
  EXPECT_NE(mine, nullptr);
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace kv
