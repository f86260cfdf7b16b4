/*
** A file system that reads through to another and changes nothing: deletions
** and copies fail, appended lines are dropped, and creating or renaming a
** file throws. Used where the program must only look.
*/
#pragma once

#include "platform/file_system.h"

namespace kv {

class ReadOnlyFileSystem final : public FileSystem {
 public:
  explicit ReadOnlyFileSystem(FileSystem& inner) : fs_(inner) {}
  bool FileExists(const std::string& path) override { return fs_.FileExists(path); }
  bool DirExists(const std::string& path) override { return fs_.DirExists(path); }
  bool CreateDirs(const std::string& path) override { return fs_.DirExists(path); }
  void ClearAttributes(const std::string&) override {}
  bool TryDeleteFile(const std::string& path) override { return !fs_.FileExists(path); }
  bool TryCopyFile(const std::string&, const std::string&) override { return false; }
  void RenameFile(const std::string& from, const std::string&) override { Refuse(from); }
  bool TryMoveAside(const std::string&, const std::string&) override { return false; }
  std::string ReadFile(const std::string& path) override { return fs_.ReadFile(path); }
  void AppendToFile(const std::string&, std::string_view) override {}
  std::unique_ptr<OutputFile> OpenForWrite(const std::string& path) override { Refuse(path); }

 private:
  [[noreturn]] static void Refuse(const std::string& path) {
    throw FileError("nothing may be written here: " + path);
  }
  FileSystem& fs_;
};

}  // namespace kv
