#pragma once
// Opening files by UTF-8 path: the wide C runtime call on Windows, plain fopen elsewhere.
#include <cstdio>
#include <string>

namespace kelvane {

std::FILE* open_utf8_file(const std::string& path, const char* mode);

#ifdef _WIN32
std::wstring widen(const std::string& utf8);
std::string narrow(const wchar_t* wide, int length = -1);
inline std::string narrow(const std::wstring& wide) {
  return narrow(wide.c_str(), static_cast<int>(wide.size()));
}
#endif

}  // namespace kelvane
