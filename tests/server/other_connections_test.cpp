// Another client connected to Orders.fdb through the server, holding a
// transaction that has read a table the first pack alters: the pre-run check
// names it and the run does not start; without the check, a client that keeps
// the table in table-stability mode holds the pack up only until its lock
// time-out.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/firebird_server.h"
#include "support/program_run.h"

namespace kv {
namespace {

/* kv_hold_database in a process of its own; leaves when destroyed. */
class OtherClient {
 public:
  OtherClient(const std::string& db, const std::string& table, const char* mode = nullptr) {
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      ::close(in[1]);
      ::close(out[0]);
      ::execl(KV_HOLD_DATABASE_EXE, KV_HOLD_DATABASE_EXE, db.c_str(), "1", table.c_str(), mode,
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    stdin_ = in[1];
    std::string said;
    char c;
    while (said.find('\n') == std::string::npos && ::read(out[0], &c, 1) == 1) said += c;
    ::close(out[0]);
    if (said != "ready\n") {
      Leave();
      throw std::runtime_error("the other client did not attach");
    }
  }
  ~OtherClient() { Leave(); }
  void Leave() {
    if (pid_ <= 0) return;
    ::close(stdin_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
};

/* The test build of the program: it reads the switches these tests set. */
test::ProgramRun Unattended(const test::DemoFixture& f) {
  return test::RunProgram(KV_UPGRADE_TEST_EXE, f, f.demo.registryPath, "--unattended");
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(OtherConnections, AnotherClientIsNamedAndTheRunDoesNotStart) {
  test::FirebirdServer server;
  test::DemoFixture f(0);
  const DatabasePaths& p = f.paths();
  OtherClient other(p.orders, "k_Razdel");

  const test::ProgramRun checked = Unattended(f);
  EXPECT_EQ(checked.status, 11) << checked.out << checked.err;
  const std::size_t named = checked.err.find(p.orders + ": 127.0.0.1, программа " KV_HOLD_DATABASE_EXE);
  EXPECT_NE(named, std::string::npos) << checked.err;
  EXPECT_EQ(checked.err.find("Base.fdb: 127.0.0.1"), std::string::npos) << "only Orders.fdb has another client";
  EXPECT_NE(checked.err.find("Обновление не начато, базы данных не изменены."), std::string::npos);
  EXPECT_EQ(test::QueryValue(p.orders, "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'K_RAZDEL' "
                                       "AND RDB$FIELD_NAME = 'OTSTUP1IN'"),
            "0");
  EXPECT_EQ(f.Level(p.base), "0/0");

  // Without the check the server lets the packs add columns to a table a
  // read-committed client has read: the run goes through beside it.
  ::setenv("KV_TEST_SKIP_CONNECTION_CHECK", "1", 1);
  const test::ProgramRun unchecked = Unattended(f);
  ::unsetenv("KV_TEST_SKIP_CONNECTION_CHECK");
  EXPECT_EQ(unchecked.status, 0) << unchecked.out << unchecked.err;
  EXPECT_EQ(f.Level(p.orders), "12/0");
}

TEST(OtherConnections, AClientKeepingATableInTableStabilityHoldsThePackUpOnlyUntilTheLockTimeOut) {
  test::FirebirdServer server;
  test::DemoFixture f(0);
  const DatabasePaths& p = f.paths();
  ::setenv("KV_TEST_SKIP_CONNECTION_CHECK", "1", 1);
  ::setenv("KV_TEST_LOCK_TIMEOUT", "1", 1);
  {
    OtherClient other(p.orders, "k_Razdel", "consistency");
    const test::ProgramRun held = Unattended(f);
    EXPECT_EQ(held.status, 4) << held.out << held.err;
    EXPECT_NE(held.err.find(p.orders + ": unsuccessful metadata update"), std::string::npos) << held.err;
    // One wait for the database, not one per statement of the pack.
    EXPECT_EQ(Count(held.err, "lock time-out on wait transaction"), 1u) << held.err;
    EXPECT_NE(held.err.find("Установка невозможна"), std::string::npos) << held.err;
    EXPECT_EQ(f.Level(p.orders), "0/0");
    const std::string log = test::ReadFile(test::NewestRunLog(f.installation()));
    EXPECT_NE(log.find(p.orders + ": обработана с ошибками (1), уровень 0 -> 0"), std::string::npos) << log;
    EXPECT_EQ(log.find(p.orders + ": обновлена"), std::string::npos) << "a held-up database is not reported upgraded";
  }
  const test::ProgramRun later = Unattended(f);
  ::unsetenv("KV_TEST_SKIP_CONNECTION_CHECK");
  ::unsetenv("KV_TEST_LOCK_TIMEOUT");
  EXPECT_EQ(later.status, 0) << later.out << later.err;
  EXPECT_EQ(f.Level(p.orders), "12/0");
}

}  // namespace
}  // namespace kv
