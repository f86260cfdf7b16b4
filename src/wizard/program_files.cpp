/*
** The program-file steps of the install run.
*/
#include "wizard/program_files.h"

#include <algorithm>
#include <array>
#include <exception>
#include <vector>

#include "platform/paths.h"
#include "platform/scope_exit.h"
#include "platform/zlib_codec.h"

namespace kv {
namespace {

constexpr std::array<ProgramPackage, 5> kPackages{{
    {1, "kv700_h.exe", "EXE", "KV7H", true},
    {2, "kv700_d.exe", "EXE", "KV7D", true},
    {3, "tonic700.exe", "EXE", "TONIC7", true},
    {4, "kv5.bpl", "BPL", "BPL5", true},
    {5, "indy70.bpl", "BPL", "INDY70", false},
}};

// A file being inflated is named so until it is complete.
constexpr std::string_view kPartSuffix = ".part";
// An old file is named so from before the deletion block until the run's end.
constexpr std::string_view kOldSuffix = ".old";

bool InDeletionOrder(const std::string& fileName) {
  return std::find(std::begin(kDeletionOrder), std::end(kDeletionOrder), fileName) != std::end(kDeletionOrder);
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\r')); }

}  // namespace

std::span<const ProgramPackage> ProgramPackages() { return kPackages; }

ProgramFileSteps::ProgramFileSteps(WizardWindow& window, RegisterLog& log, FileSystem& fs,
                                   OwnExecutable& executable, std::string programFolder)
    : window_(window), log_(log), fs_(fs), executable_(executable), folder_(WithTrailingSep(programFolder)) {}

template <class Body>
void ProgramFileSteps::Block(Body body) {
  // A block ends with its gauge step and pause even when it fails.
  ScopeExit finish([&] {
    window_.SetGaugeProgress(window_.GaugeProgress() + 1);
    window_.Pause(50);
  });
  body();
}

bool ProgramFileSteps::Run(std::int32_t workingLevel) {
  const std::string error = "Error " + std::to_string(workingLevel);
  fileFailure_ = false;
  // Every new file is inflated and checked before the first old one goes: a
  // damaged package or a full disk then leaves the installation as it was.
  setAside_.clear();
  written_.clear();
  RecoverSetAside();
  if (!StageAll()) return fileFailure_ = true;
  ScopeExit discardLeftovers([&] { DiscardStaged(); });
  // From here every way out leaves the files all old or all as the steps made them.
  ScopeExit putBackOnError([&] { PutBack(false); });
  SetAsideAll();
  Block([&] {
    DeleteStep(std::string(kDeletionOrder[0]), error + "_101");
    DeleteStep(std::string(kDeletionOrder[1]), error + "_102");
    DeleteStep(std::string(kDeletionOrder[2]), error + "_103");
  });
  Block([&] {
    if (!fileFailure_) WriteStep(4, 61);
  });
  // A failed deletion above must not stop the writes below.
  fileFailure_ = false;
  Block([&] {
    WriteStep(5, 61);
    ShowIfFailed(error + "_104");
  });
  Block([&] {
    if (!fileFailure_) WriteStep(3, 62);
    ShowIfFailed(error + "_105");
  });
  Block([&] {
    if (!fileFailure_) WriteStep(2, 63);
    ShowIfFailed(error + "_106");
  });
  Block([&] {
    if (!fileFailure_) WriteStep(1, 64);
  });
  putBackOnError.Release();
  if (fileFailure_) PutBack(true);
  else Commit();
  return fileFailure_;
}

void ProgramFileSteps::DeleteStep(const std::string& fileName, const std::string& message) {
  window_.ZapisLabel(" Удаление: " + fileName);
  // Set aside before the block, the file is gone from its name; it is deleted when the run succeeds.
  if (!SetAside(fileName)) fileFailure_ = true;
  ShowIfFailed(message);
}

void ProgramFileSteps::RecoverSetAside() {
  for (const ProgramPackage& p : kPackages) {
    const std::string target = folder_ + std::string(p.fileName), old = target + std::string(kOldSuffix);
    if (!fs_.FileExists(target) && fs_.FileExists(old)) fs_.TryMoveAside(old, target);
  }
}

void ProgramFileSteps::SetAsideAll() {
  for (const ProgramPackage& p : kPackages)
    if (p.overwrite || InDeletionOrder(std::string(p.fileName))) SetAside(std::string(p.fileName));
}

bool ProgramFileSteps::SetAside(const std::string& fileName) {
  const std::string target = folder_ + fileName;
  if (!fs_.FileExists(target)) return true;
  if (!fs_.TryMoveAside(target, target + std::string(kOldSuffix))) return false;
  setAside_.insert(fileName);
  return true;
}

void ProgramFileSteps::PutBack(bool tell) {
  std::vector<std::string> stranded;
  for (const std::string& name : written_)
    if (!setAside_.count(name)) fs_.TryDeleteFile(folder_ + name);
  for (const std::string& name : setAside_) {
    const std::string target = folder_ + name;
    try {
      fs_.RenameFile(target + std::string(kOldSuffix), target);
    } catch (const FileError&) {
      stranded.push_back(name);
    }
  }
  const bool changed = !written_.empty() || !setAside_.empty();
  written_.clear();
  setAside_.clear();
  if (!tell) return;
  if (changed) window_.ZapisMemo3("Прежние файлы программы возвращены на место");
  for (const std::string& name : stranded)
    window_.ZapisMemo3(name + " не возвращён на место: прежний файл сохранён как " + name + std::string(kOldSuffix));
}

void ProgramFileSteps::Commit() {
  for (const std::string& name : setAside_) {
    const std::string target = folder_ + name, old = target + std::string(kOldSuffix);
    if (written_.count(name) || InDeletionOrder(name)) {
      DeleteIfExists(fs_, old);
    } else {
      // Set aside, but no step replaced or deleted it (its write was skipped).
      fs_.TryMoveAside(old, target);
    }
  }
  setAside_.clear();
  written_.clear();
}

void ProgramFileSteps::ShowIfFailed(const std::string& message) {
  if (fileFailure_) window_.ShowMessage(message);
}

void ProgramFileSteps::WriteStep(int index, std::int32_t errorCode) {
  const ProgramPackage& p = kPackages[static_cast<std::size_t>(index - 1)];
  try {
    WriteFromPackage(p.index, std::string(p.name), std::string(p.type), p.overwrite, std::string(p.fileName));
  } catch (const std::exception&) {
    fileFailure_ = true;
    log_.ReportCode(errorCode);
  }
}

ReplaceResult ProgramFileSteps::WriteFromPackage(int index, const std::string& name, const std::string& type,
                                                 bool overwrite, const std::string& fileName) {
  window_.ZapisLabel(" Установка " + fileName);
  window_.Pause(50);
  const ReplaceResult result = Replace(index, name, type, overwrite, fileName);
  switch (result) {
    case ReplaceResult::Written:
      window_.ZapisMemo3(fileName + " - переписан");
      break;
    case ReplaceResult::Busy:
      window_.ZapisMemo3(fileName + " занят");
      fileFailure_ = true;
      break;
    case ReplaceResult::Failed:
      window_.ZapisMemo3(fileName + "- не переписан. Сбой в системе - 2");
      fileFailure_ = true;
      break;
    case ReplaceResult::NoPackage:
    case ReplaceResult::Kept:
      break;
  }
  return result;
}

ReplaceResult ProgramFileSteps::Replace(int index, const std::string& name, const std::string& type,
                                        bool overwrite, const std::string& fileName) {
  auto report = [&](ReplaceResult r) {
    log_.ReportCode(500 + 10 * static_cast<std::int32_t>(r) + index);
    return r;
  };
  const std::string target = folder_ + fileName;
  if (!overwrite && fs_.FileExists(target)) return report(ReplaceResult::Kept);
  const std::string part = target + std::string(kPartSuffix);
  if (!staged_.count(index)) {
    std::unique_ptr<ResourceStream> package = executable_.OpenResource(type, name);
    if (!package) return report(ReplaceResult::NoPackage);
    if (!SetAside(fileName)) return report(ReplaceResult::Busy);
    InflateInto(*package, target);
    fs_.RenameFile(part, target);
  } else {
    if (!SetAside(fileName)) return report(ReplaceResult::Busy);
    fs_.RenameFile(part, target);
    staged_.erase(index);
  }
  written_.insert(fileName);
  return report(fs_.FileExists(target) ? ReplaceResult::Written : ReplaceResult::Failed);
}

bool ProgramFileSteps::StageAll() {
  window_.ZapisLabel(" Проверка пакетов программы");
  for (int index : kWriteOrder) {
    const ProgramPackage& p = kPackages[static_cast<std::size_t>(index - 1)];
    const std::string target = folder_ + std::string(p.fileName);
    if (!p.overwrite && fs_.FileExists(target)) continue;
    try {
      std::unique_ptr<ResourceStream> package = executable_.OpenResource(std::string(p.type), std::string(p.name));
      if (!package) continue;  // its step reports the missing package as always
      InflateInto(*package, target);
      staged_.insert(index);
    } catch (const FileError& e) {
      StagingFailed(p, "Не удалось записать новый файл программы " + std::string(p.fileName) + "\r" + e.what());
      return false;
    } catch (const std::exception&) {
      StagingFailed(p, "Файл программы обновления повреждён: пакет " + std::string(p.fileName) +
                           " не читается.\rНужна новая копия программы обновления.");
      return false;
    }
  }
  return true;
}

void ProgramFileSteps::StagingFailed(const ProgramPackage& p, const std::string& reason) {
  DiscardStaged();
  log_.ReportCode(520 + p.index);
  window_.ZapisMemo3(std::string(p.fileName) + " - не переписан: " + FirstLine(reason));
  window_.ShowMessage(reason + "\rСтарые файлы программы сохранены.");
}

void ProgramFileSteps::DiscardStaged() {
  for (int index : staged_)
    fs_.TryDeleteFile(folder_ + std::string(kPackages[static_cast<std::size_t>(index - 1)].fileName) +
                      std::string(kPartSuffix));
  staged_.clear();
}

void ProgramFileSteps::InflateInto(ResourceStream& package, const std::string& target) {
  // The program file appears under its own name only once it is whole (the
  // caller renames the part); the application may be started from this folder
  // at any time.
  const std::string part = target + std::string(kPartSuffix);
  DeleteIfExists(fs_, part);  // left over from an interrupted run
  ScopeExit removePart([&] { fs_.TryDeleteFile(part); });
  std::unique_ptr<OutputFile> out = fs_.OpenForWrite(part);
  ZlibInflater inflater;
  const ZlibInflater::Sink write = [&](std::string_view chunk) { out->Write(chunk); };
  char buffer[16384];
  for (std::size_t n; (n = package.Read(buffer, sizeof buffer)) > 0;) {
    if (inflater.Inflate(std::string_view(buffer, n), write) < n)
      throw ZlibError("package for \"" + target + "\" has bytes after its zlib stream");
  }
  if (!inflater.Finished()) throw ZlibError("package for \"" + target + "\" ends inside its zlib stream");
  out->Close();  // flushed to disk before anything is renamed
  removePart.Release();
}

}  // namespace kv
