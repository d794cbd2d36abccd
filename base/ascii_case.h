#pragma once
// Letter case as drive letters and the platform's reserved names know it: ASCII letters only,
// every other byte (UTF-8 included) as it is.
#include <string_view>

namespace kelvane {

inline char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether a and b are the same text but for the case of ASCII letters.
inline bool same_ascii_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_upper(a[i]) != ascii_upper(b[i])) return false;
  return true;
}

}  // namespace kelvane
