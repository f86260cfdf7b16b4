/*
** A file system that hands every call to another one: test doubles derive
** from it and override only the calls they change.
*/
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace kv::test {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner = RealFileSystem()) : inner_(inner) {}

  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  bool DirExists(const std::string& p) override { return inner_.DirExists(p); }
  bool CreateDirs(const std::string& p) override { return inner_.CreateDirs(p); }
  void ClearAttributes(const std::string& p) override { inner_.ClearAttributes(p); }
  bool TryDeleteFile(const std::string& p) override { return inner_.TryDeleteFile(p); }
  bool TryCopyFile(const std::string& from, const std::string& to) override { return inner_.TryCopyFile(from, to); }
  void RenameFile(const std::string& from, const std::string& to) override { inner_.RenameFile(from, to); }
  bool TryMoveAside(const std::string& from, const std::string& to) override { return inner_.TryMoveAside(from, to); }
  std::string ReadFile(const std::string& p) override { return inner_.ReadFile(p); }
  void AppendToFile(const std::string& p, std::string_view bytes) override { inner_.AppendToFile(p, bytes); }
  std::unique_ptr<OutputFile> OpenForWrite(const std::string& p) override { return inner_.OpenForWrite(p); }

 private:
  FileSystem& inner_;
};

}  // namespace kv::test
