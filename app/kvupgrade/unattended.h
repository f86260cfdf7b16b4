/*
** The unattended mode: the wizard's whole logic on a console, with the start
** page shown, the agreement accepted and Install pressed without an operator.
*/
#pragma once

#include <ostream>

#include "startup/command_line.h"

namespace kv::console {

/* Exit statuses of the unattended mode. */
enum ExitStatus : int {
  kCompleted = 0,         // "Обновление версии 7.00 успешно завершено"
  kUnexpectedError = 1,   // an error nothing else explains (code 98, an unreadable own executable ...)
  kStartRefused = 2,      // a start condition or check refused the start; its message was shown
  kVersionBlocked = 3,    // no upgrade offered: a newer build is installed, or the own version is unreadable
  kPackFailed = 4,        // a service pack failed ("Установка невозможна ...")
  kFilesNotReplaced = 5,  // program files could not be replaced ("Обновление не установлено")
  kNumberedFinished = 6,  // a numbered installation: databases upgraded; files and registry are left alone
};

/* Runs the start sequence and, when it reaches the wizard, the install run.
** When the program moves itself into the installation's version folder, the
** copy runs with the same options and its status is returned. */
int RunUnattended(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

}  // namespace kv::console
