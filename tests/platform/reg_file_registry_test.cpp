// The registry kept in .reg files: reading, writing and refusing malformed files.
#include "platform/posix/reg_file_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "support/temp_dir.h"

namespace kv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kSample =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; written by the installer\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmor\\Квенира\\7.00]\r\n"
    "\"DirProgram\"=\"/opt/kv/prog\"\r\n"
    "\"DirBase\"=\"C:\\\\Data \\\"old\\\"\"\r\n"
    "\"Blob\"=hex:01,02,\\\r\n"
    "  03,04\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Velmor\\Kven700]\r\n"
    "\"ServicePack\"=dword:0000000c\r\n"
    "\"Build\"=dword:00000000\r\n";

TEST(RegFileRegistry, ReadsStringsAndDwordsWithEscapesAndAnyLetterCase) {
  TempDir dir;
  WriteFile(dir / "r.reg", kSample);
  RegFileRegistry reg(dir / "r.reg");

  auto key = reg.OpenKey(RegistryHive::LocalMachine, "SOFTWARE\\Velmor\\КВЕНИРА\\7.00\\");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("dirprogram"), "/opt/kv/prog");
  EXPECT_EQ(key->ReadString("DirBase"), "C:\\Data \"old\"");
  EXPECT_EQ(key->ReadString("Blob"), std::nullopt);      // binary: not a string
  EXPECT_EQ(key->ReadDword("DirProgram"), std::nullopt);  // string: not a dword
  EXPECT_EQ(key->ReadString("Missing"), std::nullopt);

  auto user = reg.OpenKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700\\");
  ASSERT_TRUE(user);
  EXPECT_EQ(user->ReadDword("ServicePack"), 12u);

  // A parent of a listed key exists; a sibling and the other hive do not.
  EXPECT_TRUE(reg.OpenKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor"));
  EXPECT_FALSE(reg.OpenKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven70"));
  EXPECT_FALSE(reg.OpenKey(RegistryHive::LocalMachine, "SOFTWARE\\Velmor\\Kven700"));
}

TEST(RegFileRegistry, MissingFileHasNoKeysAndFirstWriteCreatesIt) {
  TempDir dir;
  RegFileRegistry reg(dir / "none.reg");
  EXPECT_FALSE(reg.OpenKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700"));

  reg.CreateKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700\\")->WriteDword("Build", 3);
  EXPECT_EQ(ReadFile(dir / "none.reg"),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Velmor\\Kven700]\n"
            "\"Build\"=dword:00000003\n");
  EXPECT_EQ(reg.OpenKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700")->ReadDword("Build"), 3u);
}

TEST(RegFileRegistry, WritesChangeOnlyTheirOwnLine) {
  TempDir dir;
  WriteFile(dir / "r.reg", kSample);
  ::chmod((dir / "r.reg").c_str(), 0640);
  RegFileRegistry reg(dir / "r.reg");

  auto key = reg.CreateKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700");
  key->WriteDword("servicepack", 13);  // existing value, other letter case
  key->WriteDword("Extra", 0xFFFFFFFF);  // new value joins the key's block
  EXPECT_EQ(key->ReadDword("Extra"), 0xFFFFFFFFu);

  std::string expected = kSample;
  expected.replace(expected.find("\"ServicePack\"=dword:0000000c"), 28, "\"servicepack\"=dword:0000000d");
  expected += "\"Extra\"=dword:ffffffff\r\n";
  EXPECT_EQ(ReadFile(dir / "r.reg"), expected);

  // A key the file lacks is appended at the end; the mode of the file stays.
  reg.CreateKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700\\Sub")->WriteDword("X", 1);
  EXPECT_EQ(ReadFile(dir / "r.reg"),
            expected + "\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmor\\Kven700\\Sub]\r\n\"X\"=dword:00000001\r\n");
  struct stat st{};
  ::stat((dir / "r.reg").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(RegFileRegistry, AWriteRemovesTemporaryFilesAKilledWriterLeftBehind) {
  TempDir dir;
  const std::string reg = dir / "registry.reg";
  for (const char* name : {"registry.reg.aB3xYz", "registry.reg.young1", "registry.reg.bak", "other.reg.aB3xYz"})
    WriteFile(dir / name, "partial");
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {"registry.reg.aB3xYz", "registry.reg.bak", "other.reg.aB3xYz"})
    std::filesystem::last_write_time(dir / name, old);

  RegFileRegistry(reg).CreateKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700\\")->WriteDword("Build", 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "registry.reg.aB3xYz"));
  // A young one may be another writer's at work; other names are not ours.
  for (const char* name : {"registry.reg.young1", "registry.reg.bak", "other.reg.aB3xYz"})
    EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
}

TEST(RegFileRegistry, MachineHiveIsReadOnly) {
  TempDir dir;
  WriteFile(dir / "r.reg", kSample);
  RegFileRegistry reg(dir / "r.reg");
  EXPECT_THROW(reg.CreateKey(RegistryHive::LocalMachine, "SOFTWARE\\Velmor\\Квенира\\7.00"), RegistryError);
  auto key = reg.OpenKey(RegistryHive::CurrentUser, "SOFTWARE\\Velmor\\Kven700");
  EXPECT_THROW(key->WriteDword("Build", 1), RegistryError);  // opened read-only
  EXPECT_EQ(ReadFile(dir / "r.reg"), kSample);
}

TEST(RegFileRegistry, MalformedFileIsNamedWithItsLineAndNeverRewritten) {
  struct Case {
    std::string content;
    std::string where;
  };
  const Case cases[] = {
      {"REGEDIT5\n[HKEY_CURRENT_USER\\A]\n", "line 1"},
      {"Windows Registry Editor Version 5.00\n\"A\"=dword:1\n", "line 2: value outside"},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"B\"=dword:xyz\n", "line 3"},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"B\"=\"C:\\D\"\n", "line 3"},
      {"Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A\n", "line 3"},
      {"Windows Registry Editor Version 5.00\n[HKEY_NOWHERE\\A]\n", "line 2: unknown registry hive"},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"B\"\n", "line 3"},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"B\"=-\n", "line 3"},
      {"\xFF\xFEW\0i\0", "UTF-16"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir / "bad.reg", c.content);
    RegFileRegistry reg(dir / "bad.reg");
    try {
      reg.OpenKey(RegistryHive::CurrentUser, "A");
      ADD_FAILURE() << "accepted: " << c.content;
    } catch (const RegistryError& e) {
      EXPECT_NE(std::string(e.what()).find(dir / "bad.reg"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.where), std::string::npos) << e.what();
    }
    EXPECT_THROW(reg.CreateKey(RegistryHive::CurrentUser, "A"), RegistryError);
    EXPECT_EQ(ReadFile(dir / "bad.reg"), c.content);
  }
}

}  // namespace
}  // namespace kv
