/*
** A private temporary folder per test, removed with everything in it.
*/
#pragma once

#include <filesystem>
#include <string>

namespace kv::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /* The folder, with a trailing separator. */
  const std::string& Path() const { return path_; }
  /* Path of a name inside the folder. */
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

/* Writes bytes to a file, creating missing folders. */
void WriteFile(const std::string& path, const std::string& bytes);
/* Whole content of a file. */
std::string ReadFile(const std::string& path);

}  // namespace kv::test
