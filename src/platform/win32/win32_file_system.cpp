/*
** The real file system on Windows, with its semantics: a running executable
** cannot be deleted nor opened for writing (that is how the program-file steps
** see a busy file), a
** copy fails when its target exists, a rename replaces its target and is
** written through before it returns.
*/
#include <string>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

using win32::UniqueFileHandle;
using win32::Wide;

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD err = ::GetLastError()) {
  throw FileError(what + " \"" + path + "\": " + win32::ErrorText(err));
}

void WriteAll(HANDLE h, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr)) Fail("cannot write", path);
    bytes.remove_prefix(written);
  }
}

class WindowsOutputFile final : public OutputFile {
 public:
  WindowsOutputFile(UniqueFileHandle h, std::string path) : h_(std::move(h)), path_(std::move(path)) {}
  void Write(std::string_view bytes) override { WriteAll(h_.Get(), bytes, path_); }
  /* On disk before it is closed: a file renamed into place after a power loss
  ** must not come back empty. */
  void Close() override {
    if (!h_) return;
    if (!::FlushFileBuffers(h_.Get())) Fail("cannot flush", path_);
    if (!h_.Close()) Fail("cannot close", path_);
  }

 private:
  UniqueFileHandle h_;
  std::string path_;
};

DWORD Attributes(const std::string& path) { return ::GetFileAttributesW(Wide(path).c_str()); }

class WindowsFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    const DWORD a = Attributes(path);
    return !path.empty() && a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DirExists(const std::string& path) override {
    const DWORD a = Attributes(path);
    return !path.empty() && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CreateDirs(const std::string& path) override {
    if (path.empty() || DirExists(path)) return !path.empty();
    std::string parent = path;
    while (!parent.empty() && (parent.back() == kPathSep || parent.back() == '/')) parent.pop_back();
    const size_t cut = parent.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0 && parent[cut - 1] != ':') CreateDirs(parent.substr(0, cut));
    ::CreateDirectoryW(Wide(parent).c_str(), nullptr);
    return DirExists(path);
  }
  void ClearAttributes(const std::string& path) override {
    ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  bool TryDeleteFile(const std::string& path) override {
    if (::DeleteFileW(Wide(path).c_str())) return true;
    const DWORD err = ::GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
  }
  bool TryCopyFile(const std::string& from, const std::string& to) override {
    // Fail if the target exists; a failed copy leaves no partial target.
    if (::CopyFileW(Wide(from).c_str(), Wide(to).c_str(), TRUE)) return true;
    if (::GetLastError() != ERROR_FILE_EXISTS) ::DeleteFileW(Wide(to).c_str());
    return false;
  }
  void RenameFile(const std::string& from, const std::string& to) override {
    if (!::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      Fail("cannot rename", from + "\" to \"" + to);
  }
  bool TryMoveAside(const std::string& from, const std::string& to) override {
    // The system renames a running program, but the program-file steps must
    // treat it as busy, as they treat it when it cannot be deleted: a file
    // that cannot be opened for writing and deletion, with every sharing
    // allowed, is in use. A read-only file is probed without its attribute,
    // which it keeps under its new name.
    const std::wstring source = Wide(from), target = Wide(to);
    const DWORD attributes = ::GetFileAttributesW(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly) ::SetFileAttributesW(source.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    bool moved = false;
    UniqueFileHandle probe(::CreateFileW(source.c_str(), GENERIC_WRITE | DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe) {
      probe.Close();
      moved = ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (readOnly) ::SetFileAttributesW(moved ? target.c_str() : source.c_str(), attributes);
    return moved;
  }

  std::string ReadFile(const std::string& path) override {
    UniqueFileHandle h(::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) Fail("cannot open", path);
    std::string out;
    char buf[65536];
    for (DWORD n = 0;;) {
      if (!::ReadFile(h.Get(), buf, sizeof buf, &n, nullptr)) Fail("cannot read", path);
      if (n == 0) break;
      out.append(buf, n);
    }
    return out;
  }
  void AppendToFile(const std::string& path, std::string_view bytes) override {
    UniqueFileHandle h(::CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) Fail("cannot open", path);
    WriteAll(h.Get(), bytes, path);
    if (!h.Close()) Fail("cannot close", path);
  }
  std::unique_ptr<OutputFile> OpenForWrite(const std::string& path) override {
    UniqueFileHandle h(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) Fail("cannot create", path);
    return std::make_unique<WindowsOutputFile>(std::move(h), path);
  }
};

}  // namespace

FileSystem& RealFileSystem() {
  static WindowsFileSystem fs;
  return fs;
}

}  // namespace kv
