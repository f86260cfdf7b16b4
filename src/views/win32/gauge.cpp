/*
** The gauge's state and drawing. The state lives in the window itself (a
** small structure behind GWLP_USERDATA, freed with the window), so any code
** holding the window handle can read it.
*/
#include "views/win32/gauge.h"

#include <algorithm>

#include "views/win32/window_boundary.h"

namespace kv::win32 {
namespace {

struct GaugeState {
  COLORREF bar;
  int maximum = 100;
  int progress = 0;
};

GaugeState* StateOf(HWND w) { return reinterpret_cast<GaugeState*>(::GetWindowLongPtrW(w, GWLP_USERDATA)); }

void Paint(HWND w, const GaugeState& s) {
  const PaintScope paint(w);
  HDC dc = paint.Dc();
  RECT box;
  ::GetClientRect(w, &box);
  ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  // A sunken edge: grey along the top and the left.
  HPEN grey = ::CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  HGDIOBJ old = ::SelectObject(dc, grey);
  ::MoveToEx(dc, box.left, box.bottom - 1, nullptr);
  ::LineTo(dc, box.left, box.top);
  ::LineTo(dc, box.right, box.top);
  ::SelectObject(dc, old);
  ::DeleteObject(grey);
  RECT inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
  if (s.maximum > 0 && s.progress > 0) {
    inner.right = inner.left + static_cast<LONG>(static_cast<long long>(inner.right - inner.left) * s.progress / s.maximum);
    HBRUSH fill = ::CreateSolidBrush(s.bar);
    ::FillRect(dc, &inner, fill);
    ::DeleteObject(fill);
  }
}

LRESULT GaugeProcedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_NCDESTROY:
      delete StateOf(w);
      ::SetWindowLongPtrW(w, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      if (GaugeState* s = StateOf(w)) {
        Paint(w, *s);
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(w, message, wp, lp);
}

}  // namespace

void RegisterGaugeClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kGaugeClass, &wc)) return;
  wc.lpfnWndProc = Guarded<GaugeProcedure>;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kGaugeClass;
  ::RegisterClassExW(&wc);
}

HWND CreateGauge(HWND parent, form::Colour bar, int maximum) {
  RegisterGaugeClass();
  HWND w = ::CreateWindowExW(0, kGaugeClass, L"", WS_CHILD, 0, 0, 0, 0, parent, nullptr, ::GetModuleHandleW(nullptr),
                             nullptr);
  // The state is attached once the window exists; WM_NCDESTROY frees it.
  if (w) ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new GaugeState{RGB(bar.r, bar.g, bar.b), maximum, 0}));
  return w;
}

int GaugeMaximum(HWND gauge) {
  const GaugeState* s = StateOf(gauge);
  return s ? s->maximum : 0;
}

void SetGaugeMaximum(HWND gauge, int maximum) {
  if (GaugeState* s = StateOf(gauge)) {
    s->maximum = maximum;
    SetGaugeProgress(gauge, s->progress);
  }
}

int GaugeProgress(HWND gauge) {
  const GaugeState* s = StateOf(gauge);
  return s ? s->progress : 0;
}

void SetGaugeProgress(HWND gauge, int progress) {
  if (GaugeState* s = StateOf(gauge)) {
    s->progress = std::clamp(progress, 0, std::max(s->maximum, 0));
    ::InvalidateRect(gauge, nullptr, FALSE);
    ::UpdateWindow(gauge);
  }
}

}  // namespace kv::win32
