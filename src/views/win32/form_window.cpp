/*
** Building and running the windows of a form description.
*/
#include "views/win32/form_window.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

#include "platform/dock_layout.h"
#include "platform/scope_exit.h"
#include "platform/text_util.h"
#include "views/win32/dpi.h"
#include "views/win32/gauge.h"

namespace kv::win32 {

LRESULT FormProcedure(HWND w, UINT message, WPARAM wp, LPARAM lp);
LRESULT PanelProcedure(HWND w, UINT message, WPARAM wp, LPARAM lp);

namespace {

using form::Align;
using form::Kind;

constexpr const wchar_t* kPanelClass = L"KvPanel";

COLORREF Ref(form::Colour c) { return RGB(c.r, c.g, c.b); }

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(Instance(), name, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  wc.lpszClassName = name;
  if (!::RegisterClassExW(&wc)) throw std::runtime_error("cannot register the window class: " + ErrorText(::GetLastError()));
}

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

/* Room the tab strip of a TabControl takes at its top. */
int StripHeight(HWND strip, int dpi) {
  RECT item{};
  if (TabCtrl_GetItemCount(strip) > 0 && TabCtrl_GetItemRect(strip, 0, &item)) return item.bottom + ToDpi(2, dpi);
  return ToDpi(24, dpi);
}

/* A bitmap resource at its size on a 96-dpi screen, stretched for another. */
UniqueBitmap LoadPicture(const std::wstring& name, int dpi) {
  auto load = [&](int width, int height) {
    return UniqueBitmap(
        static_cast<HBITMAP>(::LoadImageW(Instance(), name.c_str(), IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR)));
  };
  UniqueBitmap bitmap = load(0, 0);
  BITMAP size{};
  if (!bitmap || dpi == kDesignDpi || !::GetObjectW(bitmap.Get(), sizeof size, &size)) return bitmap;
  UniqueBitmap scaled = load(ToDpi(size.bmWidth, dpi), ToDpi(size.bmHeight, dpi));
  return scaled ? std::move(scaled) : std::move(bitmap);
}

DWORD StyleOf(const form::Element& e) {
  switch (e.kind) {
    case Kind::Memo:
      return ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP | (e.readOnly ? ES_READONLY : 0) |
             (e.verticalScrollBar ? WS_VSCROLL : 0);
    case Kind::CheckBox: return BS_AUTOCHECKBOX | WS_TABSTOP;
    case Kind::Button: return BS_PUSHBUTTON | WS_TABSTOP;
    case Kind::Label:
      return SS_NOPREFIX | SS_CENTERIMAGE |
             (e.textAlign == form::TextAlign::Centre  ? SS_CENTER
              : e.textAlign == form::TextAlign::Right ? SS_RIGHT
                                                      : SS_LEFT);
    case Kind::Picture: return SS_BITMAP | SS_CENTERIMAGE;
    default: return WS_CLIPCHILDREN;
  }
}

const wchar_t* ClassOf(Kind kind) {
  switch (kind) {
    case Kind::Memo: return L"EDIT";
    case Kind::CheckBox:
    case Kind::Button: return L"BUTTON";
    case Kind::Label:
    case Kind::Picture: return L"STATIC";
    case Kind::Gauge: return kGaugeClass;
    default: return kPanelClass;
  }
}

}  // namespace

std::wstring WindowsText(std::string_view text) {
  std::wstring wide = Wide(NewlineBreaks(text));
  std::wstring out;
  out.reserve(wide.size() + wide.size() / 16);
  for (wchar_t c : wide) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

std::string WindowText(HWND w) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

void PumpPendingMessages() {
  MSG m;
  while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(m.wParam));  // for the loop that owns it
      return;
    }
    ::TranslateMessage(&m);
    ::DispatchMessageW(&m);
  }
}

FormWindow::FormWindow(const form::Form& description, FormEvents& events, HWND owner)
    : form_(description), events_(events), dpi_(SystemDpi()) {
  InitCommonControlsOnce();
  const std::wstring className = Wide(form_.name);
  RegisterClassOnce(className.c_str(), Guarded<FormProcedure>);
  RegisterClassOnce(kPanelClass, Guarded<PanelProcedure>);

  DWORD style = WS_CLIPCHILDREN;
  switch (form_.border) {
    case form::Border::None: style |= WS_POPUP; break;
    case form::Border::Dialog: style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; break;
    case form::Border::Sizeable: style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX; break;
  }
  const DWORD exStyle = form_.stayOnTop ? WS_EX_TOPMOST : 0;
  auto outer = [&] {
    RECT r{0, 0, ToPixels(form_.width), ToPixels(form_.height)};
    if (!form_.outerSize) ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
  };
  RECT r = outer();
  // WM_NCCREATE records this object as the window's, and sets root_.
  ::CreateWindowExW(exStyle, className.c_str(), Wide(form_.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    r.right - r.left, r.bottom - r.top, owner, nullptr, Instance(), this);
  if (!root_) throw std::runtime_error("cannot create the window " + std::string(form_.name) + ": " +
                                       ErrorText(::GetLastError()));
  // Its monitor may have another DPI than the system's.
  if (const int dpi = WindowDpi(Root()); dpi != dpi_) {
    dpi_ = dpi;
    r = outer();
    ::SetWindowPos(Root(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SendMessageW(Root(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(form_.font)), FALSE);
  for (std::size_t i = 0; i < form_.elements.size(); ++i) Build(form_.elements[i], i);
  // Containers were sized before their children existed: place those now, outer first.
  LayOut(Root());
  for (auto& c : children_)
    if (c->window && ClassOf(c->element->kind) == kPanelClass) LayOut(c->window);
  RethrowParked(parked_);
}

const FormChild& FormWindow::Child(std::string_view name) const {
  auto it = byName_.find(name);
  if (it == byName_.end())
    throw std::out_of_range("form " + std::string(form_.name) + " has no element " + std::string(name));
  return *it->second;
}

int FormWindow::ToPixels(int length) const { return ToDpi(length, dpi_); }

int FormWindow::ToDesign(int pixels) const { return FromDpi(pixels, dpi_); }

FormChild* FormWindow::ChildOf(HWND window) {
  for (auto& c : children_)
    if (c->window == window || (c->tabStrip && c->tabStrip == window)) return c.get();
  return nullptr;
}

HWND FormWindow::TabStrip(std::string_view name) const {
  const FormChild& c = Child(name);
  if (!c.tabStrip) throw std::out_of_range("element " + std::string(name) + " has no tabs");
  return c.tabStrip;
}

HFONT FormWindow::Font(const form::Font& f) {
  const std::string key = std::string(f.family) + "|" + std::to_string(f.pixels) + (f.bold ? "|b" : "|") +
                          (f.fixedPitch ? "f" : "");
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.Get();
  UniqueFont font(::CreateFontW(-ToPixels(f.pixels), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                f.fixedPitch ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS,
                                Wide(f.family).c_str()));
  HFONT h = font.Get();
  fonts_.emplace(key, std::move(font));
  return h;
}

HBRUSH FormWindow::Brush(form::Colour c) {
  const unsigned key = Ref(c);
  auto it = brushes_.find(key);
  if (it != brushes_.end()) return it->second.Get();
  UniqueBrush brush(::CreateSolidBrush(Ref(c)));
  HBRUSH h = brush.Get();
  brushes_.emplace(key, std::move(brush));
  return h;
}

HWND FormWindow::ParentWindow(const form::Element& e) const {
  return e.parent.empty() ? Root() : Child(e.parent).window;
}

void FormWindow::Build(const form::Element& e, std::size_t index) {
  auto child = std::make_unique<FormChild>();
  child->element = &e;
  child->owner = this;
  child->fontSpec = form_.FontOf(e);
  child->font = Font(child->fontSpec);
  child->timerId = static_cast<UINT_PTR>(index + 1);
  if (e.kind == Kind::Timer) {
    FormChild& c = *child;
    children_.push_back(std::move(child));
    byName_.emplace(std::string(e.name), &c);
    if (e.enabled) StartTimer(e.name);
    return;
  }

  HWND parent = ParentWindow(e);
  // Only the first page of a page control is shown at first.
  bool visible = e.visible;
  if (e.kind == Kind::TabSheet) {
    for (auto& c : children_)
      if (c->element->kind == Kind::TabSheet && c->element->parent == e.parent) visible = false;
  }
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | StyleOf(e) | (visible ? WS_VISIBLE : 0);
  // Containers let the Tab key reach the controls inside them.
  const DWORD exStyle = e.kind == Kind::Memo                 ? WS_EX_CLIENTEDGE
                        : ClassOf(e.kind) == kPanelClass ? WS_EX_CONTROLPARENT
                                                         : 0;
  const std::wstring caption = e.kind == Kind::Memo ? WindowsText(e.caption) : Wide(e.caption);
  HWND w = nullptr;
  if (e.kind == Kind::Gauge) {
    w = CreateGauge(parent, e.colour, e.maximum);
    if (w && visible) ::ShowWindow(w, SW_SHOWNA);
  } else {
    w = ::CreateWindowExW(exStyle, ClassOf(e.kind), caption.c_str(), style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(index + 100)), Instance(), nullptr);
  }
  if (!w) throw std::runtime_error("cannot create " + std::string(e.name) + ": " + ErrorText(::GetLastError()));
  child->window = w;
  if (ClassOf(e.kind) == kPanelClass)  // the containers' procedure finds its element here
    ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(child.get()));
  ::SetWindowPos(w, nullptr, ToPixels(e.bounds.left), ToPixels(e.bounds.top), ToPixels(e.bounds.width),
                 ToPixels(e.bounds.height), SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(child->font), FALSE);
  if (!e.enabled) ::EnableWindow(w, FALSE);

  switch (e.kind) {
    case Kind::Memo:
      ::SendMessageW(w, EM_SETLIMITTEXT, 0, 0);  // no 30,000-character cap on a long run
      if (e.tabStop > 0) {
        // Dialog units: four to a character.
        int units = e.tabStop * 4;
        ::SendMessageW(w, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&units));
      }
      break;
    case Kind::CheckBox: ::SendMessageW(w, BM_SETCHECK, e.checked ? BST_CHECKED : BST_UNCHECKED, 0); break;
    case Kind::TabControl:
      child->tabStrip = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_TABS,
                                          0, 0, ToPixels(e.bounds.width), ToPixels(24), w, nullptr, Instance(),
                                          nullptr);
      if (!child->tabStrip) throw std::runtime_error("cannot create the tabs of " + std::string(e.name));
      ::SendMessageW(child->tabStrip, WM_SETFONT, reinterpret_cast<WPARAM>(child->font), FALSE);
      break;
    case Kind::Picture:
      child->bitmap = LoadPicture(Wide(e.resource), dpi_);
      if (child->bitmap) ::SendMessageW(w, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(child->bitmap.Get()));
      break;
    default: break;
  }
  FormChild& c = *child;
  children_.push_back(std::move(child));
  byName_.emplace(std::string(e.name), &c);
}

void FormWindow::LayOut(HWND parent) {
  if (!parent) return;
  RECT free;
  ::GetClientRect(parent, &free);
  const FormChild* owner = parent == Root() ? nullptr : ChildOf(parent);
  if (owner && owner->tabStrip) {
    const int strip = StripHeight(owner->tabStrip, dpi_);
    ::SetWindowPos(owner->tabStrip, nullptr, 0, 0, free.right, strip, SWP_NOZORDER | SWP_NOACTIVATE);
    free.top += strip;
  }
  std::vector<HWND> windows;
  std::vector<form::Docked> docked;
  for (auto& c : children_) {
    if (!c->window || ::GetParent(c->window) != parent) continue;
    const form::Element& e = *c->element;
    // A page fills its page control.
    const Align align = e.kind == Kind::TabSheet ? Align::Client : e.align;
    if (align == Align::None) continue;
    RECT r;
    ::GetWindowRect(c->window, &r);
    windows.push_back(c->window);
    docked.push_back({align, {0, 0, static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)}});
  }
  const std::vector<form::Rect> placed = form::DockLayout(
      {free.left, free.top, static_cast<int>(free.right - free.left), static_cast<int>(free.bottom - free.top)}, docked);
  for (std::size_t i = 0; i < windows.size(); ++i)
    ::SetWindowPos(windows[i], nullptr, placed[i].left, placed[i].top, placed[i].width, placed[i].height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::RunUntilClosed() {
  MSG m;
  for (;;) {
    // Also what a handler threw outside this loop (a SendMessage from elsewhere).
    RethrowParked(parked_);
    if (!root_) break;
    const BOOL got = ::GetMessageW(&m, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (got < 0) break;
    if (::IsDialogMessageW(Root(), &m)) continue;
    ::TranslateMessage(&m);
    ::DispatchMessageW(&m);
  }
  RethrowParked(parked_);
}

void FormWindow::PumpPending() {
  PumpPendingMessages();
  RethrowParked(parked_);
}

void FormWindow::Relayout(std::string_view name) { LayOut(Get(name)); }

void FormWindow::Rescale(int dpi, const RECT& suggested) {
  const int old = std::exchange(dpi_, dpi);
  // The old fonts stay until every control has its new one.
  auto oldFonts = std::move(fonts_);
  fonts_.clear();
  for (auto& c : children_) {
    c->font = Font(c->fontSpec);
    if (!c->window) continue;
    RECT r;
    ::GetWindowRect(c->window, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(c->window), reinterpret_cast<POINT*>(&r), 2);
    // From the current geometry, so that sizes the program changed since keep their change.
    ::SetWindowPos(c->window, nullptr, ::MulDiv(r.left, dpi, old), ::MulDiv(r.top, dpi, old),
                   ::MulDiv(r.right - r.left, dpi, old), ::MulDiv(r.bottom - r.top, dpi, old),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(c->window, WM_SETFONT, reinterpret_cast<WPARAM>(c->font), FALSE);
    if (c->tabStrip) ::SendMessageW(c->tabStrip, WM_SETFONT, reinterpret_cast<WPARAM>(c->font), FALSE);
    if (c->element->kind == Kind::Picture) {
      UniqueBitmap picture = LoadPicture(Wide(c->element->resource), dpi_);
      ::SendMessageW(c->window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Get()));
      c->bitmap = std::move(picture);  // the old one only once the control has let it go
    }
  }
  ::SendMessageW(Root(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(form_.font)), FALSE);
  ::SetWindowPos(Root(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut(Root());
  for (auto& c : children_)
    if (c->window && ClassOf(c->element->kind) == kPanelClass) LayOut(c->window);
  ::RedrawWindow(Root(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::SetFont(std::string_view name, const form::Font& font) {
  FormChild& c = Child(name);
  c.fontSpec = font;
  c.font = Font(font);
  if (!c.window) return;
  ::SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), TRUE);
  ::InvalidateRect(c.window, nullptr, TRUE);
}

void FormWindow::StartTimer(std::string_view name) {
  const FormChild& c = Child(name);
  if (root_) ::SetTimer(Root(), c.timerId, static_cast<UINT>(c.element->interval), nullptr);
}

void FormWindow::StopTimer(std::string_view name) {
  const FormChild& c = Child(name);
  if (root_) ::KillTimer(Root(), c.timerId);
}

void FormWindow::ShowCentred() {
  if (!root_) return;
  HWND root = Root();
  RECT r, area;
  ::GetWindowRect(root, &r);
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
    area = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  const int w = r.right - r.left, h = r.bottom - r.top;
  ::SetWindowPos(root, nullptr, area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(root, SW_SHOW);
  ::SetForegroundWindow(root);
  ::UpdateWindow(root);
  for (auto& c : children_)
    if (c->element->focused && c->window) ::SetFocus(c->window);
}

LRESULT FormWindow::ColourOf(HDC dc, HWND control) {
  const FormChild* c = ChildOf(control);
  if (!c) return reinterpret_cast<LRESULT>(Brush(form_.colour));
  const form::Element& e = *c->element;
  ::SetTextColor(dc, Ref(e.textColour));
  if (e.kind == Kind::Memo) {
    ::SetBkColor(dc, Ref(e.colour));
    return reinterpret_cast<LRESULT>(Brush(e.colour));
  }
  // Labels, boxes and pictures stand on their parent's colour.
  const form::Colour back = e.parent.empty() ? form_.colour : Child(e.parent).element->colour;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetBkColor(dc, Ref(back));
  return reinterpret_cast<LRESULT>(Brush(back));
}

LRESULT FormWindow::Handle(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_COMMAND:
      // The dialog manager reports Escape as IDCANCEL from no control.
      if (LOWORD(wp) == IDCANCEL && !lp) events_.EscapePressed();
      else if (HIWORD(wp) == BN_CLICKED && lp)
        if (const FormChild* c = ChildOf(reinterpret_cast<HWND>(lp))) events_.Clicked(c->element->name);
      return 0;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lp);
      if (n->code == static_cast<UINT>(TCN_SELCHANGE))
        if (const FormChild* c = ChildOf(n->hwndFrom)) events_.TabChanged(c->element->name);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return ColourOf(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_TIMER:
      for (auto& c : children_)
        if (c->element->kind == Kind::Timer && c->timerId == wp) {
          events_.TimerTicked(c->element->name);
          break;
        }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) events_.Activated();
      break;
    case WM_CLOSE:
      if (events_.CloseRequested()) ::DestroyWindow(w);
      return 0;
    case WM_QUERYENDSESSION: return events_.SessionMayEnd() ? TRUE : FALSE;
    case WM_SETCURSOR:
      if (events_.Busy()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_SIZE: LayOut(w); return 0;
    case WM_DPICHANGED: Rescale(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
    case WM_ERASEBKGND: {
      RECT r;
      ::GetClientRect(w, &r);
      ::FillRect(reinterpret_cast<HDC>(wp), &r, Brush(form_.colour));
      return 1;
    }
    case WM_NCDESTROY: {
      // Gone by itself (its frame, WM_CLOSE): nothing is left to destroy.
      (void)root_.Release();
      for (auto& c : children_) c->window = c->tabStrip = nullptr;
      ::DefWindowProcW(w, message, wp, lp);
      events_.Destroyed();
      return 0;
    }
  }
  return ::DefWindowProcW(w, message, wp, lp);
}

LRESULT FormProcedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    AttachParking(w, &self->parked_);
    self->root_.Reset(w);
  }
  auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
  ScopeExit forget([&] {
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(w, GWLP_USERDATA, 0);
  });
  // Once the object lets its window go (its destructor), nothing reaches it.
  if (!self || self->root_.Get() != w) return ::DefWindowProcW(w, message, wp, lp);
  return self->Handle(w, message, wp, lp);
}

LRESULT PanelProcedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* child = reinterpret_cast<FormChild*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!child) return ::DefWindowProcW(w, message, wp, lp);
  FormWindow& form = *child->owner;
  switch (message) {
    // Events of the controls inside go to the form's one procedure.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return form.root_ ? ::SendMessageW(form.Root(), message, wp, lp) : 0;
    // A multi-line EDIT closes its parent on Escape, taking it for a dialog:
    // the form hears Escape, and a container never closes by itself.
    case WM_CLOSE: return form.root_ ? ::SendMessageW(form.Root(), WM_COMMAND, IDCANCEL, 0) : 0;
    case WM_SIZE: form.LayOut(w); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      const PaintScope paint(w);
      HDC dc = paint.Dc();
      RECT r;
      ::GetClientRect(w, &r);
      const form::Element& e = *child->element;
      ::FillRect(dc, &r, form.Brush(e.colour));
      if (e.kind == Kind::Panel) {
        ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        wchar_t text[256];
        const int n = ::GetWindowTextW(w, text, 256);
        HGDIOBJ old = ::SelectObject(dc, child->font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, Ref(e.textColour));
        const UINT align = e.textAlign == form::TextAlign::Centre  ? DT_CENTER
                           : e.textAlign == form::TextAlign::Right ? DT_RIGHT
                                                                   : DT_LEFT;
        ::DrawTextW(dc, text, n, &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, old);
      }
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT done = ::DefWindowProcW(w, message, wp, lp);
      ::InvalidateRect(w, nullptr, FALSE);
      return done;
    }
    case WM_NCDESTROY: ::SetWindowLongPtrW(w, GWLP_USERDATA, 0); break;
  }
  return ::DefWindowProcW(w, message, wp, lp);
}

}  // namespace kv::win32
