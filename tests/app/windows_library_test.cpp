// The unattended program does not load Qt: the windows live in a library of
// their own, loaded when they are shown, found beside the program or where
// KV_WINDOWS_LIBRARY says.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/temp_dir.h"

namespace kv {
namespace {

struct ShellRun {
  int status = -1;
  std::string out;  // standard output and error together
};

ShellRun Shell(const test::TempDir& dir, const std::string& command) {
  const std::string out = dir / "out.txt";
  const int raw = std::system((command + " >'" + out + "' 2>&1").c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(out)};
}

/* What the process maps once it maps both names (or after ten seconds). */
std::string MapsOnceLoaded(pid_t pid) {
  std::string maps;
  for (int i = 0; i < 200; ++i) {
    maps = test::ReadFile("/proc/" + std::to_string(pid) + "/maps");
    if (maps.find("kvupgrade-windows.so") != std::string::npos && maps.find("libQt6Widgets") != std::string::npos)
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return maps;
}

TEST(WindowsLibrary, OnlyTheWindowsLoadQtFromTheirOwnLibrary) {
  test::TempDir dir;
  const ShellRun needed = Shell(dir, "readelf -d '" KV_UPGRADE_EXE "'");
  ASSERT_NE(needed.out.find("libc.so"), std::string::npos) << needed.out;
  EXPECT_EQ(needed.out.find("libQt6"), std::string::npos) << needed.out;

  // With a display the library is loaded and the start runs in it: here it
  // tells of a malformed registry file and waits for the operator.
  const std::string registry = dir / "bad.reg";
  test::WriteFile(registry, "Windows Registry Editor Version 5.00\nnonsense\n");
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::unsetenv("KV_WINDOWS_LIBRARY");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("KV_REGISTRY", registry.c_str(), 1);
    ::execl(KV_UPGRADE_EXE, KV_UPGRADE_EXE, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const std::string maps = MapsOnceLoaded(pid);
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  EXPECT_NE(maps.find("kvupgrade-windows.so"), std::string::npos) << maps;
  EXPECT_NE(maps.find("libQt6Widgets"), std::string::npos) << maps;

  // A library that is not where it is said to be is named, with the way without windows.
  const ShellRun missing = Shell(dir, "KV_WINDOWS_LIBRARY='" + dir / "none.so" + "' QT_QPA_PLATFORM=offscreen '" +
                                          KV_UPGRADE_EXE + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find(dir / "none.so"), std::string::npos) << missing.out;
  EXPECT_NE(missing.out.find("--unattended"), std::string::npos) << missing.out;
}

}  // namespace
}  // namespace kv
