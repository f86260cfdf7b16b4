// Demo installations for tests, copied from templates that are built once and cached.
#include "support/demo_fixture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/fb_test_db.h"
#include "platform/paths.h"
#include "support/schema_snapshot.h"

namespace kv::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFileOr(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

/* Templates are kept on disk beside each other for all test processes of one
** test program (CTest runs every test in a process of its own), and made anew
** when the program was rebuilt. By default they live in the program's own
** build folder, so that two build trees never share (and wipe) one cache. */
fs::path CacheFolder() {
  const char* root = std::getenv("KV_TEST_CACHE");
  const fs::path self = fs::read_symlink("/proc/self/exe");
  return (root ? fs::path(root) : self.parent_path() / "test-cache") / self.filename();
}

std::string ProgramStamp() {
  struct stat st {};
  ::stat("/proc/self/exe", &st);
  return std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
         std::to_string(st.st_mtim.tv_nsec);
}

/* Holds an exclusive lock on a file for its lifetime. */
class FileLock {
 public:
  explicit FileLock(const fs::path& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0) throw std::runtime_error("cannot lock " + path.string());
  }
  ~FileLock() { ::close(fd_); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_;
};

/* Folder of the template of a level and installation, built on first use. */
fs::path TemplateFor(int level, int installation, bool numbered) {
  const fs::path cache = CacheFolder();
  fs::create_directories(cache);
  FileLock lock(cache / ".lock");
  const std::string stamp = ProgramStamp();
  if (ReadFileOr(cache / "stamp") != stamp) {
    for (auto& entry : fs::directory_iterator(cache))
      if (entry.is_directory()) fs::remove_all(entry.path());
    WriteFile((cache / "stamp").string(), stamp);
  }
  const fs::path folder = cache / ("L" + std::to_string(level) + "-N" + std::to_string(installation) +
                                   (numbered ? "n" : ""));
  if (!fs::exists(folder / "complete")) {
    fs::remove_all(folder);
    demo::DemoOptions o{(folder / "").string(), level, installation, numbered, false};
    demo::CreateDemoInstallation(TestClient(), o);
    WriteFile((folder / "complete").string(), "");
  }
  return folder;
}

}  // namespace

DemoFixture::DemoFixture(int level, int installation, bool numbered)
    : options{dir.Path(), level, installation, numbered, false},
      demo(demo::WriteDemoFiles(options)),
      services_{TestClient(), demo.installation, dialog, RealFileSystem(), version, progress} {
  // The template has the same layout: copy each database by its place in the folder.
  const fs::path folder = TemplateFor(level, installation, numbered);
  for (const std::string& db : demo.databases) {
    const fs::path relative = fs::path(db).lexically_relative(dir.Path());
    fs::create_directories(fs::path(db).parent_path());
    fs::copy_file(folder / relative, db, fs::copy_options::overwrite_existing);
  }
}

std::string DemoFixture::Level(const std::string& path) const {
  return QueryValue(path, "SELECT COALESCE(ServicePack, -1) || '/' || COALESCE(Build, -1) FROM kv_Setting",
                    options.installation);
}

std::string DemoFixture::Snapshot() const {
  std::string out;
  for (const std::string& path : KnownPaths(paths(), kPackDatabases))
    out += "== " + FileNameOf(path) + "\n" + SchemaSnapshot(path);
  return out;
}

std::string DemoFixture::Contents() const {
  std::string out = Snapshot();
  for (const std::string& path : KnownPaths(paths(), kPackDatabases))
    out += "== " + FileNameOf(path) + "\n" + RowsSnapshot(path);
  return out;
}

}  // namespace kv::test
