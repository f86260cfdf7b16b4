/*
** The checks that the upgrade does not run into other programs of the
** installation: its maintenance service, the main application, its
** maintenance tool (which is asked to close) and its installer.
*/
#pragma once

#include <string_view>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/service_status.h"
#include "platform/window_list.h"
#include "startup/register_log.h"

namespace kv {

/* The installation's maintenance service. */
inline constexpr std::string_view kMaintenanceService = "DODUVed";
/* Polls of a running maintenance service, 100 ms apart, before giving up. */
inline constexpr int kServicePolls = 30;
/* Repeated lookups of the maintenance tool's window after the close request
** stop once their count exceeds this. */
inline constexpr int kToolLookupLimit = 100000;

struct EnvironmentServices {
  ServiceStatus& services;
  WindowList& windows;
  OperatorDialog& dialog;
  Clock& clock;
  RegisterLog& log;
};

/* Runs the checks in order: the service, the main application, the
** maintenance tool, the installer. True when the upgrade may proceed; on false
** the reason has been shown (and logged with code 11 where it applies). The
** maintenance tool is logged with code 12 and asked to close; only a tool that
** stays open stops the upgrade. Errors of the register log go to the caller. */
bool CheckEnvironment(EnvironmentServices& s);

/* True when a top-level window titled exactly text (letter case included)
** exists; the program's own application window, owned windows and windows
** without a title are passed over. */
bool TopWindowWithTitle(WindowList& windows, std::string_view text);

/* True when the named service runs; a query that fails in any way counts as
** not running. */
bool QueryServiceState(ServiceStatus& services, std::string_view name);

}  // namespace kv
