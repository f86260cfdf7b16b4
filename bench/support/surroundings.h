/*
** The surroundings a database context needs, for benchmarks: the tests' clock
** that records the pauses the program makes instead of sleeping and their
** operator that collects what would be shown (anything shown means that a
** step failed or a check spoke up), and a gauge that only keeps its position.
*/
#pragma once

#include "migration/progress.h"
#include "support/fakes.h"

namespace kv::bench {

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
