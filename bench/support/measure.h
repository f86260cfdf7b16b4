/*
** Measuring and printing: elapsed time, peak resident memory, the cost of the
** client layer's own timing, and plain text tables.
*/
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace kv::bench {

using Steady = std::chrono::steady_clock;
using Nanos = std::chrono::nanoseconds;

/* Milliseconds with the given number of decimals, e.g. "12.3". */
std::string Ms(Nanos t, int decimals = 1);
/* a / b with one decimal and "x", e.g. "1.4x"; "-" when b is zero. */
std::string Ratio(Nanos a, Nanos b);
/* part / whole as a percentage with one decimal, e.g. "3.2%". */
std::string Percent(Nanos part, Nanos whole);
/* Megabytes with one decimal. */
std::string Mb(std::int64_t kilobytes);

/* Starts a new measurement of this process's peak resident memory: the peak
** is set back to what is resident now. False when the system cannot. */
bool ResetPeakRss();
/* This process's peak resident memory since the last reset (or its start),
** and what is resident now, in kilobytes. */
std::int64_t PeakRssKb();
std::int64_t CurrentRssKb();

/* What one timed call into the client library costs the client layer itself
** (two clock readings and two additions), measured on this machine. */
Nanos TimingCostPerCall();

/* A text table: the first column left-aligned, the others right-aligned
** unless told otherwise. */
class TextTable {
 public:
  explicit TextTable(std::vector<std::string> header);
  /* The last column is left-aligned (a column of words, not numbers). */
  void LeftAlignLast() { leftLast_ = true; }
  void Add(std::vector<std::string> row);
  /* A rule under the rows added so far. */
  void Rule();
  std::string Render() const;

 private:
  std::vector<std::vector<std::string>> rows_;  // an empty row is a rule
  bool leftLast_ = false;
};

}  // namespace kv::bench
