/*
** Running the built program.
*/
#include "support/program_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace kv::test {

ProgramRun RunProgram(const std::string& exe, const DemoFixture& f, const std::string& registry,
                      const std::string& options, const std::string& environment) {
  const std::string out = f.dir / "out.txt", err = f.dir / "err.txt";
  const std::string command = environment + " KV_REGISTRY='" + registry + "' '" + exe + "' " + options + " >'" + out +
                              "' 2>'" + err + "'";
  const int raw = std::system(command.c_str());
  ProgramRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = "\n" + ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

std::string InPlaceProgram(const std::string& exe, const Installation& inst) {
  const std::string copy = inst.folders.version + "kvupgrade";
  std::filesystem::create_directories(inst.folders.version);
  std::filesystem::copy_file(exe, copy, std::filesystem::copy_options::overwrite_existing);
  return copy;
}

std::string NewestRunLog(const Installation& installation) {
  std::string newest;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(installation.folders.info, ec)) {
    const std::string name = entry.path().filename().string();
    // The names sort by their time.
    if (name.rfind("kvupgrade-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".log" &&
        entry.path().string() > newest)
      newest = entry.path().string();
  }
  return newest;
}

std::map<std::string, std::vector<std::string>> AppliedPacks(const std::string& log) {
  std::map<std::string, std::vector<std::string>> applied;
  std::istringstream in(log);
  std::string pack;
  // "HH:MM:SS Пакет NAME: начат" opens a pack; "HH:MM:SS   PATH: обновлена, ..." is a database it upgraded.
  for (std::string line; std::getline(in, line);) {
    if (const auto at = line.find(" Пакет "); at != std::string::npos && line.find(": начат") != std::string::npos)
      pack = line.substr(at + 12, line.find(':', at) - at - 12);  // past " Пакет "
    if (const auto at = line.find(": обновлена"); at != std::string::npos && line.size() > 11)
      applied[line.substr(11, at - 11)].push_back(pack);
  }
  return applied;
}

std::unique_ptr<InstanceLock> HoldWizardLock(const Installation& installation) {
  std::filesystem::create_directories(installation.folders.info);
  return TryLockInstance(installation.folders.info + "kvupgrade.lock");
}

}  // namespace kv::test
