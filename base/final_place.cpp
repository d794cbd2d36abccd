#include "base/final_place.h"

#ifdef _WIN32

#include <vector>

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

std::wstring long_drive_place(HANDLE file) {
  // NtQueryObject(ObjectNameInformation): ntdll's, found at run time, as the headers of every
  // toolchain do not declare it alike.
  using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const auto query = reinterpret_cast<QueryObject>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (query == nullptr) return std::wstring();
  struct Name {
    USHORT length;
    USHORT maximum;
    const wchar_t* buffer;
  };
  std::vector<unsigned char> data(sizeof(Name) + 65536);
  ULONG got = 0;
  if (query(file, 1 /* ObjectNameInformation */, data.data(), static_cast<ULONG>(data.size()), &got) != 0)
    return std::wstring();
  const auto* name = reinterpret_cast<const Name*>(data.data());
  std::wstring place(name->buffer, name->length / sizeof(wchar_t));
  if (place.compare(0, 4, L"\\??\\") != 0 || place.size() < 6 || place[5] != L':') return std::wstring();
  place[1] = L'\\';
  place[2] = L'?';
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
