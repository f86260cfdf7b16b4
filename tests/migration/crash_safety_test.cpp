// Every operation that commits more than once, killed after each of its own
// commits and run again, ends exactly where it ends when nothing interrupts it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/crash_ops.h"
#include "support/fb_test_db.h"
#include "support/schema_snapshot.h"

namespace kv {
namespace {

std::string State(const std::string& path) { return test::SchemaSnapshot(path) + test::RowsSnapshot(path); }

void RunHere(test::MigrationHarness& h, const std::string& path, const std::string& op) {
  std::unique_ptr<TDM1> dm = h.NewContext();
  ASSERT_TRUE(dm->OpenDataBase(path));
  test::RunCrashOperation(*dm, op);
}

TEST(CrashSafety, EachOperationKilledAfterAnyOfItsCommitsEndsWhereAnUninterruptedRunEnds) {
  test::MigrationHarness h;
  for (const std::string& op : test::CrashOperations()) {
    SCOPED_TRACE(op);
    const std::string reference = h.Db(op + "-reference.fdb");
    test::SetUpCrashOperation(reference, op);
    RunHere(h, reference, op);
    const std::string expected = State(reference);

    int kills = 0;
    for (int n = 1;; ++n) {
      SCOPED_TRACE("killed after commit " + std::to_string(n));
      const std::string path = h.Db(op + "-" + std::to_string(n) + ".fdb");
      test::SetUpCrashOperation(path, op);
      const int raw = std::system(("exec '" KV_CRASH_CHILD "' '" + path + "' " + op + " " + std::to_string(n)).c_str());
      if (WIFEXITED(raw) && WEXITSTATUS(raw) == 0) break;  // fewer commits than n: every one was tried
      ASSERT_TRUE(WIFSIGNALED(raw) || (WIFEXITED(raw) && WEXITSTATUS(raw) > 128)) << "status " << raw;
      ++kills;
      RunHere(h, path, op);
      EXPECT_EQ(State(path), expected);
      ASSERT_LT(n, 20) << "an operation of this test commits fewer times";
    }
    EXPECT_GE(kills, op == "column-add" ? 1 : 2) << "the operation commits more than once";
  }
}

}  // namespace
}  // namespace kv
