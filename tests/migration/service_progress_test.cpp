// The service's verbose output read for the operator's label (what a long
// backup or restore is busy with, not too often) and for its failures.
#include "migration/service_progress.h"

#include <gtest/gtest.h>

#include "migration/fb/service.h"

namespace kv {
namespace {

using namespace std::chrono_literals;
using Shown = std::vector<std::string>;

/* Feeds lines, each at the given milliseconds, and collects what is shown. */
Shown Feed(const std::vector<std::pair<int, std::string>>& lines) {
  ServiceProgress progress;
  const ServiceProgress::TimePoint start{};
  Shown shown;
  for (const auto& [ms, line] : lines)
    if (auto text = progress.Read(line, start + std::chrono::milliseconds(ms))) shown.push_back(*text);
  return shown;
}

TEST(ServiceProgress, NamesTheTableWithItsRowsThenEachIndexNoMoreOftenThanTwiceASecond) {
  // A restore as the service writes it (the command-line tool's "gbak:" prefix included).
  EXPECT_EQ(Feed({{0, "gbak:restoring table O_PAID "},
                  {1, "gbak:    restoring column SUMMA "},
                  {2, "gbak:restoring data for table K_RAZDEL "},
                  {3, "gbak:   120 records restored"},
                  {10, "gbak:restoring data for table O_PAID "},
                  {400, "gbak:   10000 records restored"},
                  {900, "gbak:   20000 records restored"},
                  {950, "gbak:   30000 records restored"},
                  {1500, "gbak:   40000 records restored"},
                  {1500, "gbak:   40000 records restored"},
                  {1501, "gbak:    activating and creating deferred index PK_K_RAZDEL "},
                  {1502, "gbak:    activating and creating deferred index IX_O_PAID_DATE "},
                  {1600, "gbak:finishing, closing, and going home "}}),
            (Shown{"таблица K_RAZDEL", "таблица O_PAID, 20000 записей", "таблица O_PAID, 40000 записей",
                   "индекс PK_K_RAZDEL", "индекс IX_O_PAID_DATE"}));
  // A backup, through the service without the prefix.
  EXPECT_EQ(Feed({{0, "    writing data for table STOCK "}, {700, "10000 records written"}, {701, "writing triggers"}}),
            (Shown{"таблица STOCK", "таблица STOCK, 10000 записей"}));
  EXPECT_TRUE(Feed({{0, "readied database x.fdb for backup"}, {1, "12 records written"}}).empty())
      << "a count before any table belongs to nothing shown";
}

TEST(ServiceOutput, AnErrorLineOrAVolumePromptIsAFailure) {
  EXPECT_TRUE(fb::IsServiceFailureLine("ERROR: Backup incomplete"));
  EXPECT_TRUE(fb::IsServiceFailureLine("gbak: ERROR:Unexpected end of file"));
  EXPECT_TRUE(fb::IsServiceFailureLine("Done with volume #0, \"/b/01-Base.fdb.fbk\""));
  EXPECT_TRUE(fb::IsServiceFailureLine("\tPress return to reopen that file, or type a new"));
  EXPECT_FALSE(fb::IsServiceFailureLine("gbak:restoring data for table ERRORS "));
  EXPECT_FALSE(fb::IsServiceFailureLine("gbak:finishing, closing, and going home "));
}

}  // namespace
}  // namespace kv
