/*
** Stand-ins for the desktop around the program: a screen of a given size, the
** top-level windows of other programs (which close on request or do not), and
** the maintenance service's answers.
*/
#pragma once

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/screen.h"
#include "platform/service_status.h"
#include "platform/window_list.h"
#include "support/journal.h"

namespace kv::test {

class FixedScreen final : public Screen {
 public:
  explicit FixedScreen(std::optional<ScreenSize> s = ScreenSize{1280, 1024}) : size(s) {}
  std::optional<ScreenSize> Size() override { return size; }
  std::optional<ScreenSize> size;
};

struct FakeWindow {
  std::string className, title;
  WindowHandle owner = 0;
  bool ownApplication = false;
  bool closesOnRequest = true;
  WindowHandle handle = 0;  // given by Add
};

/* Windows in z-order, first added first. Counts every FindWindow call and
** those made after a close request; close requests go to the journal. */
class FakeWindowList final : public WindowList {
 public:
  explicit FakeWindowList(Journal& journal) : journal_(journal) {}

  WindowHandle Add(FakeWindow w) {
    w.handle = ++lastHandle_;
    windows.push_back(std::move(w));
    return lastHandle_;
  }

  std::vector<TopLevelWindow> TopLevelWindows() override {
    std::vector<TopLevelWindow> out;
    for (const FakeWindow& w : windows) out.push_back({w.handle, w.owner, w.title, w.ownApplication});
    return out;
  }
  std::optional<WindowHandle> FindWindow(std::string_view className, std::optional<std::string_view> title) override {
    ++finds;
    if (!closeRequests.empty()) ++findsAfterClose;
    for (const FakeWindow& w : windows)
      if (w.className == className && (!title || w.title == *title)) return w.handle;
    return std::nullopt;
  }
  void SendCloseRequest(WindowHandle h) override {
    closeRequests.push_back(h);
    auto it = std::find_if(windows.begin(), windows.end(), [&](const FakeWindow& w) { return w.handle == h; });
    journal_.push_back("close request: " + (it == windows.end() ? std::string("?") : it->title));
    if (it != windows.end() && it->closesOnRequest) windows.erase(it);
  }

  std::vector<FakeWindow> windows;
  int finds = 0, findsAfterClose = 0;
  std::vector<WindowHandle> closeRequests;

 private:
  Journal& journal_;
  WindowHandle lastHandle_ = 0;
};

/* Answers queries from a script, then with rest; records every name asked. */
class ScriptedServices final : public ServiceStatus {
 public:
  ServiceQuery Query(std::string_view name) override {
    names.emplace_back(name);
    if (script.empty()) return rest;
    ServiceQuery q = script.front();
    script.pop_front();
    return q;
  }
  std::deque<ServiceQuery> script;
  ServiceQuery rest = ServiceQuery::Unavailable;
  std::vector<std::string> names;
};

}  // namespace kv::test
