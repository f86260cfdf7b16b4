/*
** The real file system on POSIX.
*/
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/posix/unique_fd.h"

namespace kv {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err = errno) {
  throw FileError(what + " \"" + path + "\": " + std::strerror(err));
}

/* Writes all bytes, retrying after interruptions and short writes. */
void WriteAll(int fd, std::string_view bytes, const std::string& path) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("cannot write", path);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
}

class PosixOutputFile final : public OutputFile {
 public:
  PosixOutputFile(UniqueFd fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}
  void Write(std::string_view bytes) override { WriteAll(fd_.Get(), bytes, path_); }
  /* On disk before it is closed: a file renamed into place after a power loss
  ** must not come back empty. */
  void Close() override {
    if (!fd_) return;
    if (::fsync(fd_.Get()) != 0) Fail("cannot flush", path_);
    if (fd_.Close() != 0) Fail("cannot close", path_);
  }

 private:
  UniqueFd fd_;
  std::string path_;
};

class PosixFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    struct stat st{};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }

  bool DirExists(const std::string& path) override {
    struct stat st{};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  bool CreateDirs(const std::string& path) override {
    if (path.empty()) return false;
    std::error_code ignored;  // the folder's presence afterwards is the answer
    std::filesystem::create_directories(path, ignored);
    return DirExists(path);
  }

  void ClearAttributes(const std::string& path) override {
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
  }

  bool TryDeleteFile(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
  }

  bool TryCopyFile(const std::string& from, const std::string& to) override {
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in) return false;
    struct stat st{};
    if (::fstat(in.Get(), &st) != 0 || FileExists(to)) return false;
    // Written under a temporary name and linked into place whole, so that a
    // copy cut short (a kill, a full disk) never stands under the target's name.
    const std::string part = to + ".part";
    ::unlink(part.c_str());
    UniqueFd out(::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777));
    if (!out) return false;
    try {
      char buf[65536];
      for (;;) {
        ssize_t n = ::read(in.Get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw FileError("read");
        if (n == 0) break;
        WriteAll(out.Get(), std::string_view(buf, static_cast<size_t>(n)), part);
      }
      if (::fsync(out.Get()) != 0 || out.Close() != 0) throw FileError("close");
      // link fails when the target exists: the copy still never replaces a file.
      if (::link(part.c_str(), to.c_str()) != 0) throw FileError("link");
      ::unlink(part.c_str());
    } catch (const FileError&) {
      ::unlink(part.c_str());
      return false;
    }
    const std::string folder = FolderOf(to);
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) ::fsync(dir.Get());
    return true;
  }

  void RenameFile(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) Fail("cannot rename to \"" + to + "\"", from);
    // The folder's new entry is on disk too.
    const std::string folder = FolderOf(to);
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) ::fsync(dir.Get());
  }

  bool TryMoveAside(const std::string& from, const std::string& to) override {
    // A running program may be renamed here; an immutable file may not.
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    const std::string folder = FolderOf(to);
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) ::fsync(dir.Get());
    return true;
  }

  std::string ReadFile(const std::string& path) override {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) Fail("cannot open", path);
    std::string content;
    char buf[65536];
    for (;;) {
      ssize_t n = ::read(fd.Get(), buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail("cannot read", path);
      if (n == 0) break;
      content.append(buf, static_cast<size_t>(n));
    }
    return content;
  }

  void AppendToFile(const std::string& path, std::string_view bytes) override {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    if (!fd) Fail("cannot open", path);
    WriteAll(fd.Get(), bytes, path);
    if (fd.Close() != 0) Fail("cannot close", path);
  }

  std::unique_ptr<OutputFile> OpenForWrite(const std::string& path) override {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd) Fail("cannot create", path);
    return std::make_unique<PosixOutputFile>(std::move(fd), path);
  }
};

}  // namespace

FileSystem& RealFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace kv
