/*
** The news window: what changed in the program, grouped by service pack on
** tabs. The same table decides whether the wizard's News button is emphasised.
*/
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct NewsEntry {
  std::int32_t key;        // the group: selects the tab
  std::int32_t build;      // build the entry belongs to
  std::string_view dateText;
  std::string_view text;   // may be empty; may hold line breaks
};

struct NewsTab {
  std::string_view caption;
  std::int32_t key;
};

/* The news table built into this release, in its order. */
std::span<const NewsEntry> NewsTable();

/* The tabs, in their order. */
std::span<const NewsTab> NewsTabs();

/* Caption of the tab selected when the window opens. */
inline constexpr std::string_view kNewsStartTab = "SP 5";

/* True when some entry of table has key servicePack and build build. */
bool IsNewsBuild(std::span<const NewsEntry> table, std::int32_t servicePack, std::int32_t build);
inline bool IsNewsBuild(std::int32_t servicePack, std::int32_t build) {
  return IsNewsBuild(NewsTable(), servicePack, build);
}

/* The memo lines of the tab captioned tabCaption (exact letter case): per
** entry of its key, in table order, "date. Сборка build", the text's lines
** (every line break starts a line) and an empty line. None for an unknown tab. */
std::vector<std::string> NewsLines(std::span<const NewsEntry> table, std::string_view tabCaption);

/* What the news logic needs from its window. */
class NewsView {
 public:
  virtual ~NewsView() = default;
  /* Replaces the tabs of TabControl1. */
  virtual void SetTabs(const std::vector<std::string>& captions) = 0;
  virtual void SelectTab(std::size_t index) = 0;
  virtual std::string SelectedTabCaption() const = 0;
  virtual void ClearMemo() = 0;
  virtual void AppendMemoLine(const std::string& line) = 0;
};

/* The handlers of the news window. */
class NewsForm {
 public:
  explicit NewsForm(NewsView& view, std::span<const NewsEntry> table = NewsTable()) : view_(view), table_(table) {}

  /* Sets the tabs, selects "SP 5" and lists its entries. */
  void FormCreate();
  /* Lists the entries of the selected tab in a cleared memo. */
  void TabControl1Change();

 private:
  NewsView& view_;
  std::span<const NewsEntry> table_;
};

}  // namespace kv
