/*
** A file system whose chosen files are "in use": they cannot be deleted,
** renamed or written, as on Windows while a program runs from them (the
** program-file steps do not rename a running program). Everything else goes to the real
** file system (as root, a permission check would not stop a delete).
*/
#pragma once

#include <set>
#include <string>

#include "platform/paths.h"
#include "support/forwarding_file_system.h"

namespace kv::test {

class BusyFileSystem final : public ForwardingFileSystem {
 public:
  explicit BusyFileSystem(std::set<std::string> busyNames, FileSystem& inner = RealFileSystem())
      : ForwardingFileSystem(inner), busy_(std::move(busyNames)) {}

  bool TryDeleteFile(const std::string& p) override {
    return busy_.count(FileNameOf(p)) == 0 && ForwardingFileSystem::TryDeleteFile(p);
  }
  void RenameFile(const std::string& from, const std::string& to) override {
    if (busy_.count(FileNameOf(to)) != 0 || busy_.count(FileNameOf(from)) != 0) throw FileError("in use: " + to);
    ForwardingFileSystem::RenameFile(from, to);
  }
  bool TryMoveAside(const std::string& from, const std::string& to) override {
    return busy_.count(FileNameOf(from)) == 0 && ForwardingFileSystem::TryMoveAside(from, to);
  }
  std::unique_ptr<OutputFile> OpenForWrite(const std::string& p) override {
    if (busy_.count(FileNameOf(p)) != 0) throw FileError("in use: " + p);
    return ForwardingFileSystem::OpenForWrite(p);
  }

 private:
  std::set<std::string> busy_;
};

}  // namespace kv::test
