#include "base/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvane {

#ifdef _WIN32
std::wstring widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string narrow(const wchar_t* wide, int length) {
  if (!wide) return std::string();
  if (length < 0) length = static_cast<int>(wcslen(wide));
  if (length == 0) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), n, nullptr, nullptr);
  return out;
}

std::FILE* open_utf8_file(const std::string& path, const char* mode) {
  return _wfopen(widen(path).c_str(), widen(mode).c_str());
}
#else
std::FILE* open_utf8_file(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}
#endif

}  // namespace kelvane
