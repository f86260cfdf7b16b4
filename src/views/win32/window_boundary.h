/*
** The boundary between the system and the views' window procedures. Nothing
** the views throw may unwind through the system's frames (the dispatcher, a
** modal loop, another program's SendMessage): every procedure is wrapped by
** Guarded, which parks what its body throws with the top-level window the
** receiving window belongs to. That window's message loop rethrows it once
** DispatchMessageW has returned.
*/
#pragma once

#include "platform/win32/wide.h"

#include <exception>

namespace kv::win32 {

using WindowBody = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

/* Errors thrown by the procedures of root's windows go to slot while it is
** attached; Guarded detaches it when root gets WM_NCDESTROY. */
void AttachParking(HWND root, std::exception_ptr* slot);
void DetachParking(HWND root);

/* Parks the exception being handled with w's top-level window. The first one
** waits until it is taken; later ones, and ones without a slot, are lost. */
void ParkCurrentException(HWND w) noexcept;

/* Rethrows what slot holds, and empties it. */
void RethrowParked(std::exception_ptr& slot);

template <WindowBody Body>
LRESULT CALLBACK Guarded(HWND w, UINT message, WPARAM wp, LPARAM lp) noexcept {
  LRESULT result = 0;
  try {
    result = Body(w, message, wp, lp);
  } catch (...) {
    ParkCurrentException(w);
  }
  if (message == WM_NCDESTROY) DetachParking(w);
  return result;
}

/* A window of the program's own; closing it destroys it with its children. */
struct WindowTraits {
  using Handle = HWND;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

/* BeginPaint and its EndPaint, which must follow whatever the painting does. */
class PaintScope {
 public:
  explicit PaintScope(HWND w) : w_(w), dc_(::BeginPaint(w, &ps_)) {}
  ~PaintScope() { ::EndPaint(w_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace kv::win32
