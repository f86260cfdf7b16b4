/*
** Measuring and printing.
*/
#include "support/measure.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace kv::bench {
namespace {

std::string Fixed(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

/* A "Name:  123 kB" line of /proc/self/status, -1 when missing. */
std::int64_t StatusKb(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(name, 0) == 0) return std::stoll(line.substr(name.size()));
  return -1;
}

/* Display width of UTF-8 text: one per code point. */
size_t Width(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace

std::string Ms(Nanos t, int decimals) { return Fixed(static_cast<double>(t.count()) / 1e6, decimals); }

std::string Ratio(Nanos a, Nanos b) {
  if (b.count() == 0) return "-";
  return Fixed(static_cast<double>(a.count()) / static_cast<double>(b.count()), 1) + "x";
}

std::string Percent(Nanos part, Nanos whole) {
  if (whole.count() == 0) return "-";
  return Fixed(100.0 * static_cast<double>(part.count()) / static_cast<double>(whole.count()), 1) + "%";
}

std::string Mb(std::int64_t kilobytes) { return Fixed(static_cast<double>(kilobytes) / 1024.0, 1) + " MB"; }

bool ResetPeakRss() {
  // Linux: "5" resets the process's resident high-water mark.
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.close();
  return static_cast<bool>(clear);
}

std::int64_t PeakRssKb() {
  const std::int64_t peak = StatusKb("VmHWM:");
  if (peak >= 0) return peak;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::int64_t CurrentRssKb() { return StatusKb("VmRSS:"); }

Nanos TimingCostPerCall() {
  // The same work as the client layer's call timer, around nothing.
  constexpr int kRounds = 1'000'000;
  Nanos total{0};
  std::uint64_t calls = 0;
  const auto start = Steady::now();
  for (int i = 0; i < kRounds; ++i) {
    const auto begin = Steady::now();
    total += Steady::now() - begin;
    ++calls;
  }
  const Nanos elapsed = Steady::now() - start;
  // Keep the loop's results alive.
  if (calls != kRounds || total.count() < 0) return Nanos{0};
  return elapsed / kRounds;
}

TextTable::TextTable(std::vector<std::string> header) { rows_.push_back(std::move(header)); rows_.emplace_back(); }

void TextTable::Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

void TextTable::Rule() { rows_.emplace_back(); }

std::string TextTable::Render() const {
  std::vector<size_t> widths;
  for (const auto& row : rows_)
    for (size_t i = 0; i < row.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], Width(row[i]));
    }
  size_t total = 0;
  for (size_t w : widths) total += w + 2;
  std::string out;
  for (const auto& row : rows_) {
    if (row.empty()) {
      out += std::string(total > 2 ? total - 2 : 0, '-') + "\n";
      continue;
    }
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      const std::string pad(widths[i] - Width(row[i]), ' ');
      if (i > 0) line += "  ";
      const bool left = i == 0 || (leftLast_ && i + 1 == widths.size());
      line += left ? row[i] + pad : pad + row[i];
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line + "\n";
  }
  return out;
}

}  // namespace kv::bench
