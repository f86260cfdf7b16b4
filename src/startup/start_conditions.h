/*
** The first check of the start: the screen, the process's number and date
** formats, today's year and the installation's registry record and folders.
*/
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "startup/install_registry.h"

namespace kv {

/* Installation-type letter this program stands for. */
inline constexpr std::string_view kInstallTypeLetter = "d";

/* Smallest screen the wizard fits on. */
inline constexpr int kMinScreenWidth = 1024;
inline constexpr int kMinScreenHeight = 600;

/* How the whole process writes numbers, dates and times. The register log's
** date-time text (FormatDateTime) follows exactly these settings. */
struct FormatSettings {
  char decimalSeparator = '.';
  char dateSeparator = '.';
  std::string shortDateFormat = "dd.MM.yyyy";
  char timeSeparator = ':';
  std::string longTimeFormat = "HH:mm:ss";
};

/* What the start may go on with. */
struct StartConditions {
  FormatSettings format;
  int year = 0;           // today's year, taken once: it names the register log
  InstallFolders folders; // from the installation's registry record
};

struct StartConditionServices {
  Screen& screen;
  OperatorDialog& dialog;
  Clock& clock;
  Registry& registry;
  FileSystem& fs;
};

/* Checks, in this order: a screen of at least 1024 x 600 (skipped without a
** screen), the registry record accepted for letter, and the base and program
** folders present. On a failed check shows its message and returns nullopt.
** Throws RegistryError when the registry itself cannot be read. */
std::optional<StartConditions> CheckStartConditions(std::string_view letter, StartConditionServices& s);

}  // namespace kv
