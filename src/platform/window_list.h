/*
** The desktop's top-level windows, as the environment checks look at them:
** other programs of the installation are recognised by window class and
** title, and the maintenance tool is asked to close through its window.
*/
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

/* Opaque window identity (a window handle on Windows, an XID under X11). */
using WindowHandle = std::uint64_t;

struct TopLevelWindow {
  WindowHandle handle = 0;
  WindowHandle owner = 0;        // 0: the window has no owner
  std::string title;             // UTF-8
  bool ownApplication = false;   // the running program's own application window
};

class WindowList {
 public:
  virtual ~WindowList() = default;
  /* Every top-level window, from the first in z-order to the last. */
  virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
  /* A top-level window of this class and, when title is given, this title;
  ** nullopt when there is none. */
  virtual std::optional<WindowHandle> FindWindow(std::string_view className,
                                                 std::optional<std::string_view> title) = 0;
  /* Sends the window the close request and returns once the window has
  ** handled it (it may close or refuse). */
  virtual void SendCloseRequest(WindowHandle window) = 0;
};

/* The desktop's window list. Without a window system it is empty. */
std::unique_ptr<WindowList> OpenTopLevelWindows();

}  // namespace kv
