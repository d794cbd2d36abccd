#pragma once
// Single registry values, read and written through the wide registry calls with UTF-8 texts.
// The root text "HKCU" (exactly, case-sensitive) means the current user's hive; any other
// root means the local machine's.
#include <optional>
#include <string>

namespace kelvane {

// The value, or -1 when the key or value is missing or not a 4-byte REG_DWORD. A stored
// value with the top bit set also comes back negative.
int reg_get_dword(const std::string& root, const std::string& key, const std::string& name);

// Stores value as a 4-byte REG_DWORD, creating the key when missing: 0 done, 1 failed.
int reg_set_dword(const std::string& root, const std::string& key, const std::string& name, int value);

// The text of a REG_SZ value (an empty name reads the key's default value); nullopt when the
// key or value is missing, the value is of another type, or the text is empty.
std::optional<std::string> reg_get_string(const std::string& root, const std::string& key,
                                          const std::string& name = std::string());

// Stores text as REG_SZ, creating the key when missing: 0 done, 2 failed.
int reg_set_string(const std::string& root, const std::string& key, const std::string& name,
                   const std::string& text);

}  // namespace kelvane
