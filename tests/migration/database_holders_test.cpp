// The idle attachments that hold the databases open during a walk: there
// while packs run, and gone after the walk however it ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "migration/catalogue_walk.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

/* User attachments to path other than the one asking. */
int OtherAttachments(const std::string& path) {
  return std::stoi(test::QueryValue(path, "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0 "
                                          "AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
}

class CountingObserver final : public RunObserver {
 public:
  explicit CountingObserver(const test::DemoFixture& f, bool throwAtFirstPack = false)
      : f_(f), throw_(throwAtFirstPack) {}
  void StepSkipped(const packs::RunStep&) override {}
  void RemoveTemporaryOrders(const packs::RunStep&) override {}
  void PackStarting(const packs::RunStep&, const packs::RunPack&) override {
    // Between packs no context is open: what is attached is the holder.
    heldDuringWalk = std::max(heldDuringWalk, OtherAttachments(f_.paths().base));
    if (throw_) throw std::runtime_error("observer failed");
  }
  int heldDuringWalk = 0;

 private:
  const test::DemoFixture& f_;
  bool throw_;
};

void ExpectNothingHeld(const test::DemoFixture& f, const char* how) {
  for (const std::string& db : f.demo.databases)
    if (std::filesystem::exists(db)) {
      EXPECT_EQ(OtherAttachments(db), 0) << how << ": " << db;
    }
}

TEST(DatabaseHolders, HoldDuringTheWalkAndAreReleasedWhenItSucceedsFailsOrThrows) {
  {
    test::DemoFixture f(12);
    CountingObserver observer(f);
    const WalkResult r = WalkRunOrder(f.services(), observer);
    ASSERT_EQ(r.failed, nullptr);
    EXPECT_EQ(observer.heldDuringWalk, 1);
    EXPECT_EQ(f.services().holders, nullptr);
    ExpectNothingHeld(f, "success");
  }
  {
    test::DemoFixture f(8);
    test::Exec(f.paths().stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
    CountingObserver observer(f);
    const WalkResult r = WalkRunOrder(f.services(), observer);
    ASSERT_NE(r.failed, nullptr);
    EXPECT_EQ(observer.heldDuringWalk, 1);
    ExpectNothingHeld(f, "failed pack");
  }
  {
    test::DemoFixture f(12);
    CountingObserver observer(f, true);
    EXPECT_THROW(WalkRunOrder(f.services(), observer), std::runtime_error);
    EXPECT_EQ(f.services().holders, nullptr);
    ExpectNothingHeld(f, "exception");
  }
}

}  // namespace
}  // namespace kv
