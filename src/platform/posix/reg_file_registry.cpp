/*
** Registry keys backed by a ".reg" file.
*/
#include "platform/posix/reg_file_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "platform/paths.h"
#include "platform/posix/reg_document.h"
#include "platform/posix/unique_fd.h"
#include "platform/scope_exit.h"

namespace kv {
namespace {

/* Loads the document; a missing file is an empty registry. */
RegDocument Load(const std::string& path) {
  if (path.empty()) return RegDocument::Parse("", path);
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT) return RegDocument::Parse("", path);
    throw RegistryError("cannot open registry file \"" + path + "\": " + std::strerror(errno));
  }
  std::string content;
  char buf[16384];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw RegistryError("cannot read registry file \"" + path + "\": " + std::strerror(errno));
    if (n == 0) break;
    content.append(buf, static_cast<size_t>(n));
  }
  return RegDocument::Parse(content, path);
}

/* Removes temporary files of StoreAtomically's pattern (the registry's name,
** a point and six characters) that a killed writer left beside the registry.
** Only old ones: a young one may belong to a writer still at work. */
void RemoveStaleTemporaries(const std::string& path) {
  namespace stdfs = std::filesystem;
  const std::string prefix = FileNameOf(path) + ".";
  const std::string folder = FolderOf(path);
  const auto now = stdfs::file_time_type::clock::now();
  std::error_code ec;
  for (const auto& entry : stdfs::directory_iterator(folder.empty() ? "." : folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() != prefix.size() + 6 || name.rfind(prefix, 0) != 0 || !entry.is_regular_file(ec)) continue;
    const auto written = stdfs::last_write_time(entry.path(), ec);
    if (!ec && now - written > std::chrono::minutes(10)) stdfs::remove(entry.path(), ec);
  }
}

/* Replaces the file with content: a temporary file in the same folder is
** written, flushed to disk and renamed over the old one. */
void StoreAtomically(const std::string& path, const std::string& content) {
  RemoveStaleTemporaries(path);
  auto fail = [&](const char* what) {
    throw RegistryError(std::string("cannot ") + what + " registry file \"" + path +
                        "\": " + std::strerror(errno));
  };
  std::string tmp = path + ".XXXXXX";
  UniqueFd fd(::mkstemp(tmp.data()));
  if (!fd) fail("write");
  ScopeExit removeTemporary([&] { ::unlink(tmp.c_str()); });

  struct stat st{};
  mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  ::fchmod(fd.Get(), mode);
  const char* p = content.data();
  size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd.Get(), p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail("write");
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (::fsync(fd.Get()) != 0) fail("flush");
  if (fd.Close() != 0) fail("close");
  if (::rename(tmp.c_str(), path.c_str()) != 0) fail("replace");
  removeTemporary.Release();

  std::string folder = FolderOf(path);
  UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.Get());
}

class RegFileKey final : public RegistryKey {
 public:
  RegFileKey(RegFileRegistry& owner, RegistryHive hive, std::string path, RegDocument doc,
             bool writable)
      : owner_(owner), hive_(hive), path_(std::move(path)), doc_(std::move(doc)), writable_(writable) {}

  std::optional<std::string> ReadString(std::string_view name) const override {
    return doc_.ReadString(hive_, path_, name);
  }
  std::optional<std::uint32_t> ReadDword(std::string_view name) const override {
    return doc_.ReadDword(hive_, path_, name);
  }
  void WriteDword(std::string_view name, std::uint32_t value) override {
    if (!writable_) throw RegistryError("registry key \"" + path_ + "\" is open read-only");
    // Re-read so that changes made by others since the key was opened survive.
    RegDocument fresh = Load(owner_.Path());
    fresh.SetDword(hive_, path_, name, value);
    StoreAtomically(owner_.Path(), fresh.Serialize());
    doc_ = std::move(fresh);
  }

 private:
  RegFileRegistry& owner_;
  RegistryHive hive_;
  std::string path_;
  RegDocument doc_;
  bool writable_;
};

}  // namespace

std::unique_ptr<RegistryKey> RegFileRegistry::OpenKey(RegistryHive hive, std::string_view path) {
  RegDocument doc = Load(path_);
  if (!doc.HasKey(hive, path)) return nullptr;
  return std::make_unique<RegFileKey>(*this, hive, std::string(path), std::move(doc), false);
}

std::unique_ptr<RegistryKey> RegFileRegistry::CreateKey(RegistryHive hive, std::string_view path) {
  if (hive == RegistryHive::LocalMachine)
    throw RegistryError("the machine-wide registry hive is read-only for this program");
  if (path_.empty()) throw RegistryError("no registry file is set (KV_REGISTRY)");
  RegDocument doc = Load(path_);
  return std::make_unique<RegFileKey>(*this, hive, std::string(path), std::move(doc), true);
}

std::unique_ptr<Registry> OpenEnvironmentRegistry() {
  const char* path = std::getenv("KV_REGISTRY");
  return std::make_unique<RegFileRegistry>(path ? path : "");
}

}  // namespace kv
