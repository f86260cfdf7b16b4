/*
** The program's own executable: its version record and the resources it
** carries, found by type and name.
**
** The wizard carries its program files as resources. On Linux they live in a
** bundle appended to the executable (see resource_bundle.h); a Windows build
** would read real PE resources behind the same interface.
*/
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace kv {

/* A resource or version record that is present but cannot be read, or an
** executable that cannot be opened. */
class ResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/* Fixed file version: major.minor.ServicePack.Build. */
struct FileVersion {
  std::uint16_t major = 0, minor = 0, servicePack = 0, build = 0;
  bool operator==(const FileVersion&) const = default;
};

/* The bytes of one resource, read from the start in pieces. */
class ResourceStream {
 public:
  virtual ~ResourceStream() = default;
  /* Reads up to size bytes into buffer; 0 at the end of the resource.
  ** Throws ResourceError when the bytes cannot be read. */
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

class OwnExecutable {
 public:
  virtual ~OwnExecutable() = default;

  /* The fixed file version of the executable at path; all four numbers 0 when
  ** the file carries no version information. Throws ResourceError when the
  ** file cannot be read or its version information is damaged. */
  virtual FileVersion ReadOwnFileVersion(const std::string& path) = 0;

  /* Opens the own executable's resource of this type and name; nullptr when it
  ** carries no such resource. Throws ResourceError when the executable cannot
  ** be read or its resources are damaged. */
  virtual std::unique_ptr<ResourceStream> OpenResource(const std::string& type,
                                                       const std::string& name) = 0;
};

/* The executable at ownPath, with the resources of the bundle appended to it.
** Nothing is read until asked; every call opens and closes the file itself.
** mustCarryBundle: the program was built to carry one, so an own file without
** a bundle has been cut short or damaged, and reading it throws ResourceError
** instead of answering "no version information". */
std::unique_ptr<OwnExecutable> OpenBundledExecutable(std::string ownPath, bool mustCarryBundle = false);

}  // namespace kv
