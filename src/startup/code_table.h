/*
** The table of event codes of the register log: for each code, how the caption
** of its log line is formed.
*/
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kv {

/* How a log line's caption is formed from the row's text. */
enum class CaptionKind : int {
  Text = 0,            // the text alone
  TextTitle = 10,      // text + " " + application title
  TextPath = 11,       // text + ": " + program's own path
  TextCount = 20,      // text + " " + detail number
  TitleTextCount = 21, // title + ". " + text + " " + detail number
  DashCount = 22,      // "-" + detail number
};

struct CodeRow {
  std::int32_t code;
  CaptionKind kind;
  std::string_view text;
};

/* The rows in table order. */
std::span<const CodeRow> CodeTable();

}  // namespace kv
