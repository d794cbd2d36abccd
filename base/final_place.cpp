#include "base/final_place.h"

#ifdef _WIN32

namespace kelvane {

std::wstring handle_place(HANDLE file) {
  std::wstring place(MAX_PATH, L'\0');
  DWORD n = GetFinalPathNameByHandleW(file, place.data(), static_cast<DWORD>(place.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
  if (n >= place.size()) {
    place.resize(n);
    n = GetFinalPathNameByHandleW(file, place.data(), static_cast<DWORD>(place.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
  }
  if (n == 0 || n >= place.size()) return std::wstring();
  place.resize(n);
  while (!place.empty() && place.back() == L'\\') place.pop_back();
  return place;
}

std::wstring final_place(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::wstring();
  std::wstring place = handle_place(file);
  CloseHandle(file);
  return place;
}

}  // namespace kelvane

#endif
