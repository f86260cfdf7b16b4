// The program-file steps on Windows, under Wine: a program file another
// program holds open, or a running program, cannot be set aside, and every
// file ends as it was; the system's own rename semantics, measured.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "platform/file_system.h"
#include "platform/file_use.h"
#include "platform/own_executable.h"
#include "platform/process.h"
#include "platform/window_list.h"
#include "startup/register_log.h"
#include "support/fakes.h"
#include "support/recording_window.h"
#include "wine_test_support.h"
#include "wizard/program_files.h"

namespace kv {
namespace {

using test::WinPath;
using Strings = std::vector<std::string>;

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> out;
  WIN32_FIND_DATAW found;
  const HANDLE h = ::FindFirstFileW(win32::Wide(folder + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.insert(win32::Utf8(found.cFileName));
  } while (::FindNextFileW(h, &found));
  ::FindClose(h);
  return out;
}

/* A file opened for reading the way many programs open theirs: without
** FILE_SHARE_DELETE, so that it can be neither deleted nor renamed. */
win32::UniqueFileHandle HoldOpen(const std::string& path) {
  return win32::UniqueFileHandle(::CreateFileW(win32::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

/* Starts a copy of the helper window program as path; ends it with the object. */
class RunningCopy {
 public:
  explicit RunningCopy(const std::string& path) : path_(path) {
    RealFileSystem().TryDeleteFile(path);
    started_ = RealFileSystem().TryCopyFile(WinPath(KV_HELPER_WINDOW_EXE), path) &&
               RealProcesses().Start(path, {"KvRunningCopy", "running"});
    for (int i = 0; i < 50 && started_ && !OpenTopLevelWindows()->FindWindow("KvRunningCopy", std::nullopt); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ~RunningCopy() {
    if (auto w = OpenTopLevelWindows()->FindWindow("KvRunningCopy", std::nullopt))
      OpenTopLevelWindows()->SendCloseRequest(*w);
    for (int i = 0; i < 50 && FileInUse(path_); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  bool Started() const { return started_; }

 private:
  std::string path_;
  bool started_ = false;
};

TEST(Win32ProgramFiles, RenameSemanticsAsMeasuredHere) {
  const std::string dir = test::FreshTempFolder("kvrename");
  FileSystem& fs = RealFileSystem();
  {
    // A running program cannot be deleted or opened for writing, but the system renames it;
    // setting it aside refuses it all the same, as the steps treat it as busy.
    RunningCopy running(dir + "running.exe");
    ASSERT_TRUE(running.Started());
    EXPECT_FALSE(fs.TryDeleteFile(dir + "running.exe"));
    const bool renamed = ::MoveFileExW(win32::Wide(dir + "running.exe").c_str(),
                                       win32::Wide(dir + "renamed.exe").c_str(), 0) != 0;
    EXPECT_TRUE(renamed) << "the system no longer renames a running program";
    if (renamed) fs.RenameFile(dir + "renamed.exe", dir + "running.exe");
    EXPECT_FALSE(fs.TryMoveAside(dir + "running.exe", dir + "running.exe.old"));
    EXPECT_TRUE(fs.FileExists(dir + "running.exe"));
  }
  // A file held open without FILE_SHARE_DELETE can be neither deleted nor renamed.
  fs.AppendToFile(dir + "held.bpl", "held");
  {
    const win32::UniqueFileHandle held = HoldOpen(dir + "held.bpl");
    ASSERT_TRUE(held);
    EXPECT_FALSE(fs.TryDeleteFile(dir + "held.bpl"));
    EXPECT_FALSE(::MoveFileExW(win32::Wide(dir + "held.bpl").c_str(), win32::Wide(dir + "x.bpl").c_str(), 0));
    EXPECT_FALSE(fs.TryMoveAside(dir + "held.bpl", dir + "held.bpl.old"));
  }
  // A read-only file is set aside with its attribute.
  ::SetFileAttributesW(win32::Wide(dir + "held.bpl").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(fs.TryMoveAside(dir + "held.bpl", dir + "held.bpl.old"));
  EXPECT_NE(::GetFileAttributesW(win32::Wide(dir + "held.bpl.old").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(FilesIn(dir), (std::set<std::string>{"held.bpl.old", "running.exe"}));
}

TEST(Win32ProgramFiles, AHeldOrRunningMainProgramLeavesEveryOldFileInPlace) {
  const std::string dir = test::FreshTempFolder("kvprog");
  const std::string prog = dir + "prog\\";
  FileSystem& fs = RealFileSystem();
  ASSERT_TRUE(fs.CreateDirs(prog));
  ASSERT_TRUE(fs.CreateDirs(dir + "Info\\"));
  test::FixedClock clock;
  test::RecordingDialog logDialog;
  RegisterLog log({kApplicationTitle, WinPath(KV_UPGRADE_EXE), dir + "Info\\", dir + "Info\\Register 2026.log"}, fs,
                  clock, logDialog);
  std::unique_ptr<OwnExecutable> exe = OpenBundledExecutable(WinPath(KV_UPGRADE_EXE), true);
  const Strings names = {"kv700_h.exe", "kv700_d.exe", "kv5.bpl"};
  auto writeOld = [&] {
    for (const std::string& n : names)
      if (!fs.FileExists(prog + n)) fs.AppendToFile(prog + n, "old " + n);
  };
  auto expectOld = [&](const std::string& what) {
    SCOPED_TRACE(what);
    std::set<std::string> expected(names.begin(), names.end());
    expected.insert("tonic700.exe");
    EXPECT_EQ(FilesIn(prog), expected);  // nothing named .old or .part
    for (const std::string& n : names) EXPECT_EQ(fs.ReadFile(prog + n), "old " + n) << n;
  };
  const Strings failed = {"Error 12_101", "Error 12_102", "Error 12_103", "Error 12_105", "Error 12_106"};

  writeOld();
  fs.AppendToFile(prog + "tonic700.exe", "old tonic700.exe");
  {
    const win32::UniqueFileHandle held = HoldOpen(prog + "tonic700.exe");
    ASSERT_TRUE(held);
    test::RecordingWindow window;
    ProgramFileSteps steps(window, log, fs, *exe, prog);
    EXPECT_TRUE(steps.Run(12));
    EXPECT_EQ(window.messages, failed);
    EXPECT_EQ(window.memo3, (Strings{"tonic700.exe занят", "Прежние файлы программы возвращены на место"}));
  }
  expectOld("held open");
  EXPECT_EQ(fs.ReadFile(prog + "tonic700.exe"), "old tonic700.exe");

  {
    RunningCopy running(prog + "tonic700.exe");
    ASSERT_TRUE(running.Started());
    test::RecordingWindow window;
    ProgramFileSteps steps(window, log, fs, *exe, prog);
    EXPECT_TRUE(steps.Run(12));
    EXPECT_EQ(window.messages, failed);
    expectOld("running");
  }

  // Once free, every file is replaced and nothing set aside is left.
  test::RecordingWindow window;
  ProgramFileSteps steps(window, log, fs, *exe, prog);
  EXPECT_FALSE(steps.Run(12));
  EXPECT_EQ(FilesIn(prog), (std::set<std::string>{"kv5.bpl", "kv700_d.exe", "tonic700.exe"}));
  EXPECT_EQ(fs.ReadFile(prog + "kv700_d.exe"), fs.ReadFile(WinPath(KV_CARRIED_FILES_DIR "/kv700_d.exe")));
}

}  // namespace
}  // namespace kv
