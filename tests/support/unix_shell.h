#pragma once
// Windows tests under Wine: Unix commands for what a Windows program cannot do there (making
// symbolic links, mapping drive letters).
#include <windows.h>

#include <string>

#include "base/utf8_path.h"

namespace kelvane {

// Under Wine a Windows program cannot make Unix symbolic links (CreateSymbolicLinkW does
// nothing), so the fixture asks /bin/sh for them. The shell runs on its own; its last act
// touches a marker, and a change notification on the folder wakes the wait.
inline std::string unix_name_of(const std::string& win_path);

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
  for (int rounds = 0; rounds < 100 && !made; ++rounds) {
    made = GetFileAttributesW(marker_win.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (made || change == INVALID_HANDLE_VALUE) break;
    WaitForSingleObject(change, 200);
    FindNextChangeNotification(change);
  }
  if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
  DeleteFileW(marker_win.c_str());
  return made;
}

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

}  // namespace kelvane
