/*
** A file system whose chosen files are "in use": they cannot be deleted, as on
** Windows while a program runs from them. Everything else goes to the real
** file system (as root, a permission check would not stop a delete).
*/
#pragma once

#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kv::test {

class BusyFileSystem final : public FileSystem {
 public:
  explicit BusyFileSystem(std::set<std::string> busyNames, FileSystem& inner = RealFileSystem())
      : busy_(std::move(busyNames)), inner_(inner) {}

  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  bool DirExists(const std::string& p) override { return inner_.DirExists(p); }
  bool CreateDirs(const std::string& p) override { return inner_.CreateDirs(p); }
  void ClearAttributes(const std::string& p) override { inner_.ClearAttributes(p); }
  bool TryDeleteFile(const std::string& p) override {
    return busy_.count(FileNameOf(p)) == 0 && inner_.TryDeleteFile(p);
  }
  bool TryCopyFile(const std::string& from, const std::string& to) override { return inner_.TryCopyFile(from, to); }
  void RenameFile(const std::string& from, const std::string& to) override {
    if (busy_.count(FileNameOf(to)) != 0) throw FileError("in use: " + to);
    inner_.RenameFile(from, to);
  }
  std::string ReadFile(const std::string& p) override { return inner_.ReadFile(p); }
  void AppendToFile(const std::string& p, std::string_view bytes) override { inner_.AppendToFile(p, bytes); }
  std::unique_ptr<OutputFile> OpenForWrite(const std::string& p) override {
    if (busy_.count(FileNameOf(p)) != 0) throw FileError("in use: " + p);
    return inner_.OpenForWrite(p);
  }

 private:
  std::set<std::string> busy_;
  FileSystem& inner_;
};

}  // namespace kv::test
