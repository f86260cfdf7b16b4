/*
** The news table and its listing.
*/
#include "wizard/news.h"

namespace kv {
namespace {

constexpr NewsEntry kNews[] = {
    {0, 0, "22.01.2013", ""},
    {2, 0, "20.05.2013", "\r\n\r\n"},
};

constexpr NewsTab kTabs[] = {
    {"SP 0", 0},
    {"SP 5", 2},
};

/* The lines of text as a memo shows them: each CR LF, CR or LF ends a line,
** and the text after the last break is a line of its own (possibly empty). */
std::vector<std::string> MemoLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace

std::span<const NewsEntry> NewsTable() { return kNews; }

std::span<const NewsTab> NewsTabs() { return kTabs; }

bool IsNewsBuild(std::span<const NewsEntry> table, std::int32_t servicePack, std::int32_t build) {
  for (const NewsEntry& e : table)
    if (e.key == servicePack && e.build == build) return true;
  return false;
}

std::vector<std::string> NewsLines(std::span<const NewsEntry> table, std::string_view tabCaption) {
  std::vector<std::string> lines;
  for (const NewsTab& tab : kTabs) {
    if (tab.caption != tabCaption) continue;
    for (const NewsEntry& e : table) {
      if (e.key != tab.key) continue;
      lines.push_back(std::string(e.dateText) + ". " + "Сборка " + std::to_string(e.build));
      if (!e.text.empty())
        for (std::string& l : MemoLines(e.text)) lines.push_back(std::move(l));
      lines.emplace_back();
    }
  }
  return lines;
}

void NewsForm::FormCreate() {
  std::vector<std::string> captions;
  std::size_t start = 0;
  for (const NewsTab& tab : kTabs) {
    if (tab.caption == kNewsStartTab) start = captions.size();
    captions.emplace_back(tab.caption);
  }
  view_.SetTabs(captions);
  view_.SelectTab(start);
  TabControl1Change();
}

void NewsForm::TabControl1Change() {
  view_.ClearMemo();
  for (const std::string& line : NewsLines(table_, view_.SelectedTabCaption())) view_.AppendMemoLine(line);
}

}  // namespace kv
