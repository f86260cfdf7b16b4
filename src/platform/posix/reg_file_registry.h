/*
** The registry on POSIX: one ".reg" export file holds both hives.
**
** The machine-wide hive is only read. A write re-reads the file, edits the one
** value line and replaces the file atomically (temporary file, flush, rename),
** so a crash never leaves a half-written registry. A malformed file is reported
** and never rewritten; a missing file means that no key exists.
*/
#pragma once

#include <memory>
#include <string>

#include "platform/registry.h"

namespace kv {

class RegFileRegistry final : public Registry {
 public:
  explicit RegFileRegistry(std::string path) : path_(std::move(path)) {}
  std::unique_ptr<RegistryKey> OpenKey(RegistryHive hive, std::string_view path) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryHive hive, std::string_view path) override;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace kv
