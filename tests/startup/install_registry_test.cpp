// The installation record and the user settings in the registry.
#include "startup/install_registry.h"

#include <gtest/gtest.h>

#include "platform/posix/reg_file_registry.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string InstallReg(const std::string& program, const std::string& base, const std::string& type) {
  return "Windows Registry Editor Version 5.00\n\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmor\\Квенира\\7.00]\n"
         "\"DirProgram\"=\"" + program + "\"\n"
         "\"DirBase\"=\"" + base + "\"\n"
         "\"typeInstall\"=\"" + type + "\"\n";
}

TEST(InstallRegistry, InstallationTypeAcceptance) {
  struct Case {
    const char* type;
    const char* letter;
    bool accepted;
  };
  const Case cases[] = {
      {"dfhs", "d", true}, {"dfhs", "x", true}, {"dfhs", "", true}, {"d", "d", true},
      {"h", "d", false},   {"f", "d", false},   {"s", "d", false},  {"dh", "d", false},
      {"dh", "", false},   {"", "d", false},    {"s", "", true},    {"s", "h", true},
      {"D", "d", false},   {"DFHS", "d", false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir / "r.reg", InstallReg("/p", "/b", c.type));
    RegFileRegistry reg(dir / "r.reg");
    EXPECT_EQ(ReadInstallRegistry(reg, c.letter, 2026).has_value(), c.accepted)
        << "typeInstall=" << c.type << " letter=" << c.letter;
  }
}

TEST(InstallRegistry, FoldersAreDerivedWithOrWithoutTrailingSeparators) {
  for (auto [program, base] : {std::pair{"/opt/kv/prog", "/data"}, std::pair{"/opt/kv/prog/", "/data/"}}) {
    TempDir dir;
    WriteFile(dir / "r.reg", InstallReg(program, base, "d"));
    RegFileRegistry reg(dir / "r.reg");
    auto f = ReadInstallRegistry(reg, "d", 2026);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->program, "/opt/kv/prog/");
    EXPECT_EQ(f->base, "/data/");
    EXPECT_EQ(f->data, "/data/Kven700/");
    EXPECT_EQ(f->version, "/data/Версия/700/");
    EXPECT_EQ(f->info, "/data/Версия/700/Info/");
    EXPECT_EQ(f->registerLog, "/data/Версия/700/Info/Register 2026.log");
  }
}

TEST(InstallRegistry, MissingKeyOrValueOrEmptyFolderIsRefused) {
  TempDir dir;
  RegFileRegistry reg(dir / "r.reg");
  EXPECT_FALSE(ReadInstallRegistry(reg, "d", 2026));  // no file at all

  for (const std::string& content :
       {InstallReg("", "/b", "d"), InstallReg("/p", "", "d"),
        std::string("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmor\\Квенира\\7.00]\n"
                    "\"DirProgram\"=\"/p\"\n\"DirBase\"=\"/b\"\n")}) {
    WriteFile(dir / "r.reg", content);
    EXPECT_FALSE(ReadInstallRegistry(reg, "d", 2026)) << content;
  }
}

TEST(UserSettings, RoundTripMissingKeyAndMalformedStore) {
  TempDir dir;
  RegFileRegistry reg(dir / "r.reg");
  EXPECT_EQ(ReadUserSetting(reg, "", "ServicePack"), 0);  // no key

  WriteUserSetting(reg, "", "ServicePack", 12);
  WriteUserSetting(reg, "", "Build", -1);
  EXPECT_EQ(ReadUserSetting(reg, "", "ServicePack"), 12);
  EXPECT_EQ(ReadUserSetting(reg, "", "Build"), -1);
  EXPECT_EQ(ReadUserSetting(reg, "", "Other"), 0);
  EXPECT_EQ(ReadUserSetting(reg, "Sub", "ServicePack"), 0);

  // A string where a number belongs reads as 0.
  WriteFile(dir / "s.reg",
            "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmor\\Kven700]\n"
            "\"Build\"=\"5\"\n");
  RegFileRegistry strings(dir / "s.reg");
  EXPECT_EQ(ReadUserSetting(strings, "", "Build"), 0);

  // A malformed store reads as 0 and refuses writes without touching the file.
  const std::string bad = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmor\\Kven700]\n"
                          "\"Build\"=dword:00000007\ngarbage\n";
  WriteFile(dir / "bad.reg", bad);
  RegFileRegistry broken(dir / "bad.reg");
  EXPECT_EQ(ReadUserSetting(broken, "", "Build"), 0);
  EXPECT_THROW(WriteUserSetting(broken, "", "Build", 12), RegistryError);
  EXPECT_EQ(ReadFile(dir / "bad.reg"), bad);
}

}  // namespace
}  // namespace kv
