/*
** The operation counter of the running service pack and the gauge that
** follows it. One instance lives for the whole program run.
*/
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace kv {

/* The progress bar the counter drives; its position stays within 0..maximum. */
class Gauge {
 public:
  virtual ~Gauge() = default;
  virtual int Position() const = 0;
  virtual int Maximum() const = 0;
  virtual void SetPosition(int position) = 0;
};

class PackProgress {
 public:
  /* gauge may be null (nothing to show); pauses go through clock. */
  PackProgress(Gauge* gauge, Clock& clock) : gauge_(gauge), clock_(clock) {}

  /* Adds n to KolvoOperation and to the gauge; a gauge that reaches its maximum
  ** stays full for 100 ms and starts again from 0. */
  void StepProgress(std::int32_t n);

  std::int32_t KolvoOperation() const { return kolvoOperation_; }
  /* Set to 0 before each pack. */
  void ResetKolvoOperation() { kolvoOperation_ = 0; }

  void SetGauge(Gauge* gauge) { gauge_ = gauge; }

 private:
  Gauge* gauge_;
  Clock& clock_;
  std::int32_t kolvoOperation_ = 0;
};

}  // namespace kv
