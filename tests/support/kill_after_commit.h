/*
** An execution observer that kills its own process with SIGKILL right after
** the n-th commit of a transaction that changed something (a commit of reads
** changes nothing, so a kill there equals a kill before the next change).
** For the crash test and the crash sweep; n 0 never kills and only counts.
*/
#pragma once

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "migration/fb/execution_observer.h"

namespace kv::test {

class KillAfterCommit final : public fb::ExecutionObserver {
 public:
  explicit KillAfterCommit(int n) : n_(n) {}
  void Executed(const std::string&, fb::ApiHandle transaction, const std::string&, std::span<const fb::ParamValue>,
                bool query) noexcept override {
    if (!query && std::find(dirty_.begin(), dirty_.end(), transaction) == dirty_.end()) dirty_.push_back(transaction);
  }
  void Committed(const std::string&, fb::ApiHandle transaction) noexcept override {
    const auto it = std::find(dirty_.begin(), dirty_.end(), transaction);
    if (it == dirty_.end()) return;
    dirty_.erase(it);
    if (++seen_ == n_) kill(getpid(), SIGKILL);
  }
  void RolledBack(const std::string&, fb::ApiHandle transaction) noexcept override {
    dirty_.erase(std::remove(dirty_.begin(), dirty_.end(), transaction), dirty_.end());
  }
  /* Changing commits seen so far. */
  int Seen() const { return seen_; }

 private:
  int n_, seen_ = 0;
  std::vector<fb::ApiHandle> dirty_;
};

}  // namespace kv::test
