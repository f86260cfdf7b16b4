/*
** The install run: what the Install button does. Every database is brought to
** service pack level 12 by the packs of the run order, each gated by the level
** the databases have reached; then the program files are replaced from the
** carried packages, the new version is recorded for the current user, and the
** outcome is written on the install page.
*/
#pragma once

#include <cstdint>

#include "migration/context.h"
#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "platform/registry.h"
#include "platform/session_guard.h"
#include "startup/installation.h"
#include "startup/register_log.h"
#include "startup/run_log.h"
#include "wizard/run_safety.h"
#include "wizard/wizard_window.h"

namespace kv {

enum class InstallOutcome {
  Completed,          // "Обновление версии 7.00 успешно завершено"
  PackFailed,         // a service pack fell short; its message was shown
  FilesNotReplaced,   // a program file could not be replaced ("Обновление не установлено")
  NumberedFinished,   // a numbered installation: databases only, the window closed
  UnexpectedError,    // code 98
  NoDatabase,         // no database of the installation opened; nothing was changed
  NotStarted,         // the format limit or the backup stopped the run before the first pack
  OthersConnected,    // other clients are connected to the databases; nothing was changed
};

inline constexpr const char* kNoDatabaseMessage =
    "Не найдено ни одной базы данных установки, которую можно открыть.\rОбновление не установлено.";
inline constexpr const char* kUnopenableMessage =
    "Не удалось открыть базы данных установки, они не обновлены.\rОбновление не установлено:";

struct InstallRunServices {
  WizardWindow& window;
  RegisterLog& log;
  Registry& registry;
  FileSystem& fs;
  OwnExecutable& executable;
  Installation& installation;       // the server Orders path is kept here for the rest of the program
  MigrationServices& migration;     // its progress must drive the window's gauge (WindowGauge)
  RunLog* runLog = nullptr;         // the detailed run log, named to the operator after a failure
  RunSafety safety = {};            // the backup before the packs and the restore after a failure
  /* Held over the packs, the program-file steps and a restore; none when null. */
  SessionGuard* session = nullptr;
};

/* Why the session may not end now, as the system shows it. */
inline constexpr const char* kSessionEndReason = "Идёт обновление баз данных…";

/* Runs the install run for the carried version. Never throws: an unexpected
** error is logged as code 98. The label, the gauge and the busy cursor are
** reset in every case. */
InstallOutcome RunInstall(InstallRunServices& s, const FileVersion& carried);

/* Gauge1 of the window as the gauge the pack counter advances. */
class WindowGauge final : public Gauge {
 public:
  explicit WindowGauge(WizardWindow& window) : window_(window) {}
  int Position() const override { return window_.GaugeProgress(); }
  int Maximum() const override { return window_.GaugeMax(); }
  void SetPosition(int position) override { window_.SetGaugeProgress(position); }

 private:
  WizardWindow& window_;
};

}  // namespace kv
