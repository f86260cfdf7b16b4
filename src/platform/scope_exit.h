/*
** Runs a clean-up when the scope ends, by return or by exception, unless it
** was released first (the work it undoes succeeded). The clean-up runs from a
** destructor and must not throw.
**
**   ScopeExit removePart([&] { fs.TryDeleteFile(part); });
**   ... write and close the part ...
**   removePart.Release();
*/
#pragma once

#include <utility>

namespace kv {

template <class F>
class [[nodiscard]] ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() {
    if (armed_) f_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  /* The clean-up will not run. */
  void Release() { armed_ = false; }

 private:
  F f_;
  bool armed_ = true;
};

}  // namespace kv
