#pragma once
// Whether the program runs under Wine, whose file system answers some questions otherwise than
// Windows does (listings, links, the recycle bin): its ntdll exports its version, Windows' does
// not. Windows only.
#ifdef _WIN32
#include <windows.h>

namespace kelvane {

inline bool under_wine() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace kelvane
#endif
