/*
** Run-time loading of shared libraries on POSIX (dlopen).
*/
#include <dlfcn.h>

#include "platform/dynamic_library.h"

namespace kv {
namespace {

class DlLibrary final : public DynamicLibrary {
 public:
  explicit DlLibrary(void* handle) : handle_(handle) {}
  ~DlLibrary() override { ::dlclose(handle_); }
  DlLibrary(const DlLibrary&) = delete;
  DlLibrary& operator=(const DlLibrary&) = delete;
  void* Symbol(const char* name) const override { return ::dlsym(handle_, name); }

 private:
  void* handle_;
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
