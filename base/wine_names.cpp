#include "base/wine_names.h"

#ifdef _WIN32
#include <windows.h>

namespace kelvane {

namespace {

using ToUnix = char*(__cdecl*)(const wchar_t*);
using ToDos = wchar_t*(__cdecl*)(const char*);

// Looked up once: Windows' kernel32 has neither.
struct WineCalls {
  ToUnix to_unix = nullptr;
  ToDos to_dos = nullptr;
  WineCalls() {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    to_unix =
        reinterpret_cast<ToUnix>(reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
    to_dos =
        reinterpret_cast<ToDos>(reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
  }
};

const WineCalls& wine_calls() {
  static const WineCalls calls;
  return calls;
}

}  // namespace

std::string wine_unix_name(const std::wstring& dos) {
  if (wine_calls().to_unix == nullptr) return std::string();
  char* name = wine_calls().to_unix(dos.c_str());
  if (name == nullptr) return std::string();
  std::string out = name;
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

std::wstring wine_dos_name(const std::string& unix) {
  if (wine_calls().to_dos == nullptr) return std::wstring();
  wchar_t* name = wine_calls().to_dos(unix.c_str());
  if (name == nullptr) return std::wstring();
  std::wstring out = name;
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

}  // namespace kelvane
#endif
