/*
** The resource bundle appended to an executable, as self-extracting installers
** carry their payload: typed, named entries, then an index of them, then a
** fixed trailer that ends the file.
**
** Layout (all numbers little-endian):
**   program bytes                 the executable as linked
**   entry bytes ...               one block per entry, in index order
**   index                         u32 count, then per entry:
**                                 u16 type length, u16 name length,
**                                 u64 offset, u64 size (offsets from file start),
**                                 type bytes, name bytes
**   trailer (32 bytes)            u64 program size, u64 index offset,
**                                 u32 index size, u32 format version, "KVBUNDLE"
**
** A file whose last eight bytes are not the magic has no bundle. One that has
** the magic is trusted only after every number has been checked against the
** file: nothing outside the file is ever read or allocated for.
*/
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/own_executable.h"

namespace kv {

/* Type and name of the version entry. */
inline constexpr std::string_view kVersionResourceType = "VERSION";
inline constexpr std::string_view kVersionResourceName = "FILEVERSION";

inline constexpr std::size_t kBundleTrailerSize = 32;
inline constexpr std::uint32_t kMaxBundleIndexSize = 1u << 20;

/* An entry to be written. */
struct BundleEntry {
  std::string type, name;
  std::string data;
};

/* An entry as found in a file: where its bytes lie. */
struct BundleItem {
  std::string type, name;
  std::uint64_t offset = 0, size = 0;
};

/* The version entry's eight bytes: the four numbers as u16, major first. */
std::string EncodeFileVersion(const FileVersion& version);

/* Reads a version entry. Throws ResourceError unless it has exactly eight bytes. */
FileVersion DecodeFileVersion(std::string_view bytes);

/* Parses "major.minor.ServicePack.Build", each 0..65535; false when malformed. */
bool ParseFileVersion(std::string_view text, FileVersion& version);

/* The bundle bytes (entries, index, trailer) for a file whose program bytes
** are programSize long. Throws ResourceError for an empty, over-long or
** repeated type and name (names compare without regard to ASCII case), or an
** index larger than kMaxBundleIndexSize. */
std::string SerializeBundle(const std::vector<BundleEntry>& entries, std::uint64_t programSize);

/* Appends the bundle to the file at path, replacing the bundle it already
** carries, so that running it twice gives the same file. The file is rewritten
** through a temporary file beside it and keeps its permissions. Throws
** ResourceError when the file cannot be read or written, or carries a damaged
** bundle (which is not guessed at). */
void WriteBundle(const std::string& path, const std::vector<BundleEntry>& entries);

/* The bundle of one file, opened and validated. Keeps the file open while it lives. */
class BundleReader {
 public:
  /* Opens path and reads its index, if it has a bundle. Throws ResourceError
  ** when the file cannot be read or its bundle is damaged. */
  explicit BundleReader(const std::string& path);

  bool HasBundle() const { return hasBundle_; }
  /* Size of the program bytes: the whole file when it has no bundle. */
  std::uint64_t ProgramSize() const { return programSize_; }
  const std::vector<BundleItem>& Items() const { return items_; }

  /* The item of this type and name (ASCII case ignored); nullptr when absent. */
  const BundleItem* Find(std::string_view type, std::string_view name) const;

  /* Copies up to size bytes of item from position pos on; 0 at its end.
  ** Throws ResourceError when the file no longer holds them. */
  std::size_t ReadAt(const BundleItem& item, std::uint64_t pos, char* buffer, std::size_t size);

  /* All bytes of a small item. Throws ResourceError when it is longer than limit. */
  std::string ReadSmallItem(const BundleItem& item, std::size_t limit);

 private:
  void ReadIndex(std::uint64_t fileSize, const char* trailer);
  void ReadExact(std::uint64_t offset, char* buffer, std::size_t size);

  std::string path_;
  std::ifstream in_;
  bool hasBundle_ = false;
  std::uint64_t programSize_ = 0;
  std::vector<BundleItem> items_;
};

}  // namespace kv
