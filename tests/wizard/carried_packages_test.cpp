// What the built wizard carries: its version and the release's program files,
// each one zlib stream at the best compression that inflates to the file.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/resource_bundle.h"
#include "support/fakes.h"
#include "support/recording_window.h"
#include "support/temp_dir.h"
#include "wizard/program_files.h"

namespace kv {
namespace {

TEST(CarriedPackages, BuiltWizardCarriesTheReleaseFiles) {
  const std::string exePath = KV_UPGRADE_EXE;
  const std::string carriedDir = std::string(KV_CARRIED_FILES_DIR) + "/";
  std::set<std::string> carriedNames;
  std::stringstream names(KV_CARRIED_NAMES);
  for (std::string n; std::getline(names, n, ',');) carriedNames.insert(n);

  auto exe = OpenBundledExecutable(exePath);
  FileVersion version;
  ASSERT_TRUE(ParseFileVersion(KV_PROGRAM_VERSION, version));
  EXPECT_EQ(exe->ReadOwnFileVersion(exePath), version);

  for (const ProgramPackage& p : ProgramPackages()) {
    auto stream = exe->OpenResource(std::string(p.type), std::string(p.name));
    ASSERT_EQ(stream != nullptr, carriedNames.count(std::string(p.name)) == 1) << p.name;
    char header[2] = {};
    if (stream) {
      EXPECT_EQ(std::string(header, stream->Read(header, 2)), "\x78\xDA") << p.name;
    }
  }
  EXPECT_EQ(BundleReader(exePath).Items().size(), carriedNames.size() + 1);  // and the version record

  test::TempDir dir;
  RealFileSystem().CreateDirs(dir / "prog/");
  RealFileSystem().CreateDirs(dir / "Info/");
  test::FixedClock clock;
  test::RecordingDialog dialog;
  RegisterLog log({kApplicationTitle, exePath, dir / "Info/", dir / "Info/log"}, RealFileSystem(), clock, dialog);
  test::RecordingWindow window;
  ProgramFileSteps steps(window, log, RealFileSystem(), *exe, dir / "prog");
  EXPECT_FALSE(steps.Run(12));
  for (const ProgramPackage& p : ProgramPackages()) {
    if (carriedNames.count(std::string(p.name)) == 0) continue;
    const std::string file(p.fileName);
    EXPECT_TRUE(test::ReadFile(dir / ("prog/" + file)) == test::ReadFile(carriedDir + file)) << file;
  }
}

}  // namespace
}  // namespace kv
