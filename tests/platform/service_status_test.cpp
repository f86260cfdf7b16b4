// Whether a service runs, as systemctl tells it.
#include "platform/posix/systemd_service_status.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace kv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

/* A stand-in for systemctl that records its arguments and exits with status. */
std::string FakeSystemctl(const TempDir& dir, int status) {
  const std::string path = dir / "systemctl";
  WriteFile(path, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + dir.Path() +
                      "args\"\necho noise; echo noise >&2\nexit " + std::to_string(status) + "\n");
  ::chmod(path.c_str(), 0755);
  return path;
}

TEST(SystemdServiceStatus, ExitStatusOfIsActiveDecides) {
  TempDir dir;
  SystemdServiceStatus running({dir / "missing", FakeSystemctl(dir, 0)});
  EXPECT_EQ(running.Query("DODUVed"), ServiceQuery::Running);
  // The name is one argument after "--", never read as an option or by a shell.
  EXPECT_EQ(ReadFile(dir / "args"), "is-active\n--quiet\n--\nDODUVed\n");
  EXPECT_EQ(running.Query("-x; rm -rf /"), ServiceQuery::Running);
  EXPECT_EQ(ReadFile(dir / "args"), "is-active\n--quiet\n--\n-x; rm -rf /\n");

  for (int status : {1, 3, 4}) {
    TempDir d;
    EXPECT_EQ(SystemdServiceStatus({FakeSystemctl(d, status)}).Query("DODUVed"), ServiceQuery::Stopped) << status;
  }
}

TEST(SystemdServiceStatus, WithoutSystemctlNoServiceRuns) {
  TempDir dir;
  WriteFile(dir / "not-executable", "#!/bin/sh\nexit 0\n");
  ::chmod((dir / "not-executable").c_str(), 0644);
  EXPECT_EQ(SystemdServiceStatus({dir / "missing", dir / "not-executable"}).Query("DODUVed"),
            ServiceQuery::Unavailable);
  EXPECT_EQ(SystemdServiceStatus(std::vector<std::string>{}).Query("DODUVed"), ServiceQuery::Unavailable);
}

}  // namespace
}  // namespace kv
