/*
** Top-level windows on POSIX. Until the X11 list exists there are none, so no
** other program of the installation is ever seen running here.
*/
#include "platform/window_list.h"

namespace kv {
namespace {

class NoWindows final : public WindowList {
 public:
  std::vector<TopLevelWindow> TopLevelWindows() override { return {}; }
  std::optional<WindowHandle> FindWindow(std::string_view, std::optional<std::string_view>) override {
    return std::nullopt;
  }
  void SendCloseRequest(WindowHandle) override {}
};

}  // namespace

std::unique_ptr<WindowList> OpenTopLevelWindows() { return std::make_unique<NoWindows>(); }

}  // namespace kv
