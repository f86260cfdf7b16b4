/*
** Replacing the installation's program files from the packages the wizard
** carries in its own executable: the fixed order of the file steps, how a file
** in use is detected, and what is shown and logged for each outcome.
**
** All or nothing. Every new file is inflated beside its target first
** (<name>.part). Then, before the deletion block, every file the steps will
** delete or replace is renamed aside (<name>.old); a "deletion" is that rename
** having happened, and a write puts the new file where the old one stood.
** When the steps end with the file failure flag set, every file is put back
** as it was (an .old over its target, a new file without an old one removed);
** otherwise the .old files are removed, except that a file no step replaced
** or deleted goes back. The labels, Memo lines, messages and codes of the
** steps are those of the fixed order; the renames show nothing. An .old left
** by a run that was cut short is put back when the next run starts.
*/
#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "startup/register_log.h"
#include "wizard/wizard_window.h"

namespace kv {

/* Outcome of writing one program file; the value is part of its event code. */
enum class ReplaceResult {
  Written = 0,    // 500 + index
  Busy = 1,       // 510 + index: the old file could not be removed
  Failed = 2,     // 520 + index: no file after writing
  NoPackage = 3,  // 530 + index: the executable does not carry the package
  Kept = 4,       // 540 + index: present and not to be overwritten
};

/* A package the wizard may carry and the program file made from it. */
struct ProgramPackage {
  int index;                  // 1..5, part of the event codes
  std::string_view fileName;  // in the program folder
  std::string_view type, name;
  bool overwrite;             // false: written only when the file is absent
};

/* The five packages, by index (element i has index i + 1). */
std::span<const ProgramPackage> ProgramPackages();

/* The files the deletion block removes, in order, and the package indexes in
** the order their files are written. */
inline constexpr std::string_view kDeletionOrder[] = {"tonic700.exe", "kv700_d.exe", "kv700_h.exe"};
inline constexpr int kWriteOrder[] = {4, 5, 3, 2, 1};

class ProgramFileSteps {
 public:
  /* programFolder is the installation's program folder; a missing trailing
  ** separator is added. */
  ProgramFileSteps(WizardWindow& window, RegisterLog& log, FileSystem& fs, OwnExecutable& executable,
                   std::string programFolder);

  /* First stages every package (see StageAll): when one cannot be, nothing is
  ** deleted and true is returned at once. Then sets the old files aside and
  ** runs the file steps in their fixed order: the deletion block, then
  ** kv5.bpl, indy70.bpl, tonic700.exe, kv700_d.exe and kv700_h.exe, each block
  ** advancing the gauge by 1 and pausing 50 ms. workingLevel is shown in the
  ** "Error " messages. Returns the file failure flag: true when a program file
  ** could not be replaced, so the caller reports the update as not installed;
  ** every program file is then as it was before. Only a failure of the
  ** register log itself propagates (the files are put back then too). */
  bool Run(std::int32_t workingLevel);

  /* Writes one program file from its package, logs the outcome by code and
  ** writes it to the install page; Busy and Failed set the file failure flag.
  ** The file is inflated beside its target and moved into place only when the
  ** whole stream was read, so it is never left half-written; an old file is
  ** set aside first (Busy when it cannot be). Errors while reading the package
  ** or writing the file propagate. */
  ReplaceResult WriteFromPackage(int index, const std::string& name, const std::string& type, bool overwrite,
                                 const std::string& fileName);

  /* The file failure flag as the steps left it. */
  bool FileFailure() const { return fileFailure_; }

 private:
  ReplaceResult Replace(int index, const std::string& name, const std::string& type, bool overwrite,
                        const std::string& fileName);
  /* Inflates every package a write step will use into its file's ".part"
  ** beside the target, before anything is deleted. False after a failure,
  ** which has been shown, logged and cleaned up. */
  bool StageAll();
  void StagingFailed(const ProgramPackage& package, const std::string& reason);
  /* Deletes the staged files that were not moved into place. */
  void DiscardStaged();
  /* Inflates package into target + ".part", flushed; the part is removed on failure. */
  void InflateInto(ResourceStream& package, const std::string& target);
  /* Puts back every .old file a run cut short left in the folder. */
  void RecoverSetAside();
  /* Sets every file the steps delete or replace aside, as far as it can be. */
  void SetAsideAll();
  /* True when fileName is not in the folder, or was set aside now. */
  bool SetAside(const std::string& fileName);
  /* After a failure: every file as it was before SetAsideAll; tell: say so
  ** on the install page (not while an error leaves the steps). */
  void PutBack(bool tell);
  /* After success: the .old files removed, or put back where no step used them. */
  void Commit();
  void DeleteStep(const std::string& fileName, const std::string& message);
  void WriteStep(int index, std::int32_t errorCode);
  void ShowIfFailed(const std::string& message);
  template <class Body>
  void Block(Body body);

  WizardWindow& window_;
  RegisterLog& log_;
  FileSystem& fs_;
  OwnExecutable& executable_;
  std::string folder_;
  bool fileFailure_ = false;
  std::set<int> staged_;  // package indexes whose ".part" is ready
  std::set<std::string> setAside_;  // file names now standing as <name>.old
  std::set<std::string> written_;   // file names whose new file stands in place
};

}  // namespace kv
