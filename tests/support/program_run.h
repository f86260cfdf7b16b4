/*
** Running the built program on a demo installation, as an operator's script
** would: with a registry file, options, and its output captured.
*/
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/instance_lock.h"
#include "support/demo_fixture.h"

namespace kv::test {

struct ProgramRun {
  int status = -1;
  std::string out, err;  // out starts with a line break, so every line is "\n" + line + "\n"
  bool Printed(const std::string& line) const { return out.find("\n" + line + "\n") != std::string::npos; }
};

/* Runs exe with the registry file and the options (given as one shell text)
** and waits for it; environment holds further "NAME='value'" settings. */
ProgramRun RunProgram(const std::string& exe, const DemoFixture& f, const std::string& registry,
                      const std::string& options, const std::string& environment = "");

/* The program exe copied into the installation's version folder, where it
** runs without relaunching itself: the process started is the one that
** works (and the one a signal must hit). Returns the copy's path. */
std::string InPlaceProgram(const std::string& exe, const Installation& installation);

/* The installation's wizard lock, taken as a wizard already running would
** hold it (its Info folder made first). */
std::unique_ptr<InstanceLock> HoldWizardLock(const Installation& installation);

/* The newest detailed run log of the installation, "" when there is none. */
std::string NewestRunLog(const Installation& installation);

/* The packs a run log records as applied, per database path, in order. */
std::map<std::string, std::vector<std::string>> AppliedPacks(const std::string& log);

}  // namespace kv::test
