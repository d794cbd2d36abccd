#include "app/registry.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/settings_loader.h"
#include "base/utf8_path.h"

namespace kelvane {
namespace {

HKEY hive(const std::string& root) { return root == "HKCU" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// Owns an open key for one call.
class OpenKey {
 public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  bool open_for_reading(const std::string& root, const std::string& path) {
    return RegOpenKeyExW(hive(root), widen(path).c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS;
  }
  bool open_for_writing(const std::string& root, const std::string& path) {
    return RegCreateKeyExW(hive(root), widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_SET_VALUE, nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// An empty value name reads or writes the key's default value.
const wchar_t* value_name(const std::wstring& name) { return name.empty() ? nullptr : name.c_str(); }

}  // namespace

int reg_get_dword(const std::string& root, const std::string& key, const std::string& name) {
  OpenKey k;
  if (!k.open_for_reading(root, key)) return -1;
  const std::wstring wname = widen(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(k.get(), value_name(wname), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return -1;
  if (registry_dword_value(type, size, 0) < 0) return -1;
  uint32_t raw = 0;
  size = sizeof(raw);
  if (RegQueryValueExW(k.get(), value_name(wname), nullptr, &type, reinterpret_cast<BYTE*>(&raw), &size) !=
      ERROR_SUCCESS)
    return -1;
  return registry_dword_value(type, size, raw);
}

int reg_set_dword(const std::string& root, const std::string& key, const std::string& name, int value) {
  OpenKey k;
  if (!k.open_for_writing(root, key)) return 1;
  const std::wstring wname = widen(name);
  const DWORD raw = static_cast<DWORD>(value);
  return RegSetValueExW(k.get(), value_name(wname), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&raw),
                        sizeof(raw)) == ERROR_SUCCESS
             ? 0
             : 1;
}

std::optional<std::string> reg_get_string(const std::string& root, const std::string& key,
                                          const std::string& name) {
  OpenKey k;
  if (!k.open_for_reading(root, key)) return std::nullopt;
  const std::wstring wname = widen(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(k.get(), value_name(wname), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  // The value may change between the two calls; a larger one is simply asked for again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (type != REG_SZ) return std::nullopt;
    // Room for the stored bytes (an odd count rounded up) and a terminator of our own: the
    // registry does not promise that a stored text ends with one.
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
    DWORD got = size;
    const LONG rc = RegQueryValueExW(k.get(), value_name(wname), nullptr, &type,
                                     reinterpret_cast<BYTE*>(text.data()), &got);
    if (rc == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    size_t length = got / sizeof(wchar_t);
    for (size_t i = 0; i < length; ++i) {
      if (text[i] == L'\0') {
        length = i;
        break;
      }
    }
    if (length == 0) return std::nullopt;
    return narrow(text.data(), static_cast<int>(length));
  }
  return std::nullopt;
}

int reg_set_string(const std::string& root, const std::string& key, const std::string& name,
                   const std::string& text) {
  OpenKey k;
  if (!k.open_for_writing(root, key)) return 2;
  const std::wstring wname = widen(name);
  const std::wstring wtext = widen(text);
  const DWORD bytes = static_cast<DWORD>((wtext.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(k.get(), value_name(wname), 0, REG_SZ, reinterpret_cast<const BYTE*>(wtext.c_str()),
                        bytes) == ERROR_SUCCESS
             ? 0
             : 2;
}

}  // namespace kelvane
