// Every operation that commits more than once, killed after each of its own
// commits and run again, ends exactly where it ends when nothing interrupts it;
// so does every kind of schema change killed inside the engine's own page
// writes of each of its commits, where the engine can leave half a change.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/crash_ops.h"
#include "support/fb_test_db.h"
#include "support/schema_snapshot.h"

namespace kv {
namespace {

std::string State(const std::string& path) { return test::SchemaSnapshot(path) + test::RowsSnapshot(path); }

/* Runs op on the database at path; the progress steps it counted. */
std::int32_t RunHere(test::MigrationHarness& h, const std::string& path, const std::string& op) {
  std::unique_ptr<TDM1> dm = h.NewContext();
  EXPECT_TRUE(dm->OpenDataBase(path));
  const std::int32_t before = dm->KolvoOperation();
  test::RunCrashOperation(*dm, op);
  return dm->KolvoOperation() - before;
}

/* What op does uninterrupted on a fresh database of its own: the state it
** ends in and the steps it counts. */
struct Uninterrupted {
  std::string state;
  std::int32_t steps = 0;
};
Uninterrupted RunUninterrupted(test::MigrationHarness& h, const std::string& op) {
  const std::string reference = h.Db(op + "-reference.fdb");
  test::SetUpCrashOperation(reference, op);
  const std::int32_t steps = RunHere(h, reference, op);
  return {State(reference), steps};
}

TEST(CrashSafety, EachOperationKilledAfterAnyOfItsCommitsEndsWhereAnUninterruptedRunEnds) {
  test::MigrationHarness h;
  for (const std::string& op : test::CrashOperations()) {
    SCOPED_TRACE(op);
    const std::string expected = RunUninterrupted(h, op).state;

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

/* The operation run to its end in a child that counts: the database writes up
** to each of its changing commits. */
std::vector<long> WritesPerCommit(test::MigrationHarness& h, const std::string& op) {
  const std::string path = h.Db(op + "-count.fdb");
  test::SetUpCrashOperation(path, op);
  const std::string out = path + ".writes";
  const int raw = std::system(("LD_PRELOAD='" KV_KILL_AT_WRITE_LIB "' '" KV_CRASH_CHILD "' '" + path + "' " + op +
                               " 0 >'" + out + "'")
                                  .c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << "status " << raw;
  std::istringstream in(RealFileSystem().ReadFile(out));
  std::vector<long> writes;
  for (long w; in >> w;) writes.push_back(w);
  return writes;
}

TEST(CrashSafety, EachKindOfSchemaChangeKilledInsideItsCommitsEndsWhereAnUninterruptedRunEnds) {
  test::MigrationHarness h;
  for (const std::string& op : test::DdlOperations()) {
    SCOPED_TRACE(op);
    const auto [expected, steps] = RunUninterrupted(h, op);

    const std::vector<long> writes = WritesPerCommit(h, op);
    ASSERT_FALSE(writes.empty()) << "no changing commit counted";
    ASSERT_GT(writes.front(), 0) << "no database write counted: is the preload library there?";
    int kills = 0;
    for (std::size_t n = 1; n <= writes.size(); ++n) {
      // The first write, the last, and two between: the engine's page writes of
      // one commit come in a few phases (its own records, the new pages, the
      // commit mark, the clean-up after it).
      const long w = writes[n - 1];
      std::vector<long> points = {1, std::max(1L, w / 3), std::max(1L, 2 * w / 3), w};
      points.erase(std::unique(points.begin(), points.end()), points.end());
      for (long k : points) {
        const std::string at = std::to_string(n) + "-" + std::to_string(k);
        SCOPED_TRACE("killed at database write " + std::to_string(k) + " of " + std::to_string(w) + " up to commit " +
                     std::to_string(n));
        const std::string path = h.Db(op + "-in-" + at + ".fdb");
        test::SetUpCrashOperation(path, op);
        const int raw = std::system(("exec env LD_PRELOAD='" KV_KILL_AT_WRITE_LIB "' '" KV_CRASH_CHILD "' '" + path +
                                     "' " + op + " " + std::to_string(n) + " " + std::to_string(k) + " >/dev/null")
                                        .c_str());
        // The engine's page writes vary a little from run to run: a point past
        // the last of them lets the operation end by itself.
        ASSERT_TRUE(WIFSIGNALED(raw) || WIFEXITED(raw)) << "status " << raw;
        if (WIFSIGNALED(raw)) ++kills;
        // What was cut short is completed, and counted as done.
        EXPECT_EQ(RunHere(h, path, op), steps);
        EXPECT_EQ(State(path), expected);
        // What the engine left is not only repaired but sound: a backup reads it.
        EXPECT_NO_THROW(test::VerifyReadable(path));
      }
    }
    EXPECT_GE(kills, static_cast<int>(writes.size())) << "each commit was cut into at least once";
  }
}

}  // namespace
}  // namespace kv
