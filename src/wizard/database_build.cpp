/*
** Database build lines.
*/
#include "wizard/database_build.h"

#include "migration/runner.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace kv {
namespace {

constexpr std::size_t kNameWidth = 16;

/* Decimal with leading zeros to at least width digits; the sign goes first. */
std::string ZeroPadded(std::int32_t n, std::size_t width) {
  std::string digits = std::to_string(n < 0 ? -static_cast<std::int64_t>(n) : static_cast<std::int64_t>(n));
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return (n < 0 ? "-" : "") + digits;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < utf8.size(); i += Utf8SequenceLength(utf8.substr(i))) ++count;
  return count;
}

}  // namespace

VersionRecordReader FreshVersionRecordReader(MigrationServices& services) {
  return [&services](const std::string& path) -> std::optional<VersionRecord> {
    VersionRecord r;
    if (!ReadVersionRecordFresh(services, path, r.version, r.servicePack, r.build)) return std::nullopt;
    return r;
  };
}

std::string DatabaseBuildLine(const std::string& path, const VersionRecord& r) {
  std::string name = FileNameOf(path) + ": ";
  const std::size_t chars = CharacterCount(name);
  if (chars < kNameWidth) name.append(kNameWidth - chars, ' ');
  std::string version = std::to_string(r.version);
  while (!version.empty() && version.back() == '0') version.pop_back();
  return name + "сборка (" + version + "." + ZeroPadded(r.servicePack, 2) + "." + ZeroPadded(r.build, 3) + ")";
}

}  // namespace kv
