/*
** Portable file helpers built on the FileSystem interface.
*/
#include "platform/file_system.h"

namespace kv {

bool DeleteIfExists(FileSystem& fs, const std::string& path) {
  if (fs.FileExists(path)) {
    fs.ClearAttributes(path);
    fs.TryDeleteFile(path);
  }
  return !fs.FileExists(path);
}

}  // namespace kv
