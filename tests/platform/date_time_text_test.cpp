// The one date-time formatter every log, folder and result file uses.
#include <gtest/gtest.h>

#include "platform/date_time_text.h"

namespace kv {
namespace {

TEST(DateTimeText, FieldsArePaddedAndEverythingElseStands) {
  const LocalDateTime t{2026, 3, 7, 9, 5, 4};
  EXPECT_EQ(FormatLocal(t, "dd.MM.yyyy HH:mm:ss"), "07.03.2026 09:05:04");
  EXPECT_EQ(FormatLocal(t, "yyyyMMdd-HHmmss"), "20260307-090504");
  EXPECT_EQ(FormatLocal(t, "yyyy-MM-ddTHH:mm:ss"), "2026-03-07T09:05:04");
  // Minutes and months differ only in case; a lone letter is no field.
  EXPECT_EQ(FormatLocal(t, "mm/MM y M"), "05/03 y M");
  EXPECT_EQ(FormatLocal({987, 12, 31, 23, 59, 59}, "yyyy|HH"), "0987|23");
}

}  // namespace
}  // namespace kv
