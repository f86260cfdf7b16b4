/*
** Parking errors with the top-level window, as a window property.
*/
#include "views/win32/window_boundary.h"

namespace kv::win32 {
namespace {

constexpr const wchar_t* kParkingProperty = L"KvParkedError";

}  // namespace

void AttachParking(HWND root, std::exception_ptr* slot) { ::SetPropW(root, kParkingProperty, slot); }

void DetachParking(HWND root) { ::RemovePropW(root, kParkingProperty); }

void ParkCurrentException(HWND w) noexcept {
  HWND root = ::GetAncestor(w, GA_ROOT);
  auto* slot = static_cast<std::exception_ptr*>(::GetPropW(root ? root : w, kParkingProperty));
  if (slot && !*slot) *slot = std::current_exception();
}

void RethrowParked(std::exception_ptr& slot) {
  if (std::exception_ptr e = std::exchange(slot, nullptr)) std::rethrow_exception(e);
}

}  // namespace kv::win32
