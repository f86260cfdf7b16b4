/*
** One owner for every kind of C handle: a file descriptor, a conversion
** descriptor, a loaded library, a client-library handle. The kind is a small
** traits type:
**
**   struct FdTraits {
**     using Handle = int;
**     static Handle None() { return -1; }          // the value that owns nothing
**     int Close(Handle h) const { return ::close(h); }
**   };
**   using UniqueFd = UniqueHandle<FdTraits>;
**
** Close may be a member that uses state of the traits object (the owner keeps
** a copy), for handles whose close function is only known at run time.
*/
#pragma once

#include <type_traits>
#include <utility>

namespace kv {

template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Traits traits) : traits_(std::move(traits)) {}
  explicit UniqueHandle(Handle h, Traits traits = Traits{}) : traits_(std::move(traits)), h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : traits_(other.traits_), h_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      traits_ = other.traits_;
      h_ = other.Release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle Get() const { return h_; }
  /* For handles that point to a structure. */
  Handle operator->() const
    requires std::is_pointer_v<Handle>
  {
    return h_;
  }
  explicit operator bool() const { return h_ != Traits::None(); }

  /* Closes now and returns what the close function returns (a value-initialised
  ** result when nothing is owned), so that a failed close can be seen. */
  auto Close() {
    using Result = decltype(traits_.Close(h_));
    if constexpr (std::is_void_v<Result>) {
      if (*this) traits_.Close(Release());
    } else {
      return *this ? traits_.Close(Release()) : Result{};
    }
  }

  /* Closes what is owned, ignoring the result, and takes h instead. */
  void Reset(Handle h = Traits::None()) {
    const Handle old = std::exchange(h_, h);
    if (old != Traits::None()) traits_.Close(old);
  }

  /* Gives up ownership without closing. */
  [[nodiscard]] Handle Release() { return std::exchange(h_, Traits::None()); }

  /* Closes what is owned and returns the address for a call that opens a
  ** handle into it. */
  Handle* Put() {
    Reset();
    return &h_;
  }

  /* The owned handle's address, for calls that take a handle by address and
  ** may change it (a commit that clears it, for example). */
  Handle* Addr() { return &h_; }

  const Traits& traits() const { return traits_; }

 private:
  [[no_unique_address]] Traits traits_{};
  Handle h_ = Traits::None();
};

}  // namespace kv
