// The run log: its lines, and a failure that must not reach the run.
#include "startup/run_log.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "support/fakes.h"
#include "support/forwarding_file_system.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

class FullDisk final : public test::ForwardingFileSystem {
 public:
  void AppendToFile(const std::string&, std::string_view) override { throw FileError("no space left on device"); }
};

TEST(RunLog, LinesAreTimedAndAFailureEndsTheLogNotTheRun) {
  test::TempDir dir;
  test::FixedClock clock;
  RunLog log(RealFileSystem(), clock, dir.Path());
  EXPECT_EQ(log.Path(), dir / "kvupgrade-20261207-091502.log");
  log.Write("Пакет\rначат\nдалее");
  clock.Set({2026, 12, 7, 10, 0, 9});
  log.Write([] { return std::string("второй"); });
  EXPECT_EQ(test::ReadFile(log.Path()), "09:15:02 Пакет | начат\n         далее\n10:00:09 второй\n");

  // Making the text fails (memory): nothing is written, the caller goes on, the log is over.
  EXPECT_NO_THROW(log.Write([]() -> std::string { throw std::bad_alloc(); }));
  EXPECT_TRUE(log.Failed());
  log.Write("later");
  EXPECT_EQ(test::ReadFile(log.Path()), "09:15:02 Пакет | начат\n         далее\n10:00:09 второй\n");

  FullDisk full;
  RunLog unwritable(full, clock, dir.Path());
  unwritable.Write("line");
  EXPECT_TRUE(unwritable.Failed());
}

}  // namespace
}  // namespace kv
