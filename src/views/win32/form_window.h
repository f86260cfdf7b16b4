/*
** A native window built from a form description.
**
** The root window's class is the form's name (TFormUpgrade1 ...), so other
** programs and the tests find it by class. Every element becomes one child
** window, looked up by its component name:
**   Panel, PageControl, TabSheet   a container ("KvPanel") that paints its
**                                  colour (a Panel also its raised edge and caption)
**   TabControl                     a container holding a tab strip; its children
**                                  share the area below the strip
**   Memo                           a multi-line EDIT
**   CheckBox, Button               BUTTON
**   Label                          STATIC
**   Gauge                          a self-drawn "KvGauge" (gauge.h)
**   Picture                        STATIC with the bitmap resource of that name
**   Timer                          no window: a timer of the root window
** Containers pass notifications and colour requests up to the root, so one
** window procedure sees every event of the form and reports it to FormEvents
** by element name.
**
** Bounds, form sizes and font pixels are those of a 96-dpi screen: the
** windows scale them to the DPI of their monitor, and again when it changes.
**
** States: open (the root window exists) -> destroyed (closed by its frame, by
** WM_CLOSE that the events allowed, or by the destructor). Lookups throw
** std::out_of_range for an unknown name; calls that touch windows do nothing
** once destroyed.
**
** What an event handler (or anything else in the procedures) throws does not
** cross the window procedure: it is parked, and RunUntilClosed or
** PumpPending rethrows it once the message that raised it has been handled.
*/
#pragma once

#include "platform/win32/wide.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form_description.h"
#include "views/win32/window_boundary.h"

namespace kv::win32 {

class FormEvents {
 public:
  virtual ~FormEvents() = default;
  /* A Button or CheckBox was clicked. */
  virtual void Clicked(std::string_view) {}
  /* The operator picked another tab of a TabControl. */
  virtual void TabChanged(std::string_view) {}
  virtual void TimerTicked(std::string_view) {}
  virtual void Activated() {}
  /* Escape, as a dialog hears it (IDCANCEL). */
  virtual void EscapePressed() {}
  /* WM_CLOSE: true lets the window be destroyed. */
  virtual bool CloseRequested() { return true; }
  /* The root window is gone. */
  virtual void Destroyed() {}
  /* True while the mouse pointer over the form is the hour-glass. */
  virtual bool Busy() const { return false; }
  /* WM_QUERYENDSESSION: false holds the log-off or shutdown back. */
  virtual bool SessionMayEnd() const { return true; }
};

struct FontTraits {
  using Handle = HFONT;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::DeleteObject(h); }
};
using UniqueFont = UniqueHandle<FontTraits>;

struct BrushTraits {
  using Handle = HBRUSH;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::DeleteObject(h); }
};
using UniqueBrush = UniqueHandle<BrushTraits>;

struct BitmapTraits {
  using Handle = HBITMAP;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::DeleteObject(h); }
};
using UniqueBitmap = UniqueHandle<BitmapTraits>;

/* An element's window with what painting and layout need to know of it. */
struct FormChild {
  const form::Element* element = nullptr;
  HWND window = nullptr;
  HWND tabStrip = nullptr;   // TabControl: its strip of tabs
  HFONT font = nullptr;      // owned by the form's font cache
  form::Font fontSpec;
  UINT_PTR timerId = 0;      // Timer: the root window's timer
  UniqueBitmap bitmap;       // Picture: a static control does not own its image
  class FormWindow* owner = nullptr;
};

class FormWindow {
 public:
  /* Creates the root window (hidden) and every element. owner: a window this
  ** one stays in front of (the news window's wizard); null for none. Throws
  ** std::runtime_error when a window cannot be created, and leaves no window. */
  FormWindow(const form::Form& description, FormEvents& events, HWND owner = nullptr);
  /* Destroys the window without telling the events: their owner may be going away. */
  ~FormWindow() = default;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  const form::Form& Description() const { return form_; }
  /* The DPI the windows are laid out for, and a design length in its pixels and back. */
  int Dpi() const { return dpi_; }
  int ToPixels(int length) const;
  int ToDesign(int pixels) const;
  HWND Root() const { return root_.Get(); }
  bool Open() const { return static_cast<bool>(root_); }
  /* The element's window (a TabControl's container; TabStrip gives its strip). */
  HWND Get(std::string_view name) const { return Child(name).window; }
  HWND TabStrip(std::string_view name) const;

  /* The font an element is drawn with, and a new one for it (it repaints). */
  const form::Font& FontOf(std::string_view name) const { return Child(name).fontSpec; }
  void SetFont(std::string_view name, const form::Font& font);

  void StartTimer(std::string_view name);
  void StopTimer(std::string_view name);

  /* Shows the root window in the middle of the screen's work area and activates it. */
  void ShowCentred();
  /* Processes messages, with the keyboard's dialog navigation, until the
  ** window is destroyed. A WM_QUIT ends the loop too and stays queued for an
  ** outer loop. Rethrows what a handler threw, after the message it handled. */
  void RunUntilClosed();
  /* PumpPendingMessages, then rethrows what a handler of this form threw meanwhile. */
  void PumpPending();
  /* Lays out the aligned children of the element's window again (after tabs changed). */
  void Relayout(std::string_view name);

 private:
  friend LRESULT FormProcedure(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT PanelProcedure(HWND, UINT, WPARAM, LPARAM);

  const FormChild& Child(std::string_view name) const;
  FormChild& Child(std::string_view name) {
    return const_cast<FormChild&>(static_cast<const FormWindow&>(*this).Child(name));
  }
  FormChild* ChildOf(HWND window);
  HFONT Font(const form::Font& font);
  HBRUSH Brush(form::Colour colour);
  HWND ParentWindow(const form::Element& e) const;
  void Build(const form::Element& e, std::size_t index);
  /* Places the aligned children inside parent (Top and Bottom at their edge
  ** in creation order, Client in what is left). */
  void LayOut(HWND parent);
  /* The window moved to a monitor of another DPI: every length and font follows. */
  void Rescale(int dpi, const RECT& suggested);
  LRESULT Handle(HWND w, UINT message, WPARAM wp, LPARAM lp);
  LRESULT ColourOf(HDC dc, HWND control);

  const form::Form& form_;
  FormEvents& events_;
  int dpi_;
  std::exception_ptr parked_;
  std::vector<std::unique_ptr<FormChild>> children_;
  std::map<std::string, FormChild*, std::less<>> byName_;
  std::map<std::string, UniqueFont, std::less<>> fonts_;
  std::map<unsigned, UniqueBrush> brushes_;
  // Last, so destroyed first: the windows go while what they point at (the
  // children, their bitmaps, fonts and brushes) still exists, also when the
  // constructor throws. Set by WM_NCCREATE, released by WM_NCDESTROY.
  UniqueWindow root_;
};

/* Processes the pending messages of this thread; a WM_QUIT is left in the queue. */
void PumpPendingMessages();

/* The text of a window (a caption, a control's contents) in UTF-8. */
std::string WindowText(HWND w);

/* UTF-8 text with "\r", "\n" or "\r\n" line breaks as a Windows text with "\r\n". */
std::wstring WindowsText(std::string_view text);

}  // namespace kv::win32
