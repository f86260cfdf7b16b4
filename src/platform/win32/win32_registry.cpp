/*
** The Windows registry. The installer of the main application is a 32-bit
** program, so on 64-bit Windows its machine-wide keys live in the 32-bit view:
** HKLM is read with KEY_WOW64_32KEY, and only read. Per-user values are DWORDs.
*/
#include <vector>

#include "platform/registry.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

struct KeyTraits {
  using Handle = HKEY;
  static Handle None() { return nullptr; }
  LSTATUS Close(Handle h) const { return ::RegCloseKey(h); }
};
using UniqueKey = UniqueHandle<KeyTraits>;

std::wstring KeyPath(std::string_view path) {
  std::wstring p = win32::Wide(path);
  while (!p.empty() && p.back() == L'\\') p.pop_back();
  return p;
}

class WindowsKey final : public RegistryKey {
 public:
  WindowsKey(UniqueKey key, bool writable) : key_(std::move(key)), writable_(writable) {}

  std::optional<std::string> ReadString(std::string_view name) const override {
    const std::wstring n = win32::Wide(name);
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key_.Get(), n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key_.Get(), n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) !=
        ERROR_SUCCESS)
      return std::nullopt;
    std::wstring_view text(buf.data(), got / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return win32::Utf8(text);
  }

  std::optional<std::uint32_t> ReadDword(std::string_view name) const override {
    DWORD type = 0, value = 0, size = sizeof value;
    if (::RegQueryValueExW(key_.Get(), win32::Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
      return std::nullopt;
    return value;
  }

  void WriteDword(std::string_view name, std::uint32_t value) override {
    if (!writable_) throw RegistryError("the registry key was opened for reading only");
    const DWORD v = value;
    const LSTATUS s = ::RegSetValueExW(key_.Get(), win32::Wide(name).c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&v), sizeof v);
    if (s != ERROR_SUCCESS)
      throw RegistryError("cannot write the registry value \"" + std::string(name) + "\": " + win32::ErrorText(s));
  }

 private:
  UniqueKey key_;
  bool writable_;
};

class WindowsRegistry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryHive hive, std::string_view path) override {
    const bool machine = hive == RegistryHive::LocalMachine;
    HKEY key = nullptr;
    const REGSAM access = machine ? KEY_READ | KEY_WOW64_32KEY : KEY_READ;
    if (::RegOpenKeyExW(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, access, &key) !=
        ERROR_SUCCESS)
      return nullptr;
    return std::make_unique<WindowsKey>(UniqueKey(key), false);
  }

  std::unique_ptr<RegistryKey> CreateKey(RegistryHive hive, std::string_view path) override {
    if (hive == RegistryHive::LocalMachine) throw RegistryError("the machine-wide registry is only read");
    HKEY key = nullptr;
    const LSTATUS s = ::RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, nullptr, 0,
                                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (s != ERROR_SUCCESS)
      throw RegistryError("cannot open the registry key \"" + std::string(path) + "\": " + win32::ErrorText(s));
    return std::make_unique<WindowsKey>(UniqueKey(key), true);
  }
};

}  // namespace

std::unique_ptr<Registry> OpenEnvironmentRegistry() { return std::make_unique<WindowsRegistry>(); }

}  // namespace kv
