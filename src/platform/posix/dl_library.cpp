/*
** Run-time loading of shared libraries on POSIX (dlopen).
*/
#include <dlfcn.h>

#include "platform/dynamic_library.h"
#include "platform/unique_handle.h"

namespace kv {
namespace {

struct DlTraits {
  using Handle = void*;
  static Handle None() { return nullptr; }
  void Close(Handle h) const { ::dlclose(h); }
};

class DlLibrary final : public DynamicLibrary {
 public:
  explicit DlLibrary(void* handle) : handle_(handle) {}
  void* Symbol(const char* name) const override { return ::dlsym(handle_.Get(), name); }

 private:
  UniqueHandle<DlTraits> handle_;
};

}  // namespace

std::unique_ptr<DynamicLibrary> LoadDynamicLibrary(const std::initializer_list<const char*>& names,
                                                   std::string& error) {
  error.clear();
  for (const char* name : names) {
    if (void* h = ::dlopen(name, RTLD_NOW | RTLD_LOCAL)) return std::make_unique<DlLibrary>(h);
    const char* why = ::dlerror();
    error += std::string(error.empty() ? "" : "; ") + (why ? why : name);
  }
  return nullptr;
}

}  // namespace kv
