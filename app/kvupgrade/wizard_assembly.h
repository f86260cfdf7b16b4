/*
** The wizard's logic wired together behind one window: the client library, the
** carried executable, the migration services with the gauge, the install run
** and the form. The console, the Qt window and the Win32 window differ only in
** the WizardWindow they bring.
*/
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "migration/fb/client.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "startup/command_line.h"
#include "startup/installation.h"
#include "startup/register_log.h"
#include "startup/run_log.h"
#include "startup/start_sequence.h"
#include "wizard/install_run.h"
#include "wizard/logged_window.h"
#include "wizard/run_log_observer.h"
#include "wizard/wizard_form.h"

namespace kv {

/* Exit statuses of the program, with or without windows. */
enum ExitStatus : int {
  kCompleted = 0,         // "Обновление версии 7.00 успешно завершено"
  kUnexpectedError = 1,   // an error nothing else explains (code 98, an unreadable own executable ...)
  kStartRefused = 2,      // a start condition or check refused the start; its message was shown
  kVersionBlocked = 3,    // no upgrade offered: a newer build is installed, or the own version is unreadable
  kPackFailed = 4,        // a service pack failed ("Установка невозможна ...")
  kFilesNotReplaced = 5,  // program files could not be replaced ("Обновление не установлено")
  kNumberedFinished = 6,  // a numbered installation: databases upgraded; files and registry are left alone
  kNoDatabase = 7,        // no database of the installation could be opened; nothing was changed
  kProgramDamaged = 8,    // the wizard's own file is damaged (its version and packages cannot be read)
  kPlanBlocked = 9,       // --plan: a run could not proceed (a database cannot be opened)
  kNotStarted = 10,       // the run did not start: a table would pass the format limit, or the backup failed
  kOthersConnected = 11,  // the run did not start: other clients are connected to the databases (named)
};

/* The exit status of a start sequence that ended with result. creationFailed:
** the wizard could not be created (an error, not a refusing check);
** relaunched: the status to report when the copy in the version folder took over. */
int StartExitStatus(const StartResult& result, bool creationFailed, int relaunched);

/* Loads the Firebird client library; when it is missing, shows why and throws
** fb::ClientUnavailable (the start then ends as for a failed check). */
std::unique_ptr<fb::Client> LoadClient(OperatorDialog& dialog);

/* The backup and restore settings of the options; without an operator to ask,
** a failed pack restores only with --restore-on-failure. */
RunSafety SafetyFrom(const CommandLine& commandLine, bool operatorPresent);

/* The wizard factory of a start with windows: loads the client into client
** (which must outlive the wizard; the dialog tells the operator when it is
** missing) and creates the toolkit's Wizard window over it. */
template <class Wizard>
auto WindowedWizardFactory(const CommandLine& commandLine, OperatorDialog& dialog,
                           std::unique_ptr<fb::Client>& client, MigrationObserver& report) {
  return [&commandLine, &dialog, &client, &report](Installation& installation, RegisterLog& log, Registry& registry,
                                                  RunLog& runLog) {
    client = LoadClient(dialog);
    return std::make_unique<Wizard>(installation, log, registry, *client, RealProcesses().OwnPath(), runLog,
                                    SafetyFrom(commandLine, true), &report);
  };
}

class WizardAssembly {
 public:
  /* Everything referenced must outlive the assembly. Runs nothing yet. What
  ** the window shows and what the migration does go to runLog as well;
  ** failures also to failures, and everything to report, when given. session,
  ** when given, is held while the run does work the end of the session must
  ** not cut. lockTimeout, when given, bounds the wait for another client's
  ** lock instead of the run's own. */
  WizardAssembly(WizardWindow& window, Installation& installation, RegisterLog& log, Registry& registry,
                 const fb::Client& client, const std::string& ownPath, Clock& clock, FileSystem& fs,
                 RunLog& runLog, MigrationObserver* failures = nullptr, RunSafety safety = {},
                 MigrationObserver* report = nullptr, SessionGuard* session = nullptr,
                 std::optional<std::chrono::seconds> lockTimeout = std::nullopt);

  WizardForm& Form() { return form_; }

  /* The status the program ends with: blocked when no upgrade was offered,
  ** otherwise the outcome of the install run, or 0 when none was started
  ** (the operator left with Exit). */
  int ExitStatus() const;

 private:
  LoggedWindow window_;
  RunLogObserver logObserver_;
  MigrationObservers observers_;
  std::unique_ptr<OwnExecutable> executable_;
  FirebirdVersionState version_;
  WindowGauge gauge_;
  PackProgress progress_;
  MigrationServices migration_;
  InstallRunServices run_;
  std::optional<InstallOutcome> outcome_;
  WizardForm form_;
};

}  // namespace kv
