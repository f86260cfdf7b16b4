/*
** The own executable's version and packages on Windows: real PE resources.
** The version is the VERSIONINFO resource (read with GetFileVersionInfoW);
** each package is a resource of its type and name, read from the file at the
** given path loaded as a data file, so a copy can be read as well as the
** running program.
*/
#include <cstring>

#include "platform/own_executable.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

using win32::UniqueModule;

/* A resource's bytes; they stay mapped while the module is loaded. */
class PeResourceStream final : public ResourceStream {
 public:
  PeResourceStream(UniqueModule module, const char* data, std::size_t size)
      : module_(std::move(module)), data_(data), size_(size) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, size_ - pos_);
    std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  UniqueModule module_;
  const char* data_;
  std::size_t size_, pos_ = 0;
};

class PeExecutable final : public OwnExecutable {
 public:
  PeExecutable(std::string ownPath, bool mustCarry) : ownPath_(std::move(ownPath)), mustCarry_(mustCarry) {}

  FileVersion ReadOwnFileVersion(const std::string& path) override {
    const std::wstring file = win32::Wide(path);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
      if (::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw ResourceError("cannot read \"" + path + "\": " + win32::ErrorText(::GetLastError()));
      if (mustCarry_ && path == ownPath_)
        throw ResourceError("the program file \"" + path + "\" is damaged: its version information is missing");
      return {};
    }
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(file.c_str(), 0, size, block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || length < sizeof *info)
      throw ResourceError("damaged version information in \"" + path + "\"");
    return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
            LOWORD(info->dwFileVersionLS)};
  }

  std::unique_ptr<ResourceStream> OpenResource(const std::string& type, const std::string& name) override {
    UniqueModule module(::LoadLibraryExW(win32::Wide(ownPath_).c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) throw ResourceError("cannot read \"" + ownPath_ + "\": " + win32::ErrorText(::GetLastError()));
    HRSRC found = ::FindResourceW(module.Get(), win32::Wide(name).c_str(), win32::Wide(type).c_str());
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(module.Get(), found);
    const DWORD size = ::SizeofResource(module.Get(), found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) throw ResourceError("damaged resource " + type + "/" + name + " in \"" + ownPath_ + "\"");
    return std::make_unique<PeResourceStream>(std::move(module), static_cast<const char*>(data), size);
  }

 private:
  std::string ownPath_;
  bool mustCarry_;
};

}  // namespace

std::unique_ptr<OwnExecutable> OpenBundledExecutable(std::string ownPath, bool mustCarryBundle) {
  return std::make_unique<PeExecutable>(std::move(ownPath), mustCarryBundle);
}

}  // namespace kv
