#pragma once
// The process's open handles and its GDI and USER objects. GetProcessHandleCount and
// GetGuiResources give them on Windows; Wine answers 0 to all three (not implemented), so there
// the handles are found by asking about every handle value in turn, the GDI objects are
// counted in Wine's own handle table, which it shares with the process through the PEB, and
// the windows of the process stand in for the USER objects.
#include <windows.h>
// After windows.h, which it needs.
#include <winternl.h>

#include <cstdint>

namespace kelvane::bench {

inline bool on_wine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

inline unsigned long handle_count() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return count;
  // Handle values are multiples of 4, handed out lowest first: past a long run of unused
  // values there are no more.
  unsigned long live = 0;
  DWORD flags = 0;
  for (uintptr_t value = 4, unused = 0; unused < 4096; value += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++live;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return live;
}

inline const char* handle_count_source() {
  DWORD count = 0;
  return GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0 ? "GetProcessHandleCount"
                                                                          : "handle values answered";
}

// One entry of Wine's GDI handle table; a live object has a non-zero type.
struct WineGdiEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user_pointer;
};
static_assert(sizeof(WineGdiEntry) == 24);

inline unsigned long wine_gdi_objects() {
  constexpr size_t kEntries = 0x10000;
#ifdef _WIN64
  constexpr size_t kTableField = 0xf8;  // PEB.GdiSharedHandleTable
#else
  constexpr size_t kTableField = 0x94;
#endif
  using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr ||
      query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
    return 0;
  const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const WineGdiEntry* const*>(peb + kTableField);
  if (table == nullptr) return 0;
  // Read only what is committed.
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(table, &info, sizeof info) == 0 || info.State != MEM_COMMIT) return 0;
  const size_t readable =
      static_cast<const char*>(info.BaseAddress) + info.RegionSize - reinterpret_cast<const char*>(table);
  const size_t entries =
      readable / sizeof(WineGdiEntry) < kEntries ? readable / sizeof(WineGdiEntry) : kEntries;
  unsigned long live = 0;
  for (size_t i = 0; i < entries; ++i) live += table[i].type != 0 ? 1 : 0;
  return live;
}

inline bool gui_resources_work() {
  return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0 || !on_wine();
}

inline unsigned long gdi_object_count() {
  if (gui_resources_work()) return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  return wine_gdi_objects();
}

inline const char* gdi_count_source() {
  return gui_resources_work() ? "GetGuiResources" : "live entries of Wine's GDI handle table";
}

// EnumChildWindows reaches every descendant, not only the children.
inline BOOL CALLBACK count_window(HWND, LPARAM count) {
  ++*reinterpret_cast<unsigned long*>(count);
  return TRUE;
}

inline BOOL CALLBACK count_own_window(HWND window, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  count_window(window, count);
  EnumChildWindows(window, count_window, count);
  return TRUE;
}

// The windows of the process: top-level, their children, and message-only windows.
inline unsigned long own_windows() {
  unsigned long count = 0;
  EnumWindows(count_own_window, reinterpret_cast<LPARAM>(&count));
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w != nullptr;
       w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) {
    count_own_window(w, reinterpret_cast<LPARAM>(&count));
  }
  return count;
}

inline unsigned long user_object_count() {
  if (gui_resources_work()) return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  return own_windows();
}

inline const char* user_count_source() {
  return gui_resources_work() ? "GetGuiResources" : "windows of the process";
}

}  // namespace kelvane::bench
