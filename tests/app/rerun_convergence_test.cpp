// After any failed run, the next run completes and the one after it changes
// nothing: a run killed inside the engine's own page writes, a run a held
// database stopped, a run whose pack failed.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/program_run.h"

namespace kv {
namespace {

TEST(RerunConvergence, AfterAnyFailedRunTheNextCompletesAndTheOneAfterChangesNothing) {
  struct Case {
    const char* what;
    int status;  // of the failed run
    std::string environment;
    std::function<void(const DatabasePaths&)> spoil, mend;
  };
  std::unique_ptr<test::TestSession> holder;
  // Price's version record refuses the first pack's level write.
  const std::vector<std::string> refuseLevel = {
      "CREATE EXCEPTION no_level 'no level'",
      "CREATE TRIGGER no_level FOR kv_Setting BEFORE UPDATE AS BEGIN EXCEPTION no_level; END"};
  const Case cases[] = {
      // The whole program is killed with SIGKILL before one of its page writes,
      // in the middle of the first packs' schema changes.
      {"killed inside a commit", 128 + SIGKILL,
       "LD_PRELOAD='" KV_KILL_AT_WRITE_LIB "' KV_KILL_AT_WRITE=2500", [](const DatabasePaths&) {},
       [](const DatabasePaths&) {}},
      {"a database held by another program", 4, "",
       [&](const DatabasePaths& p) { holder = std::make_unique<test::TestSession>(p.orders); },
       [&](const DatabasePaths&) { holder.reset(); }},
      {"a failed pack", 4, "", [&](const DatabasePaths& p) { test::Exec(p.price, refuseLevel); },
       [](const DatabasePaths& p) { test::Exec(p.price, {"DROP TRIGGER no_level", "DROP EXCEPTION no_level"}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::DemoFixture f(0);
    const DatabasePaths& p = f.paths();
    const std::string registry = f.demo.registryPath;
    c.spoil(p);
    const test::ProgramRun failed = test::RunProgram(KV_UPGRADE_EXE, f, registry, "--unattended", c.environment);
    c.mend(p);
    // The launcher passes on how its copy in the version folder ended.
    EXPECT_NE(failed.status, 0);
    if (c.status < 128) {
      EXPECT_EQ(failed.status, c.status) << failed.err;
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // a run log of its own
    const test::ProgramRun next = test::RunProgram(KV_UPGRADE_EXE, f, registry, "--unattended");
    ASSERT_EQ(next.status, 0) << next.err;
    const std::string contents = f.Contents();
    for (const std::string& db : {p.base, p.config, p.orders, p.director, p.price, p.stockMan, p.system})
      EXPECT_EQ(f.Level(db), "12/0") << db;

    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const test::ProgramRun after = test::RunProgram(KV_UPGRADE_EXE, f, registry, "--unattended");
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(f.Contents(), contents);
  }
}

}  // namespace
}  // namespace kv
