/*
** The environment checks.
*/
#include "startup/environment_check.h"

#include <exception>
#include <optional>

namespace kv {
namespace {

bool AnyTitle(WindowList& windows, std::initializer_list<std::string_view> titles) {
  for (std::string_view t : titles)
    if (TopWindowWithTitle(windows, t)) return true;
  return false;
}

bool MainApplicationRuns(WindowList& w) {
  return w.FindWindow("TFormKV", "Квенира 7.00") ||
         AnyTitle(w, {"kv700_d", "kv700_h", "kv700_free", "Квенира 7"});
}

bool InstallerRuns(WindowList& w) {
  return w.FindWindow("TFormSetup7", "setup 7.12 h") || w.FindWindow("TFormSetup7", "setup 7.12 d") ||
         AnyTitle(w, {"setup 7.00 h", "setup 7.00 d"});
}

/* The maintenance tool's window that answers the close request. */
std::optional<WindowHandle> FindToolWindow(WindowList& w) {
  if (auto h = w.FindWindow("TFormTonic", "Тоник 7.00")) return h;
  return w.FindWindow("TForm301", std::nullopt);
}

/* Asks a detected maintenance tool to close; true when its window is gone. */
bool CloseMaintenanceTool(WindowList& w) {
  std::optional<WindowHandle> tool = FindToolWindow(w);
  if (!tool) return true;
  w.SendCloseRequest(*tool);
  // The tool handled the request before the send returned; it may still need
  // a moment to take its window down, so look again, without pausing.
  int count = 0;
  do {
    tool = FindToolWindow(w);
    ++count;
  } while (tool && count <= kToolLookupLimit);
  return !tool;
}

}  // namespace

bool TopWindowWithTitle(WindowList& windows, std::string_view text) {
  for (const TopLevelWindow& w : windows.TopLevelWindows()) {
    if (w.ownApplication || w.owner != 0 || w.title.empty()) continue;
    if (w.title == text) return true;
  }
  return false;
}

bool QueryServiceState(ServiceStatus& services, std::string_view name) {
  try {
    return services.Query(name) == ServiceQuery::Running;
  } catch (const std::exception&) {
    return false;
  }
}

bool CheckEnvironment(EnvironmentServices& s) {
  int polls = 0;
  while (polls < kServicePolls && QueryServiceState(s.services, kMaintenanceService)) {
    s.clock.SleepMs(100);
    ++polls;
  }
  if (polls == kServicePolls) {
    s.dialog.ShowMessage("Выполняется обслуживание.\rПопробуйте запустить программу позже");
    return false;
  }

  if (MainApplicationRuns(s.windows)) {
    s.log.ReportCode(11);
    s.dialog.ShowMessage("Закройте программу: 'КВЕНИРА'");
    return false;
  }

  if (TopWindowWithTitle(s.windows, "tonic700")) s.dialog.ShowMessage("tonic700");
  if (TopWindowWithTitle(s.windows, "tonic700") || TopWindowWithTitle(s.windows, "Тоник 7.00")) {
    s.log.ReportCode(12);
    if (!CloseMaintenanceTool(s.windows)) {
      s.dialog.ShowMessage("Закройте программу: 'ТОНИК'");
      return false;
    }
  }

  if (InstallerRuns(s.windows)) {
    s.log.ReportCode(11);
    s.dialog.ShowMessage("Закройте программу: setup 7.12");
    return false;
  }
  return true;
}

}  // namespace kv
