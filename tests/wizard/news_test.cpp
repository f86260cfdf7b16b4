// The news window: its tabs and their entries.
#include "wizard/news.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using Strings = std::vector<std::string>;

class RecordingNewsView final : public NewsView {
 public:
  void SetTabs(const std::vector<std::string>& c) override { tabs = c; }
  void SelectTab(std::size_t i) override { selected = i; }
  std::string SelectedTabCaption() const override { return selected < tabs.size() ? tabs[selected] : ""; }
  void ClearMemo() override { memo.clear(); }
  void AppendMemoLine(const std::string& line) override { memo.push_back(line); }

  Strings tabs, memo;
  std::size_t selected = 99;
};

TEST(News, EachTabListsItsEntriesWithTheirLines) {
  EXPECT_EQ(NewsLines(NewsTable(), "SP 0"), (Strings{"22.01.2013. Сборка 0", ""}));
  // The entry's text is two line breaks: three lines of its own, then the empty line.
  EXPECT_EQ(NewsLines(NewsTable(), "SP 5"), (Strings{"20.05.2013. Сборка 0", "", "", "", ""}));
  EXPECT_TRUE(NewsLines(NewsTable(), "sp 5").empty());
  EXPECT_TRUE(NewsLines(NewsTable(), "SP 12").empty());

  const NewsEntry table[] = {
      {2, 7, "01.02.2014", "Первая\r\nвторая\nтретья\rчетвёртая"},
      {0, 1, "02.02.2014", ""},
      {2, 8, "03.02.2014", "ещё\r\n"},
  };
  EXPECT_EQ(NewsLines(table, "SP 5"), (Strings{"01.02.2014. Сборка 7", "Первая", "вторая", "третья", "четвёртая", "",
                                               "03.02.2014. Сборка 8", "ещё", "", ""}));
}

TEST(News, WindowOpensOnSp5AndSwitchingTabsListsAfresh) {
  RecordingNewsView view;
  NewsForm form(view);
  form.FormCreate();
  EXPECT_EQ(view.tabs, (Strings{"SP 0", "SP 5"}));
  EXPECT_EQ(view.SelectedTabCaption(), "SP 5");
  EXPECT_EQ(view.memo, NewsLines(NewsTable(), "SP 5"));

  view.SelectTab(0);
  form.TabControl1Change();
  EXPECT_EQ(view.memo, NewsLines(NewsTable(), "SP 0"));
  view.SelectTab(1);
  form.TabControl1Change();
  EXPECT_EQ(view.memo, NewsLines(NewsTable(), "SP 5"));
}

TEST(News, NewsBuildIsAnEntryOfThatKeyAndBuild) {
  EXPECT_FALSE(IsNewsBuild(12, 0));  // this release has no news of its own
  EXPECT_TRUE(IsNewsBuild(0, 0));
  EXPECT_TRUE(IsNewsBuild(2, 0));
  EXPECT_FALSE(IsNewsBuild(2, 1));
  const NewsEntry table[] = {{12, 0, "01.06.2013", ""}};
  EXPECT_TRUE(IsNewsBuild(table, 12, 0));
}

}  // namespace
}  // namespace kv
