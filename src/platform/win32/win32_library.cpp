/*
** Loading a library on Windows.
*/
#include "platform/dynamic_library.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

class WindowsLibrary final : public DynamicLibrary {
 public:
  explicit WindowsLibrary(HMODULE module) : module_(module) {}
  void* Symbol(const char* name) const override {
    return reinterpret_cast<void*>(::GetProcAddress(module_.Get(), name));
  }

 private:
  win32::UniqueModule module_;
};

}  // namespace

std::unique_ptr<DynamicLibrary> LoadDynamicLibrary(const std::initializer_list<const char*>& names,
                                                   std::string& error) {
  error.clear();
  for (const char* name : names) {
    if (HMODULE m = ::LoadLibraryW(win32::Wide(name).c_str())) return std::make_unique<WindowsLibrary>(m);
    error += std::string(error.empty() ? "" : "; ") + name + ": " + win32::ErrorText(::GetLastError());
  }
  return nullptr;
}

}  // namespace kv
