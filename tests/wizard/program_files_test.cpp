// The program-file steps: staging, replacing and the failures that keep the old files.
#include "wizard/program_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include "platform/resource_bundle.h"
#include "platform/text_codec.h"
#include "platform/zlib_codec.h"
#include "support/busy_file_system.h"
#include "support/fakes.h"
#include "support/forwarding_file_system.h"
#include "support/immutable_file.h"
#include "support/recording_window.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using test::ReadFile;
using test::WriteFile;
using Strings = std::vector<std::string>;

/* Reproducible file content; big enough that inflating takes several rounds. */
std::string Content(const std::string& name, std::size_t size) {
  std::uint32_t x = static_cast<std::uint32_t>(std::hash<std::string>{}(name));
  std::string s;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    s.push_back(i % 64 < 40 ? static_cast<char>(x >> 24) : name[i % name.size()]);
  }
  return s;
}

/* An installation's program folder, a wizard executable carrying some packages,
** the register log and the recording window. */
struct Site {
  test::TempDir dir;
  std::string prog = dir / "prog/";
  std::string exePath = dir / "kvupgrade";
  std::string logPath = dir / "Info/Register 2026.log";
  test::FixedClock clock;
  test::RecordingDialog logDialog;
  RegisterLog log{{kApplicationTitle, exePath, dir / "Info/", logPath}, RealFileSystem(), clock, logDialog};
  test::RecordingWindow window;
  std::unique_ptr<OwnExecutable> exe = OpenBundledExecutable(exePath);
  std::map<std::string, std::string> content;  // by file name

  /* Carries the packages of these resource names; packed(name, stream) may spoil one. */
  explicit Site(const std::set<std::string>& carried,
                 const std::function<std::string(const std::string&, std::string)>& packed = {}) {
    RealFileSystem().CreateDirs(prog);
    RealFileSystem().CreateDirs(dir / "Info/");
    WriteFile(exePath, "\x7F" "ELF wizard");
    std::vector<BundleEntry> entries{{"VERSION", "FILEVERSION", EncodeFileVersion({7, 0, 12, 0})}};
    for (const ProgramPackage& p : ProgramPackages()) {
      const std::string name(p.name), file(p.fileName);
      if (carried.count(name) == 0) continue;
      content[file] = Content(file, p.index == 2 ? 300000 : 5000 + 1000 * static_cast<std::size_t>(p.index));
      std::string stream = DeflateBest(content[file]);
      if (packed) stream = packed(name, std::move(stream));
      entries.push_back({std::string(p.type), name, stream});
    }
    WriteBundle(exePath, entries);
  }

  void OldFiles(const Strings& names) {
    for (const std::string& n : names) WriteFile(prog + n, "old " + n);
  }

  /* The program folder holds exactly these files, each as OldFiles wrote it. */
  void ExpectOld(const Strings& names) const {
    EXPECT_EQ(Files(), std::set<std::string>(names.begin(), names.end()));  // no ".old" or ".part" either
    for (const std::string& n : names) EXPECT_EQ(ReadFile(prog + n), "old " + n) << n;
  }

  std::set<std::string> Files() const {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(prog)) out.insert(e.path().filename().string());
    return out;
  }

  std::vector<int> LoggedCodes() const {
    std::vector<int> codes;
    if (!RealFileSystem().FileExists(logPath)) return codes;
    const std::string text = AnsiToUtf8(ReadFile(logPath));
    static const std::regex kCode(R"( (-?\d+): \*)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kCode); it != std::sregex_iterator(); ++it)
      codes.push_back(std::stoi((*it)[1]));
    return codes;
  }

  bool Run(std::int32_t level, FileSystem& fs = RealFileSystem()) {
    ProgramFileSteps steps(window, log, fs, *exe, prog);
    return steps.Run(level);
  }
};

const std::set<std::string> kThisRelease = {"KV7D", "TONIC7", "BPL5"};
const std::set<std::string> kAllFive = {"KV7H", "KV7D", "TONIC7", "BPL5", "INDY70"};

TEST(ProgramFiles, ThisReleaseRewritesItsThreeFilesInOrder) {
  Site s(kThisRelease);
  s.OldFiles({"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"});
  WriteFile(s.prog + "kv5.bpl.part", "left by an interrupted run");

  EXPECT_FALSE(s.Run(12));
  EXPECT_EQ(s.window.events, (Strings{
      "label:  Проверка пакетов программы",
      "label:  Удаление: tonic700.exe", "label:  Удаление: kv700_d.exe", "label:  Удаление: kv700_h.exe",
      "gauge: 1", "pause: 50",
      "label:  Установка kv5.bpl", "pause: 50", "memo3: kv5.bpl - переписан", "gauge: 2", "pause: 50",
      "label:  Установка indy70.bpl", "pause: 50", "gauge: 3", "pause: 50",
      "label:  Установка tonic700.exe", "pause: 50", "memo3: tonic700.exe - переписан", "gauge: 4", "pause: 50",
      "label:  Установка kv700_d.exe", "pause: 50", "memo3: kv700_d.exe - переписан", "gauge: 5", "pause: 50",
      "label:  Установка kv700_h.exe", "pause: 50", "gauge: 6", "pause: 50"}));
  EXPECT_EQ(s.LoggedCodes(), (std::vector<int>{504, 535, 503, 502, 531}));
  // kv700_h.exe is not carried: it is removed and not written again.
  EXPECT_EQ(s.Files(), (std::set<std::string>{"kv5.bpl", "kv700_d.exe", "tonic700.exe"}));
  for (const auto& [file, bytes] : s.content) EXPECT_TRUE(ReadFile(s.prog + file) == bytes) << file;
}

TEST(ProgramFiles, AllFiveCarriedKeepsPresentIndy) {
  Site s(kAllFive);
  s.OldFiles({"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl", "indy70.bpl"});

  EXPECT_FALSE(s.Run(12));
  EXPECT_EQ(s.window.memo3, (Strings{"kv5.bpl - переписан", "tonic700.exe - переписан",
                                     "kv700_d.exe - переписан", "kv700_h.exe - переписан"}));
  EXPECT_TRUE(s.window.messages.empty());
  EXPECT_EQ(s.window.EventsStartingWith("gauge"),
            (Strings{"gauge: 1", "gauge: 2", "gauge: 3", "gauge: 4", "gauge: 5", "gauge: 6"}));
  EXPECT_EQ(s.LoggedCodes(), (std::vector<int>{504, 545, 503, 502, 501}));
  EXPECT_EQ(ReadFile(s.prog + "indy70.bpl"), "old indy70.bpl");
  for (const std::string file : {"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"})
    EXPECT_TRUE(ReadFile(s.prog + file) == s.content[file]) << file;

  // Absent, indy70.bpl is written from its package.
  Site absent(kAllFive);
  EXPECT_FALSE(absent.Run(12));
  EXPECT_TRUE(ReadFile(absent.prog + "indy70.bpl") == absent.content["indy70.bpl"]);
  EXPECT_EQ(absent.window.memo3.size(), 5u);
}

TEST(ProgramFiles, ReadOnlyFileIsRewritten) {
  Site s(kThisRelease);
  s.OldFiles({"kv700_d.exe"});
  ASSERT_EQ(::chmod((s.prog + "kv700_d.exe").c_str(), 0444), 0);
  EXPECT_FALSE(s.Run(12));
  EXPECT_TRUE(ReadFile(s.prog + "kv700_d.exe") == s.content["kv700_d.exe"]);
  EXPECT_TRUE(s.window.messages.empty());
}

TEST(ProgramFiles, FileInUseSkipsLaterWritesWithTheirCodes) {
  Site s(kThisRelease);
  s.OldFiles({"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"});
  test::BusyFileSystem fs({"tonic700.exe"});

  EXPECT_TRUE(s.Run(12, fs));
  EXPECT_EQ(s.window.messages,
            (Strings{"Error 12_101", "Error 12_102", "Error 12_103", "Error 12_105", "Error 12_106"}));
  EXPECT_EQ(s.window.memo3, (Strings{"tonic700.exe занят", "Прежние файлы программы возвращены на место"}));
  const Strings& ev = s.window.events;
  const auto tonic = std::find(ev.begin(), ev.end(), "label:  Установка tonic700.exe");
  ASSERT_NE(tonic, ev.end());
  EXPECT_EQ(Strings(tonic, ev.end()),
            (Strings{"label:  Установка tonic700.exe", "pause: 50", "memo3: tonic700.exe занят",
                     "message: Error 12_105", "gauge: 4", "pause: 50", "message: Error 12_106", "gauge: 5",
                     "pause: 50", "gauge: 6", "pause: 50", "memo3: Прежние файлы программы возвращены на место"}));
  // kv5.bpl is skipped after the failed deletion; indy70.bpl still runs (535).
  EXPECT_EQ(s.LoggedCodes(), (std::vector<int>{535, 513}));
  // Every old file is back, the main program and the two the deletion block took included.
  s.ExpectOld({"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"});
}

TEST(ProgramFiles, AnImmutableMainProgramLeavesEveryOldFileInPlace) {
  Site s(kThisRelease);
  s.OldFiles({"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"});
  {
    test::Immutable locked(s.prog + "tonic700.exe");
    if (!locked) GTEST_SKIP() << "this file system cannot make a file immutable";
    EXPECT_TRUE(s.Run(12));
  }
  EXPECT_EQ(s.window.messages,
            (Strings{"Error 12_101", "Error 12_102", "Error 12_103", "Error 12_105", "Error 12_106"}));
  EXPECT_EQ(s.window.memo3, (Strings{"tonic700.exe занят", "Прежние файлы программы возвращены на место"}));
  EXPECT_EQ(s.LoggedCodes(), (std::vector<int>{535, 513}));
  s.ExpectOld({"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"});
}

/* The real file system on which one file cannot be put in place. */
class StuckRenameFileSystem final : public test::ForwardingFileSystem {
 public:
  explicit StuckRenameFileSystem(std::string from) : from_(std::move(from)) {}
  void RenameFile(const std::string& from, const std::string& to) override {
    if (FileNameOf(from) == from_) throw FileError("cannot rename \"" + from + "\": Input/output error");
    ForwardingFileSystem::RenameFile(from, to);
  }

 private:
  std::string from_;
};

TEST(ProgramFiles, AFailureAfterSomeFilesWereWrittenPutsEveryOldFileBack) {
  Site s(kThisRelease);
  s.OldFiles({"kv700_h.exe", "kv700_d.exe", "kv5.bpl"});
  // A run cut short left the main program set aside; it comes back before anything else.
  WriteFile(s.prog + "tonic700.exe.old", "old tonic700.exe");
  StuckRenameFileSystem stuck("kv700_d.exe.part");

  EXPECT_TRUE(s.Run(12, stuck));
  EXPECT_EQ(s.window.messages, Strings{"Error 12_106"});
  EXPECT_EQ(s.window.memo3, (Strings{"kv5.bpl - переписан", "tonic700.exe - переписан",
                                     "Прежние файлы программы возвращены на место"}));
  EXPECT_EQ(s.LoggedCodes(), (std::vector<int>{504, 535, 503, 63}));
  s.ExpectOld({"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"});

  // Then, all free, every file is replaced and nothing set aside is left.
  EXPECT_FALSE(s.Run(12));
  EXPECT_EQ(s.Files(), (std::set<std::string>{"kv5.bpl", "kv700_d.exe", "tonic700.exe"}));
}

/* The real file system whose writes of one file stop with a full disk. */
class FullDiskFileSystem final : public test::ForwardingFileSystem {
 public:
  explicit FullDiskFileSystem(std::string fullName) : full_(std::move(fullName)) {}
  std::unique_ptr<OutputFile> OpenForWrite(const std::string& p) override {
    struct Full final : OutputFile {
      std::unique_ptr<OutputFile> inner;
      std::size_t left = 100000;
      void Write(std::string_view b) override {
        if (b.size() > left) throw FileError("cannot write: No space left on device");
        left -= b.size();
        inner->Write(b);
      }
      void Close() override { inner->Close(); }
    };
    auto out = ForwardingFileSystem::OpenForWrite(p);
    if (FileNameOf(p) != full_) return out;
    auto full = std::make_unique<Full>();
    full->inner = std::move(out);
    return full;
  }

 private:
  std::string full_;
};

TEST(ProgramFiles, ADamagedPackageOrAFullDiskDeletesNothing) {
  const std::vector<std::pair<std::string, std::function<std::string(std::string)>>> spoilers = {
      {"cut short", [](std::string z) { return z.substr(0, z.size() * 2 / 3); }},
      {"bytes after the stream", [](std::string z) { return z + "MZ"; }},
      {"damaged data", [](std::string z) { z[z.size() / 2] = static_cast<char>(~z[z.size() / 2]); return z; }},
      {"not a zlib stream", [](std::string) { return Content("plain", 2000); }},
  };
  const Strings old = {"kv700_h.exe", "kv700_d.exe", "tonic700.exe", "kv5.bpl"};
  auto expectUntouched = [&](Site& s) {
    EXPECT_EQ(s.Files(), std::set<std::string>(old.begin(), old.end()));  // no ".part" left either
    for (const std::string& f : old) EXPECT_EQ(ReadFile(s.prog + f), "old " + f) << f;
  };
  for (const auto& [what, spoil] : spoilers) {
    SCOPED_TRACE(what);
    Site s(kThisRelease, [&](const std::string& name, std::string z) { return name == "KV7D" ? spoil(z) : z; });
    s.OldFiles(old);
    EXPECT_TRUE(s.Run(9));
    ASSERT_EQ(s.window.messages.size(), 1u);
    EXPECT_NE(s.window.messages[0].find("повреждён: пакет kv700_d.exe"), std::string::npos);
    EXPECT_NE(s.window.messages[0].find("Нужна новая копия программы обновления"), std::string::npos);
    EXPECT_EQ(s.LoggedCodes(), (std::vector<int>{522}));
    expectUntouched(s);
  }

  Site s(kThisRelease);
  s.OldFiles(old);
  FullDiskFileSystem full("kv700_d.exe.part");
  EXPECT_TRUE(s.Run(9, full));
  ASSERT_EQ(s.window.messages.size(), 1u);
  EXPECT_NE(s.window.messages[0].find("No space left on device"), std::string::npos);
  EXPECT_EQ(s.LoggedCodes(), (std::vector<int>{522}));
  expectUntouched(s);

  // With a sound package the same installation is then brought up to date.
  EXPECT_FALSE(s.Run(9));
  EXPECT_EQ(ReadFile(s.prog + "kv700_d.exe"), s.content["kv700_d.exe"]);
}

TEST(ProgramFiles, DamagedBundleDeletesNothing) {
  Site s(kThisRelease);
  std::string bytes = ReadFile(s.exePath);
  bytes[bytes.size() - 12] = 9;  // format of the trailer
  WriteFile(s.exePath, bytes);
  s.OldFiles({"kv5.bpl", "kv700_d.exe"});

  EXPECT_TRUE(s.Run(12));
  ASSERT_EQ(s.window.messages.size(), 1u);
  EXPECT_NE(s.window.messages[0].find("повреждён"), std::string::npos);
  EXPECT_EQ(ReadFile(s.prog + "kv5.bpl"), "old kv5.bpl");
  EXPECT_EQ(ReadFile(s.prog + "kv700_d.exe"), "old kv700_d.exe");
}

}  // namespace
}  // namespace kv
