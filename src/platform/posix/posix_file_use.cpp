/*
** Files in use, from the process table under /proc.
*/
#include <fcntl.h>
#include <sys/file.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/file_use.h"
#include "platform/posix/unique_fd.h"

namespace kv {

bool FileInUse(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path target = fs::weakly_canonical(path, ec);
  if (ec) return false;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string pid = it->path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code linkError;
    if (fs::read_symlink(it->path() / "exe", linkError) == target) return true;
    // Mapped libraries: the path ends each line of maps that maps a file.
    std::ifstream maps(it->path() / "maps");
    for (std::string line; std::getline(maps, line);) {
      const auto at = line.find('/');
      if (at != std::string::npos && line.compare(at, std::string::npos, target.string()) == 0) return true;
    }
  }
  return false;
}

bool FileHeldByOther(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return false;
  // The engine locks each database file it opens exclusively; a shared lock
  // that cannot be had means some engine has the file open now.
  return ::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0;
}

}  // namespace kv
