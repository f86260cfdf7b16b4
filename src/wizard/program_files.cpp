/*
** The program-file steps of the install run.
*/
#include "wizard/program_files.h"

#include <array>
#include <exception>

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
  if (!StageAll()) return fileFailure_ = true;
  ScopeExit discardLeftovers([&] { DiscardStaged(); });
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
  return fileFailure_;
}

void ProgramFileSteps::DeleteStep(const std::string& fileName, const std::string& message) {
  window_.ZapisLabel(" Удаление: " + fileName);
  if (!DeleteIfExists(fs_, folder_ + fileName)) fileFailure_ = true;
  ShowIfFailed(message);
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
  const ReplaceResult result = Replace(index, name, type, overwrite, folder_ + fileName);
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
                                        bool overwrite, const std::string& target) {
  auto report = [&](ReplaceResult r) {
    log_.ReportCode(500 + 10 * static_cast<std::int32_t>(r) + index);
    return r;
  };
  if (!overwrite && fs_.FileExists(target)) return report(ReplaceResult::Kept);
  const std::string part = target + std::string(kPartSuffix);
  if (!staged_.count(index)) {
    std::unique_ptr<ResourceStream> package = executable_.OpenResource(type, name);
    if (!package) return report(ReplaceResult::NoPackage);
    if (!DeleteIfExists(fs_, target)) return report(ReplaceResult::Busy);
    InflateInto(*package, target);
    fs_.RenameFile(part, target);
  } else {
    if (!DeleteIfExists(fs_, target)) return report(ReplaceResult::Busy);
    fs_.RenameFile(part, target);
    staged_.erase(index);
  }
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
