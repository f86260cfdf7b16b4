/*
** The surroundings a database context needs, for benchmarks: a clock that
** records the pauses the program makes instead of sleeping, an operator that
** collects what would be shown, and a gauge that only keeps its position.
*/
#pragma once

#include <string>
#include <vector>

#include "migration/progress.h"
#include "platform/clock.h"
#include "platform/dialog.h"

namespace kv::bench {

class RecordingClock final : public Clock {
 public:
  LocalDateTime Now() override { return {2026, 12, 7, 9, 15, 2}; }
  void SleepMs(int ms) override { pauses.push_back(ms); }
  std::vector<int> pauses;
};

/* Anything shown means that a step failed or a check spoke up. */
class CollectingDialog final : public OperatorDialog {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    shown.push_back(text);
    return true;
  }
  std::vector<std::string> shown;
};

class PlainGauge final : public Gauge {
 public:
  explicit PlainGauge(int maximum) : maximum_(maximum) {}
  int Position() const override { return position_; }
  int Maximum() const override { return maximum_; }
  void SetPosition(int position) override { position_ = position; }

 private:
  int maximum_;
  int position_ = 0;
};

}  // namespace kv::bench
