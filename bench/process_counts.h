#pragma once
// The process's open handles and its GDI and USER objects. GetProcessHandleCount and
// GetGuiResources give them on Windows; Wine answers 0 to all three (not implemented), so there
// the handles are found by asking about every handle value in turn, the GDI objects are
// counted in Wine's own handle table, which it shares with the process through the PEB, and
// the windows of the process stand in for the USER objects.
#include <windows.h>
// After windows.h, which it needs.
#include <winternl.h>

#include <algorithm>
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

// Where Wine keeps its GDI handle table: the PEB's GdiSharedHandleTable. A 32-bit program in a
// 64-bit prefix (WoW64) has it in the 64-bit PEB only, which Wine reaches through the 64-bit
// TEB whose address it keeps in the 32-bit TEB's GdiBatchCount. None when it cannot be found.
inline const WineGdiEntry* wine_gdi_table() {
  const auto committed = [](uintptr_t at, size_t size) {
    MEMORY_BASIC_INFORMATION info{};
    return at != 0 && VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info) != 0 &&
           info.State == MEM_COMMIT &&
           at + size <= reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
  };
  // The thread's own TEB, as ntdll tells it (reading it from the segment register directly
  // trips the compiler's bounds checks).
  struct ThreadBasics {
    LONG exit_status;
    void* teb;
    void* client_id[2];
    ULONG_PTR affinity;
    LONG priority;
    LONG base_priority;
  };
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  ThreadBasics basics{};
  if (query == nullptr || query(GetCurrentThread(), 0, &basics, sizeof basics, nullptr) != 0) return nullptr;
  const auto* teb = static_cast<const char*>(basics.teb);
  if (!committed(reinterpret_cast<uintptr_t>(teb), 0x1000)) return nullptr;
#ifdef _WIN64
  const auto* peb = *reinterpret_cast<const char* const*>(teb + 0x60);
  const uintptr_t table = peb != nullptr ? *reinterpret_cast<const uintptr_t*>(peb + 0xf8) : 0;
#else
  uintptr_t table = 0;
  const uintptr_t teb64 = *reinterpret_cast<const uint32_t*>(teb + 0xf70);  // GdiBatchCount
  if (teb64 != 0) {
    if (!committed(teb64 + 0x60, 8)) return nullptr;
    const uint64_t peb64 = *reinterpret_cast<const uint64_t*>(teb64 + 0x60);
    if (peb64 > UINT32_MAX || !committed(static_cast<uintptr_t>(peb64) + 0xf8, 8)) return nullptr;
    const uint64_t at = *reinterpret_cast<const uint64_t*>(static_cast<uintptr_t>(peb64) + 0xf8);
    table = at <= UINT32_MAX ? static_cast<uintptr_t>(at) : 0;
  } else {
    const auto* peb = *reinterpret_cast<const char* const*>(teb + 0x30);
    table = peb != nullptr ? *reinterpret_cast<const uint32_t*>(peb + 0x94) : 0;
  }
#endif
  return committed(table, sizeof(WineGdiEntry)) ? reinterpret_cast<const WineGdiEntry*>(table) : nullptr;
}

// The live entries of Wine's GDI handle table; false when the table cannot be found.
inline bool wine_gdi_objects(unsigned long& live) {
  constexpr size_t kEntries = 0x10000;
  const WineGdiEntry* table = wine_gdi_table();
  if (table == nullptr) return false;
  // Read only what is committed.
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(table, &info, sizeof info) == 0) return false;
  const size_t readable =
      static_cast<const char*>(info.BaseAddress) + info.RegionSize - reinterpret_cast<const char*>(table);
  const size_t entries = std::min(readable / sizeof(WineGdiEntry), kEntries);
  live = 0;
  for (size_t i = 0; i < entries; ++i) live += table[i].type != 0 ? 1 : 0;
  // Wine makes its stock objects before any program code runs: an empty table is not ours.
  return live != 0;
}

inline bool gui_resources_work() {
  return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0 || !on_wine();
}

// The process's GDI objects; false where no count can be had (the figure is then unknown, not 0).
inline bool gdi_object_count(unsigned long& count) {
  if (gui_resources_work()) {
    count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return count != 0;
  }
  return wine_gdi_objects(count);
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
