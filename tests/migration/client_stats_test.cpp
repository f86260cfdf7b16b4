// The client library's call totals and the observer of the statements run through it.
#include "migration/fb/client_stats.h"

#include <gtest/gtest.h>

#include <map>

#include "migration/fb/attachment.h"
#include "migration/fb/error.h"
#include "migration/fb/statement.h"
#include "migration/fb/transaction.h"
#include "startup/database_paths.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

using fb::ClientCall;
using test::TempDir;
using test::TestClient;

std::vector<std::string> Owner() { return {"user_name=kv5.1", "password=" + InstallationPassword(1)}; }

TEST(ClientStats, CountsAndTimesEveryCallByKind) {
  TempDir dir;
  const std::string path = dir.Path() + "stats.fdb";
  test::CreateTestDatabase(path, {"CREATE TABLE T (A INTEGER, B VARCHAR(10))"});

  const fb::ClientStats before = TestClient().stats();
  {
    fb::Attachment att(TestClient(), path, Owner(), "UTF8");
    fb::Transaction tr(att, fb::Isolation::WriteConsistency);
    fb::Statement insert(tr, "INSERT INTO T VALUES (:p0, :p1)");
    for (int i = 0; i < 3; ++i) {
      insert.SetInt(0, i);
      insert.SetText(1, "x");
      insert.Execute(tr);
    }
    tr.Commit();
    fb::Transaction read(att, fb::Isolation::ReadCommittedNoWait);
    fb::Statement select(read, "SELECT A FROM T");
    select.Execute(read);
    while (select.Fetch()) {
    }
    // read is rolled back by its destructor, then the attachment detaches.
  }
  EXPECT_THROW(fb::Attachment(TestClient(), dir.Path() + "missing.fdb", Owner(), "UTF8"), fb::Error);
  const fb::ClientStats d = TestClient().stats() - before;

  EXPECT_EQ(d.Attachments(), 2u);  // a refused attachment is a call all the same
  EXPECT_EQ(d[ClientCall::Detach].calls, 1u);
  EXPECT_EQ(d.Commits(), 1u);
  EXPECT_EQ(d[ClientCall::Rollback].calls, 1u);
  EXPECT_EQ(d[ClientCall::Start].calls, 2u);
  EXPECT_EQ(d[ClientCall::Execute].calls, 4u);
  EXPECT_EQ(d[ClientCall::Fetch].calls, 4u);  // three rows and the end
  EXPECT_GT(d[ClientCall::Prepare].calls, 2u);
  EXPECT_GT(d[ClientCall::Attach].time.count(), 0);
  EXPECT_GT(d[ClientCall::Commit].time.count(), 0);

  fb::CallTotals sum;
  for (std::size_t k = 0; k < fb::kClientCallKinds; ++k) {
    sum.calls += d[static_cast<ClientCall>(k)].calls;
    sum.time += d[static_cast<ClientCall>(k)].time;
  }
  EXPECT_EQ(d.Total().calls, sum.calls);
  EXPECT_EQ(d.Total().time, sum.time);
}

/* Records what it is told, one line per event. */
class Recorder final : public fb::ExecutionObserver {
 public:
  void Executed(const std::string& db, fb::ApiHandle tr, const std::string& text,
                std::span<const fb::ParamValue> params, bool query) noexcept override {
    std::string line = Name(db, tr) + (query ? " query " : " exec ") + text;
    for (const fb::ParamValue& p : params) {
      if (auto* n = std::get_if<std::int32_t>(&p)) line.append(" ").append(std::to_string(*n));
      if (auto* t = std::get_if<std::string>(&p)) line.append(" '").append(*t).append("'");
    }
    events.push_back(line);
  }
  void Committed(const std::string& db, fb::ApiHandle tr) noexcept override {
    events.push_back(Name(db, tr) + " commit");
    active_.erase(db + "#" + std::to_string(tr));
  }
  void RolledBack(const std::string& db, fb::ApiHandle tr) noexcept override {
    events.push_back(Name(db, tr) + " rollback");
    active_.erase(db + "#" + std::to_string(tr));
  }

  std::vector<std::string> events;

 private:
  // Transactions numbered in the order they were first seen; an ended one's
  // handle may come back for a later transaction.
  std::string Name(const std::string& db, fb::ApiHandle tr) {
    auto [it, added] =
        active_.try_emplace(db + "#" + std::to_string(tr), std::string("t").append(std::to_string(next_)));
    if (added) ++next_;
    return it->second;
  }
  std::map<std::string, std::string> active_;
  int next_ = 0;
};

TEST(ExecutionObserver, HearsSucceededStatementsWithValuesAndHowTransactionsEnd) {
  TempDir dir;
  const std::string path = dir.Path() + "observed.fdb";
  test::CreateTestDatabase(path, {"CREATE TABLE T (A INTEGER NOT NULL, B VARCHAR(10))"});
  Recorder recorder;
  fb::Client& client = test::ObservableTestClient();
  client.SetObserver(&recorder);
  {
    fb::Attachment att(client, path, Owner(), "UTF8");
    {
      fb::Transaction tr(att, fb::Isolation::WriteConsistency);
      fb::Statement st(tr, "UPDATE T SET B = :p1 WHERE A = :p0");
      st.SetInt(0, 7);
      st.SetText(1, "it's");
      st.Execute(tr);
      fb::Statement bad(tr, "INSERT INTO T (B) VALUES ('no key')");
      EXPECT_THROW(bad.Execute(tr), fb::Error);  // a failed statement is not heard
      tr.Commit();
    }
    {
      fb::Transaction tr(att, fb::Isolation::WriteConsistency);
      fb::Statement st(tr, "DELETE FROM T");
      st.Execute(tr);
      tr.Rollback();
    }
    fb::Transaction read(att, fb::Isolation::ReadCommittedNoWait);
    fb::Statement q(read, "SELECT COUNT(*) FROM T");
    q.Execute(read);
    read.Commit();
  }
  client.SetObserver(nullptr);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{
                                 "t0 exec UPDATE T SET B = :p1 WHERE A = :p0 7 'it's'",
                                 "t0 commit",
                                 "t1 exec DELETE FROM T",
                                 "t1 rollback",
                                 "t2 query SELECT COUNT(*) FROM T",
                                 "t2 commit",
                             }));
}

}  // namespace
}  // namespace kv
