/*
** Running from the version folder, or moving there.
*/
#include "startup/run_location.h"

#include "platform/paths.h"
#include "platform/text_codec.h"

namespace kv {

bool IsAcceptedRunFolder(const std::string& runFolder, const InstallFolders& folders) {
  if (AnsiUpper(runFolder).find(AnsiUpper(folders.version)) != std::string::npos) return true;
  return runFolder == folders.base + "_Kven" + "712" + kPathSep;
}

RunLocation PrepareRunLocation(int steps, const InstallFolders& folders,
                               const std::vector<std::string>& relaunchArguments, RunLocationServices& s) {
  if (!s.fs.DirExists(folders.info)) s.fs.CreateDirs(folders.info);
  const std::string ownPath = s.processes.OwnPath();
  if (IsAcceptedRunFolder(FolderOf(ownPath), folders)) {
    s.splash.Open(steps);
    return RunLocation::Accepted;
  }

  const std::string copyPath = folders.version + FileNameOf(ownPath);
  if (s.fs.FileExists(copyPath)) {
    s.fs.ClearAttributes(copyPath);
    s.fs.TryDeleteFile(copyPath);
    if (s.fs.FileExists(copyPath)) {
      s.dialog.ShowMessage("Удалите файл: " + copyPath);
      return RunLocation::Refused;
    }
  }
  s.fs.TryCopyFile(ownPath, copyPath);
  // A copy that exists but cannot be started would end the program without a
  // word, so it is reported like a copy that was not made.
  if (!s.fs.FileExists(copyPath) || !s.processes.Start(copyPath, relaunchArguments)) {
    s.dialog.ShowMessage("Ошибка ...");
    return RunLocation::Refused;
  }
  return RunLocation::Relaunched;
}

}  // namespace kv
