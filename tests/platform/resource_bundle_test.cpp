// The resource bundle appended to an executable, and the zlib streams it carries.
#include "platform/resource_bundle.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <functional>

#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "platform/zlib_codec.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kProgram = "\x7F" "ELF stand-in program bytes";

std::vector<BundleEntry> SampleEntries() {
  return {{"VERSION", "FILEVERSION", EncodeFileVersion({7, 0, 12, 0})},
          {"EXE", "KV7D", DeflateBest(std::string(3000, 'd'))},
          {"BPL", "BPL5", "five"}};
}

std::string ReadAll(ResourceStream& s, std::size_t piece) {
  std::string out, buf(piece, '\0');
  while (std::size_t n = s.Read(buf.data(), buf.size())) out.append(buf, 0, n);
  return out;
}

TEST(ResourceBundle, WrittenBundleReadsBackAndIsReplacedNotStacked) {
  TempDir dir;
  const std::string exe = dir / "kvupgrade";
  WriteFile(exe, kProgram);
  ::chmod(exe.c_str(), 0755);
  WriteBundle(exe, SampleEntries());
  const std::string once = ReadFile(exe);
  EXPECT_EQ(once.substr(0, kProgram.size()), kProgram);

  auto own = OpenBundledExecutable(exe);
  EXPECT_EQ(own->ReadOwnFileVersion(exe), (FileVersion{7, 0, 12, 0}));
  auto stream = own->OpenResource("exe", "kv7d");  // names as Windows finds them: case ignored
  ASSERT_TRUE(stream);
  EXPECT_EQ(ReadAll(*stream, 7), SampleEntries()[1].data);
  EXPECT_EQ(ReadAll(*own->OpenResource("BPL", "BPL5"), 4096), "five");
  EXPECT_EQ(own->OpenResource("EXE", "KV7H"), nullptr);
  EXPECT_EQ(own->OpenResource("BPL", "KV7D"), nullptr);

  WriteBundle(exe, SampleEntries());
  EXPECT_EQ(ReadFile(exe), once);
  WriteBundle(exe, {{"VERSION", "FILEVERSION", EncodeFileVersion({7, 1, 2, 3})}});
  BundleReader reader(exe);
  EXPECT_EQ(reader.ProgramSize(), kProgram.size());
  ASSERT_EQ(reader.Items().size(), 1u);
  EXPECT_EQ(own->ReadOwnFileVersion(exe), (FileVersion{7, 1, 2, 3}));
  struct stat st{};
  ASSERT_EQ(::stat(exe.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  EXPECT_FALSE(RealFileSystem().FileExists(exe + ".bundle-tmp"));

  EXPECT_THROW(WriteBundle(exe, {{"EXE", "A", "1"}, {"exe", "a", "2"}}), ResourceError);
  EXPECT_THROW(WriteBundle(exe, {{"", "A", "1"}}), ResourceError);
}

TEST(ResourceBundle, FileWithoutBundleOrVersionReadsZero) {
  TempDir dir;
  auto own = OpenBundledExecutable(dir / "plain");
  for (const std::string& content : {std::string(), std::string("MZ"), std::string(5000, 'x')}) {
    WriteFile(dir / "plain", content);
    EXPECT_EQ(own->ReadOwnFileVersion(dir / "plain"), FileVersion{});
    EXPECT_EQ(own->OpenResource("EXE", "KV7D"), nullptr);
  }
  WriteFile(dir / "noversion", kProgram);
  WriteBundle(dir / "noversion", {{"EXE", "KV7D", "x"}});
  EXPECT_EQ(own->ReadOwnFileVersion(dir / "noversion"), FileVersion{});
  EXPECT_THROW(own->ReadOwnFileVersion(dir / "missing"), ResourceError);
}

// Offsets into the trailer, counted from the end of the file.
constexpr std::size_t kProgramSizeAt = 32, kIndexOffsetAt = 24, kIndexSizeAt = 16, kFormatAt = 12;

void Put(std::string& file, std::size_t pos, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) file[pos + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void PutAt(std::string& file, std::size_t fromEnd, std::uint64_t value, int bytes) {
  Put(file, file.size() - fromEnd, value, bytes);
}

/* The program with the sample bundle, in dir. */
std::string BundledProgram(const TempDir& dir) {
  const std::string exe = dir / "kvupgrade";
  WriteFile(exe, kProgram);
  WriteBundle(exe, SampleEntries());
  return exe;
}

TEST(ResourceBundle, DamagedBundlesAreClearErrors) {
  TempDir dir;
  const std::string exe = BundledProgram(dir);
  const std::string good = ReadFile(exe);
  BundleReader reader(exe);
  const std::uint64_t indexOffset = reader.Items().back().offset + reader.Items().back().size;
  const std::size_t firstEntry = static_cast<std::size_t>(indexOffset) + 4;  // after the count

  const std::vector<std::pair<std::string, std::function<void(std::string&)>>> damages = {
      {"unknown format", [](std::string& f) { PutAt(f, kFormatAt, 2, 4); }},
      {"huge index", [](std::string& f) { PutAt(f, kIndexSizeAt, 0xFFFFFFFF, 4); }},
      {"index larger than the file", [](std::string& f) { PutAt(f, kIndexSizeAt, 900000, 4); }},
      {"index offset off by one", [&](std::string& f) { PutAt(f, kIndexOffsetAt, indexOffset + 1, 8); }},
      {"program size beyond index", [&](std::string& f) { PutAt(f, kProgramSizeAt, indexOffset + 1, 8); }},
      {"absurd entry count", [&](std::string& f) { std::memset(&f[firstEntry - 4], 0xFF, 4); }},
      {"entry starting past the index", [&](std::string& f) { Put(f, firstEntry + 4, indexOffset + 1, 8); }},
      {"entry running into the index", [&](std::string& f) { Put(f, firstEntry + 12, indexOffset, 8); }},
      {"entry size wrapping around", [&](std::string& f) { Put(f, firstEntry + 12, ~0ull, 8); }},
      {"entry before the bundle", [&](std::string& f) { Put(f, firstEntry + 4, 0, 8); }},
      {"nameless entry", [&](std::string& f) { std::memset(&f[firstEntry + 2], 0, 2); }},
      {"repeated entry", [&](std::string& f) { f.replace(f.rfind("BPLBPL5"), 7, "EXEKV7D"); }},
      {"cut short", [](std::string& f) { f.erase(f.size() - 40, 8); }},
  };
  for (const auto& [what, damage] : damages) {
    SCOPED_TRACE(what);
    std::string bad = good;
    damage(bad);
    WriteFile(exe, bad);
    auto own = OpenBundledExecutable(exe);
    EXPECT_THROW(own->ReadOwnFileVersion(exe), ResourceError);
    EXPECT_THROW(own->OpenResource("EXE", "KV7D"), ResourceError);
    EXPECT_THROW(WriteBundle(exe, SampleEntries()), ResourceError);
    EXPECT_EQ(ReadFile(exe), bad);  // a damaged file is not guessed at
  }

  WriteFile(exe, kProgram);
  WriteBundle(exe, {{"VERSION", "FILEVERSION", "7012"}});
  EXPECT_THROW(OpenBundledExecutable(exe)->ReadOwnFileVersion(exe), ResourceError);
}

TEST(ResourceBundle, AnyCutOrFlippedByteIsReadSafely) {
  TempDir dir;
  const std::string exe = BundledProgram(dir);
  const std::string good = ReadFile(exe);

  auto check = [&](const std::string& bytes) {
    WriteFile(exe, bytes);
    try {
      BundleReader r(exe);
      for (const BundleItem& item : r.Items()) {
        ASSERT_LE(item.offset + item.size, bytes.size());
        ASSERT_LE(r.ProgramSize(), item.offset);
      }
    } catch (const ResourceError&) {
    }
  };
  for (std::size_t len = 0; len < good.size(); ++len) check(good.substr(0, len));
  for (std::size_t i = kProgram.size(); i < good.size(); ++i)
    for (int mask : {0x01, 0x80, 0xFF}) {
      std::string bad = good;
      bad[i] = static_cast<char>(bad[i] ^ mask);
      check(bad);
    }
}

TEST(Zlib, BestCompressionStreamInflatesPieceByPiece) {
  std::string original;
  for (int i = 0; i < 100000; ++i) original += static_cast<char>((i * 7919) % 251);
  const std::string packed = DeflateBest(original);
  ASSERT_GE(packed.size(), 2u);
  EXPECT_EQ(packed.substr(0, 2), "\x78\xDA");

  std::string out;
  ZlibInflater z;
  for (std::size_t i = 0; i < packed.size(); i += 1000) {
    const std::string_view piece = std::string_view(packed).substr(i, 1000);
    EXPECT_EQ(z.Inflate(piece, [&](std::string_view c) { out += c; }), piece.size());
  }
  EXPECT_TRUE(z.Finished());
  EXPECT_EQ(out, original);
  EXPECT_EQ(z.Inflate("more", [](std::string_view) {}), 0u);

  ZlibInflater trailing;
  EXPECT_EQ(trailing.Inflate(packed + "junk", [](std::string_view) {}), packed.size());

  ZlibInflater cut;
  cut.Inflate(std::string_view(packed).substr(0, packed.size() / 2), [](std::string_view) {});
  EXPECT_FALSE(cut.Finished());

  std::string flipped = packed;
  flipped[packed.size() - 2] = static_cast<char>(flipped[packed.size() - 2] ^ 0x10);  // checksum
  ZlibInflater bad;
  EXPECT_THROW(bad.Inflate(flipped, [](std::string_view) {}), ZlibError);
  ZlibInflater notZlib;
  EXPECT_THROW(notZlib.Inflate("MZ\x90\x00", [](std::string_view) {}), ZlibError);
}

TEST(ResourceBundle, VersionText) {
  FileVersion v;
  ASSERT_TRUE(ParseFileVersion("7.0.12.0", v));
  EXPECT_EQ(v, (FileVersion{7, 0, 12, 0}));
  EXPECT_EQ(DecodeFileVersion(EncodeFileVersion({1, 65535, 3, 40000})), (FileVersion{1, 65535, 3, 40000}));
  for (const char* bad : {"", "7.0.12", "7.0.12.0.1", "7..12.0", "70000.0.0.0", "7.0.12.x", "7.0.12.-1", "7.0.12.0."})
    EXPECT_FALSE(ParseFileVersion(bad, v)) << bad;
}

}  // namespace
}  // namespace kv
