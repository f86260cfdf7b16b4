/*
** An execution observer that kills its own process with SIGKILL at a chosen
** point of the n-th commit of a transaction that changed something (a commit
** of reads changes nothing, so a kill there equals a kill before the next
** change): right after it, or inside it, before the k-th write to a database
** file counted from the end of the changing commit before it. The second needs
** the preload library kv_kill_at_write (kill_at_write.cpp), found at run time;
** without it the observer only counts. For the crash tests and the crash
** sweep; n 0 never kills and only counts.
*/
#pragma once

#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "migration/fb/execution_observer.h"

namespace kv::test {

class CommitKiller final : public fb::ExecutionObserver {
 public:
  /* Kills right after the n-th changing commit. */
  explicit CommitKiller(int n) : n_(n) {}
  /* Kills before the k-th database write after the (n-1)-th changing commit
  ** (or from now, for n 1): inside the n-th commit when k is at most its
  ** number of writes (WritesPerCommit of an uninterrupted run). */
  CommitKiller(int n, long k) : n_(n), writeK_(k) {
    if (n_ == 1) ArmWriteKill();
  }

  void Executed(const std::string&, fb::ApiHandle transaction, const std::string&, std::span<const fb::ParamValue>,
                bool query) noexcept override {
    if (!query && std::find(dirty_.begin(), dirty_.end(), transaction) == dirty_.end()) dirty_.push_back(transaction);
  }
  void Committed(const std::string&, fb::ApiHandle transaction) noexcept override {
    const auto it = std::find(dirty_.begin(), dirty_.end(), transaction);
    if (it == dirty_.end()) return;
    dirty_.erase(it);
    ++seen_;
    const long writes = Writes();
    perCommit_.push_back(writes - lastWrites_);
    lastWrites_ = writes;
    if (writeK_ == 0 && seen_ == n_) kill(getpid(), SIGKILL);
    if (writeK_ > 0 && seen_ + 1 == n_) ArmWriteKill();
  }
  void RolledBack(const std::string&, fb::ApiHandle transaction) noexcept override {
    dirty_.erase(std::remove(dirty_.begin(), dirty_.end(), transaction), dirty_.end());
  }
  /* Changing commits seen so far. */
  int Seen() const { return seen_; }
  /* Database writes from the end of the changing commit before each changing
  ** commit to its end (all 0 without the preload library). */
  const std::vector<long>& WritesPerCommit() const { return perCommit_; }

 private:
  static long Writes() {
    static const auto count = reinterpret_cast<long (*)()>(::dlsym(RTLD_DEFAULT, "kv_database_writes"));
    return count ? count() : 0;
  }
  void ArmWriteKill() const {
    static const auto arm = reinterpret_cast<void (*)(long)>(::dlsym(RTLD_DEFAULT, "kv_kill_at_database_write"));
    if (arm) arm(writeK_);
  }

  int n_;
  long writeK_ = 0;
  int seen_ = 0;
  long lastWrites_ = Writes();
  std::vector<long> perCommit_;
  std::vector<fb::ApiHandle> dirty_;
};

}  // namespace kv::test
