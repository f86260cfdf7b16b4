/*
** Counting operations and advancing the gauge.
*/
#include "migration/progress.h"

#include <algorithm>

namespace kv {

void PackProgress::StepProgress(std::int32_t n) {
  kolvoOperation_ += n;
  if (!gauge_) return;
  const int max = gauge_->Maximum();
  gauge_->SetPosition(std::min(gauge_->Position() + n, max));
  if (gauge_->Position() >= max) {
    clock_.SleepMs(100);
    gauge_->SetPosition(0);
  }
}

}  // namespace kv
