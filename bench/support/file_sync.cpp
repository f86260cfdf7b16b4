/*
** Flushed copies of database files.
*/
#include "support/file_sync.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace kv::bench {

void SyncFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  const bool synced = fsync(fd) == 0;
  close(fd);
  if (!synced) throw std::runtime_error("cannot flush " + path);
}

void CopyDatabaseFile(const std::string& from, const std::string& to) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  SyncFile(to);
}

}  // namespace kv::bench
