// The table-format limit found before the first pack.
#include "migration/format_limit.h"

#include <gtest/gtest.h>

#include "support/demo_fixture.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

TEST(FormatLimit, NamesATableTheRemainingPacksWouldTakePastTheLimit) {
  test::DemoFixture f(0);
  EXPECT_FALSE(FindFormatExcess(f.services()));

  // Each change of a column gives the table a new format.
  std::vector<std::string> churn;
  for (int i = 0; i < 125; ++i) {
    churn.push_back("ALTER TABLE k_Razdel ADD Churn INTEGER");
    churn.push_back("ALTER TABLE k_Razdel DROP Churn");
  }
  test::Exec(f.paths().orders, churn);
  const std::optional<FormatExcess> excess = FindFormatExcess(f.services());
  ASSERT_TRUE(excess);
  EXPECT_EQ(excess->database, f.paths().orders);
  EXPECT_EQ(excess->table, "K_RAZDEL");
  EXPECT_GE(excess->formats, 250);
  EXPECT_NE(FormatExcessMessage(*excess).find("K_RAZDEL"), std::string::npos);

  // Once the database stands past the packs that change the table, it is no longer in the way.
  test::Exec(f.paths().orders, {"UPDATE kv_Setting SET ServicePack = 12"});
  test::Exec(f.paths().serverOrders, {"UPDATE kv_Setting SET ServicePack = 12"});
  EXPECT_FALSE(FindFormatExcess(f.services()));
}

}  // namespace
}  // namespace kv
