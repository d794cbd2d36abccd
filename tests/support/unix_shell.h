#pragma once
// The Windows tests under Wine make what a Windows program cannot (symbolic links, names that
// Windows reserves, case twins, paths past the Unix path limit) with /bin/sh.
#include <windows.h>

#include <string>

#include "base/utf8_path.h"

namespace kelvane {

// The Unix path of a Windows path, or empty outside Wine.
inline std::string unix_name_of(const std::string& win_path) {
  using Fn = char*(__cdecl*)(const wchar_t*);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!fn) return std::string();
  char* name = fn(widen(win_path).c_str());
  if (!name) return std::string();
  std::string out = name;
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

// Runs script (no double quotes in it) with /bin/sh and waits for it, at most 120 s (a
// loaded machine makes 100,000 files slowly). The shell
// runs on its own; its last act touches a marker in win_folder, and a change notification on
// the folder wakes the wait.
inline bool run_unix(const std::string& script, const std::string& win_folder, const std::string& marker) {
  const std::string unix_folder = unix_name_of(win_folder);
  if (unix_folder.empty()) return false;
  const std::string marked = "(" + script + ") && : > '" + unix_folder + "/" + marker + "'";
  std::wstring command = widen("/bin/sh -c \"" + marked + "\"");
  HANDLE change =
      FindFirstChangeNotificationW(widen(win_folder).c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const std::wstring marker_win = widen(win_folder + "\\" + marker);
  bool made = false;
  for (int rounds = 0; rounds < 600 && !made; ++rounds) {
    made = GetFileAttributesW(marker_win.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (made || change == INVALID_HANDLE_VALUE) break;
    WaitForSingleObject(change, 200);
    FindNextChangeNotification(change);
  }
  if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
  DeleteFileW(marker_win.c_str());
  return made;
}

}  // namespace kelvane
