#include "removal/entry_probe.h"

#include <algorithm>
#include <vector>

#include "base/replaceable.h"

#ifdef _WIN32
#include <windows.h>

#include "base/final_place.h"
#include "base/under_wine.h"
#include "base/utf8_path.h"
#include "scan/entry_stamp.h"
#include "scan/exact_path.h"
#include "scan/win32_dir_source.h"
#endif

namespace kelvane {

namespace {

#ifdef _WIN32

// A drive root or a network share cannot be found by name in a folder above it.
bool names_root(const std::wstring& path) {
  const std::wstring p = without_long_prefix(path);
  if (p.empty() || p.back() == L'\\') return true;
  if (p.rfind(L"\\\\", 0) == 0) return p.find(L'\\', p.find(L'\\', 2) + 1) == std::wstring::npos;
  return false;
}

Presence presence_of_error(DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
    return Presence::kAbsent;
  }
  return Presence::kUnknown;
}

// The place of a folder given by its extended path without a closing backslash ("D:" is the
// drive's root here, not the volume).
std::wstring folder_place(const std::wstring& folder) {
  return final_place(!folder.empty() && folder.back() == L':' ? folder + L"\\" : folder);
}

// An entry opened by its path (links followed): where it really is and its stamp as a folder.
struct OpenedEntry {
  std::wstring place;
  uint32_t stamp = 0;
};

OpenedEntry open_entry(const std::wstring& path) {
  OpenedEntry opened;
  HANDLE file =
      CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return opened;
  opened.place = handle_place(file);
  opened.stamp = handle_stamp(file);
  CloseHandle(file);
  return opened;
}

// The file id of the entry itself, a link's own rather than its target's; 0 when it cannot be
// opened.
uint64_t own_id(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL ok = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  return ok ? (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow : 0;
}

// Whether the entry called name in folder, whose own place is `place`, resolves to another
// entry (`at`: the entry opened by its path): a link the find data need not show as one.
bool resolves_elsewhere(const std::wstring& place, const std::wstring& folder, const std::wstring& name,
                        const OpenedEntry& at) {
  if (place.empty() || at.place.empty()) return false;
  if (at.place == place + L"\\" + name) return false;
  // Wine's places leave out the dots and blanks that end a name ("trail." reads "trail"): such
  // an entry is where its name says unless it is the very entry the shortened name names.
  // ("..." reads as the folder itself).
  std::wstring bare = name;
  while (!bare.empty() && (bare.back() == L'.' || bare.back() == L' ')) bare.pop_back();
  if (bare.size() == name.size() || at.place != (bare.empty() ? place : place + L"\\" + bare)) return true;
  const uint32_t twin = open_entry(bare.empty() ? folder : folder + L"\\" + bare).stamp;
  return twin != 0 && twin == at.stamp;
}

// Whether another entry of the folder, whose name differs from name only in the dots and blanks
// that end them ("a." and "a..", "c" and "c."), is the entry that name opened as (`at`): under
// Wine such names answer to one place, so a link among them opens as its sibling and the place
// cannot say which of them it is.
bool opens_as_sibling(const std::wstring& folder, const std::wstring& name, const OpenedEntry& at) {
  std::wstring shortened = name;
  while (!shortened.empty() && (shortened.back() == L'.' || shortened.back() == L' ')) shortened.pop_back();
  if (shortened.empty() || at.stamp == 0) return false;
  // Only the names that begin alike are listed, unless the name holds what a pattern reads as
  // a wildcard.
  const bool plain = shortened.find_first_of(L"*?<>\"") == std::wstring::npos;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((folder + L"\\" + (plain ? shortened + L"*" : L"*")).c_str(),
                                 FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool sibling = false;
  do {
    std::wstring other = data.cFileName;
    if (other == name) continue;
    const std::wstring full = folder + L"\\" + other;
    while (!other.empty() && (other.back() == L'.' || other.back() == L' ')) other.pop_back();
    sibling = other == shortened && open_entry(full).stamp == at.stamp;
  } while (!sibling && FindNextFileW(find, &data));
  FindClose(find);
  return sibling;
}

class PlatformProbe : public EntryProbe {
 public:
  DiskEntry entry(const std::string& path) override {
    DiskEntry found;
    const std::wstring wide = long_path_form(drive_root_form(path));
    if (names_root(wide)) {
      WIN32_FILE_ATTRIBUTE_DATA data;
      if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
        found.presence = presence_of_error(GetLastError());
        return found;
      }
      found.presence = Presence::kPresent;
      found.is_dir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      found.stamp = open_entry(wide).stamp;
      return found;
    }
    // The entry itself, as an enumeration reports it (a link whose target has gone is still
    // there), and only under its own name: where the platform matches names regardless of
    // case, it would report a twin such as "Case.txt" for "CASE.txt".
    const std::wstring name = wide.substr(wide.find_last_of(L'\\') + 1);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_CASE_SENSITIVE);
    if (find == INVALID_HANDLE_VALUE) {
      found.presence = presence_of_error(GetLastError());
      return found;
    }
    found.presence = Presence::kAbsent;
    const std::wstring folder = wide.substr(0, wide.size() - name.size() - 1);
    do {
      if (name != data.cFileName && found.other_case_stamp == 0) {
        // The same name in other case (the platform matched it regardless of case).
        std::string utf8;
        const DirEntry e = decode_find_data(data, utf8);
        const std::wstring other = folder + L"\\" + data.cFileName;
        found.other_case_stamp = e.is_dir ? open_entry(other).stamp
                                          : file_stamp(file_time_ticks(data.ftCreationTime),
                                                       file_time_ticks(data.ftLastWriteTime), own_id(other));
      }
      if (name == data.cFileName) {
        std::string utf8;
        const DirEntry e = decode_find_data(data, utf8);
        found.presence = Presence::kPresent;
        found.is_dir = e.is_dir;
        found.size = e.size;
        // The listing by name gives no file id: it is read from the entry itself (a link's own,
        // as the scan's listing gives it), so that the stamp is the scan's.
        found.stamp = e.is_dir ? e.stamp
                               : file_stamp(file_time_ticks(data.ftCreationTime),
                                            file_time_ticks(data.ftLastWriteTime), own_id(wide));
        const OpenedEntry at = open_entry(wide);
        if (e.is_dir) found.stamp = at.stamp;
        found.is_link = e.is_link || resolves_elsewhere(folder_place(folder), folder, name, at) ||
                        opens_as_sibling(folder, name, at);
        break;
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
  }

  bool holds_link(const std::string& path, const std::atomic<bool>& stop,
                  const std::function<void(const std::string&)>& looking) override {
    std::wstring top = long_path_form(drive_root_form(path));
    while (!top.empty() && top.back() == L'\\') top.pop_back();
    // Each folder is told by the path it was asked for, not by the long form it is read in.
    std::string shown = path;
    while (!shown.empty() && shown.back() == '\\') shown.pop_back();
    std::vector<std::wstring> folders{top};
    while (!folders.empty() && !stop.load()) {
      std::wstring folder = std::move(folders.back());
      folders.pop_back();
      while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
      if (looking) looking(shown + narrow(folder.substr(std::min(top.size(), folder.size()))));
      WIN32_FIND_DATAW data;
      HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
      if (find == INVALID_HANDLE_VALUE) continue;
      const std::wstring place = folder_place(folder);
      bool link = false;
      std::string utf8;
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const DirEntry e = decode_find_data(data, utf8);
        link = e.is_link || resolves_elsewhere(place, folder, name, open_entry(folder + L"\\" + name));
        if (!link && e.is_dir) folders.push_back(folder + L"\\" + name);
      } while (!link && !stop.load() && FindNextFileW(find, &data));
      FindClose(find);
      if (link) return true;
    }
    return false;
  }

  bool shell_follows_links() override { return under_wine(); }
};

#else

// Natively there is no Windows file system to ask: nothing is known.
class PlatformProbe : public EntryProbe {
 public:
  DiskEntry entry(const std::string&) override { return DiskEntry{}; }
  bool holds_link(const std::string&, const std::atomic<bool>&,
                  const std::function<void(const std::string&)>&) override {
    return false;
  }
  bool shell_follows_links() override { return true; }
};

#endif

Replaceable<EntryProbe, PlatformProbe> replacement_probe;

}  // namespace

EntryProbe& entry_probe() { return replacement_probe.get(); }

EntryProbe* set_entry_probe(EntryProbe* replacement) { return replacement_probe.replace(replacement); }

}  // namespace kelvane
