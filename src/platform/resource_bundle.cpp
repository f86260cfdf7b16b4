/*
** Reading, validating and writing the resource bundle appended to an executable.
*/
#include "platform/resource_bundle.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/scope_exit.h"
#include "platform/text_util.h"

namespace kv {
namespace {

constexpr char kMagic[8] = {'K', 'V', 'B', 'U', 'N', 'D', 'L', 'E'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::size_t kIndexEntryFixedSize = 2 + 2 + 8 + 8;

void PutLE(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t GetLE(const char* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(p[i]);
  return value;
}

std::string Label(std::string_view type, std::string_view name) {
  return std::string(type) + "/" + std::string(name);
}

}  // namespace

std::string EncodeFileVersion(const FileVersion& v) {
  std::string out;
  for (std::uint16_t n : {v.major, v.minor, v.servicePack, v.build}) PutLE(out, n, 2);
  return out;
}

FileVersion DecodeFileVersion(std::string_view bytes) {
  if (bytes.size() != 8)
    throw ResourceError("version record has " + std::to_string(bytes.size()) + " bytes instead of 8");
  auto at = [&](int i) { return static_cast<std::uint16_t>(GetLE(bytes.data() + 2 * i, 2)); };
  return {at(0), at(1), at(2), at(3)};
}

bool ParseFileVersion(std::string_view text, FileVersion& version) {
  std::uint16_t parts[4] = {};
  for (int i = 0; i < 4; ++i) {
    const std::size_t dot = i < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return false;
    const std::string_view part = text.substr(0, dot);
    if (part.empty() || !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
    auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), parts[i]);
    if (ec != std::errc() || end != part.data() + part.size()) return false;
    text.remove_prefix(i < 3 ? dot + 1 : dot);
  }
  version = {parts[0], parts[1], parts[2], parts[3]};
  return true;
}

std::string SerializeBundle(const std::vector<BundleEntry>& entries, std::uint64_t programSize) {
  std::string data, index;
  PutLE(index, entries.size(), 4);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const BundleEntry& e = entries[i];
    if (e.type.empty() || e.name.empty() || e.type.size() > 0xFFFF || e.name.size() > 0xFFFF)
      throw ResourceError("resource type and name must be 1 to 65535 bytes: \"" + Label(e.type, e.name) + "\"");
    for (std::size_t j = 0; j < i; ++j)
      if (EqualsIgnoreAsciiCase(entries[j].type, e.type) && EqualsIgnoreAsciiCase(entries[j].name, e.name))
        throw ResourceError("resource \"" + Label(e.type, e.name) + "\" given twice");
    PutLE(index, e.type.size(), 2);
    PutLE(index, e.name.size(), 2);
    PutLE(index, programSize + data.size(), 8);
    PutLE(index, e.data.size(), 8);
    index += e.type;
    index += e.name;
    data += e.data;
  }
  if (index.size() > kMaxBundleIndexSize) throw ResourceError("too many resources for one bundle");

  std::string out = std::move(data);
  const std::uint64_t indexOffset = programSize + out.size();
  out += index;
  PutLE(out, programSize, 8);
  PutLE(out, indexOffset, 8);
  PutLE(out, index.size(), 4);
  PutLE(out, kFormatVersion, 4);
  out.append(kMagic, sizeof kMagic);
  return out;
}

void WriteBundle(const std::string& path, const std::vector<BundleEntry>& entries) {
  std::uint64_t programSize = 0;
  {
    BundleReader existing(path);
    programSize = existing.ProgramSize();
  }
  const std::string bundle = SerializeBundle(entries, programSize);

  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path temp = target;
  temp += ".bundle-tmp";
  ScopeExit removeTemp([&] {
    std::error_code ignored;
    fs::remove(temp, ignored);
  });
  try {
    // The copy keeps the program's permissions; cutting it drops an old bundle.
    fs::copy_file(target, temp, fs::copy_options::overwrite_existing);
    fs::resize_file(temp, programSize);
    std::ofstream out(temp, std::ios::binary | std::ios::app);
    out.write(bundle.data(), static_cast<std::streamsize>(bundle.size()));
    out.close();
    if (!out) throw ResourceError("cannot write \"" + temp.string() + "\"");
    fs::rename(temp, target);
  } catch (const fs::filesystem_error& e) {
    throw ResourceError("cannot rewrite \"" + path + "\": " + e.what());
  }
  removeTemp.Release();
}

BundleReader::BundleReader(const std::string& path) : path_(path) {
  in_.open(std::filesystem::path(path), std::ios::binary);
  if (!in_) throw ResourceError("cannot open \"" + path + "\"");
  in_.seekg(0, std::ios::end);
  const std::streamoff end = in_.tellg();
  if (end < 0) throw ResourceError("cannot read \"" + path + "\"");
  const auto fileSize = static_cast<std::uint64_t>(end);
  programSize_ = fileSize;
  if (fileSize < kBundleTrailerSize) return;

  char trailer[kBundleTrailerSize];
  ReadExact(fileSize - kBundleTrailerSize, trailer, sizeof trailer);
  if (std::memcmp(trailer + 24, kMagic, sizeof kMagic) != 0) return;
  hasBundle_ = true;
  ReadIndex(fileSize, trailer);
}

void BundleReader::ReadIndex(std::uint64_t fileSize, const char* trailer) {
  auto damaged = [&](const std::string& what) {
    return ResourceError("damaged resource bundle in \"" + path_ + "\": " + what);
  };
  const std::uint64_t indexEnd = fileSize - kBundleTrailerSize;
  const std::uint64_t programSize = GetLE(trailer, 8);
  const std::uint64_t indexOffset = GetLE(trailer + 8, 8);
  const auto indexSize = static_cast<std::uint32_t>(GetLE(trailer + 16, 4));
  const auto format = static_cast<std::uint32_t>(GetLE(trailer + 20, 4));

  if (format != kFormatVersion) throw damaged("unknown format " + std::to_string(format));
  if (indexSize < 4 || indexSize > kMaxBundleIndexSize)
    throw damaged("index size " + std::to_string(indexSize) + " out of range");
  if (indexSize > indexEnd || indexOffset != indexEnd - indexSize)
    throw damaged("the index does not end at the trailer");
  if (programSize > indexOffset) throw damaged("the program size lies beyond the index");

  std::string index(indexSize, '\0');
  ReadExact(indexOffset, index.data(), index.size());
  const std::uint64_t count = GetLE(index.data(), 4);
  if (count > (indexSize - 4) / kIndexEntryFixedSize)
    throw damaged(std::to_string(count) + " entries do not fit an index of " + std::to_string(indexSize) + " bytes");

  std::vector<BundleItem> items;
  items.reserve(static_cast<std::size_t>(count));
  std::size_t pos = 4;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (index.size() - pos < kIndexEntryFixedSize) throw damaged("the index ends inside an entry");
    const char* p = index.data() + pos;
    const auto typeLen = static_cast<std::size_t>(GetLE(p, 2));
    const auto nameLen = static_cast<std::size_t>(GetLE(p + 2, 2));
    BundleItem item;
    item.offset = GetLE(p + 4, 8);
    item.size = GetLE(p + 12, 8);
    pos += kIndexEntryFixedSize;
    if (typeLen == 0 || nameLen == 0) throw damaged("an entry without type or name");
    if (index.size() - pos < typeLen + nameLen) throw damaged("the index ends inside an entry");
    item.type.assign(index, pos, typeLen);
    item.name.assign(index, pos + typeLen, nameLen);
    pos += typeLen + nameLen;
    if (item.offset < programSize || item.offset > indexOffset || item.size > indexOffset - item.offset)
      throw damaged("entry \"" + Label(item.type, item.name) + "\" lies outside the bundle");
    for (const BundleItem& other : items)
      if (EqualsIgnoreAsciiCase(other.type, item.type) && EqualsIgnoreAsciiCase(other.name, item.name))
        throw damaged("entry \"" + Label(item.type, item.name) + "\" appears twice");
    items.push_back(std::move(item));
  }
  if (pos != index.size()) throw damaged("bytes after the last index entry");

  programSize_ = programSize;
  items_ = std::move(items);
}

const BundleItem* BundleReader::Find(std::string_view type, std::string_view name) const {
  for (const BundleItem& item : items_)
    if (EqualsIgnoreAsciiCase(item.type, type) && EqualsIgnoreAsciiCase(item.name, name)) return &item;
  return nullptr;
}

std::size_t BundleReader::ReadAt(const BundleItem& item, std::uint64_t pos, char* buffer, std::size_t size) {
  if (pos >= item.size) return 0;
  const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, item.size - pos));
  ReadExact(item.offset + pos, buffer, n);
  return n;
}

std::string BundleReader::ReadSmallItem(const BundleItem& item, std::size_t limit) {
  if (item.size > limit)
    throw ResourceError("resource \"" + Label(item.type, item.name) + "\" in \"" + path_ + "\" has " +
                        std::to_string(item.size) + " bytes, at most " + std::to_string(limit) + " expected");
  std::string bytes(static_cast<std::size_t>(item.size), '\0');
  ReadExact(item.offset, bytes.data(), bytes.size());
  return bytes;
}

void BundleReader::ReadExact(std::uint64_t offset, char* buffer, std::size_t size) {
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(offset));
  in_.read(buffer, static_cast<std::streamsize>(size));
  if (!in_ || static_cast<std::size_t>(in_.gcount()) != size)
    throw ResourceError("cannot read " + std::to_string(size) + " bytes at " + std::to_string(offset) + " of \"" +
                        path_ + "\"");
}

}  // namespace kv
