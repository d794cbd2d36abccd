#include "removal/entry_remover.h"

#include "base/replaceable.h"

#ifdef _WIN32
#include <windows.h>

#include "base/final_place.h"
#include "base/utf8_path.h"
#include "scan/exact_path.h"
#endif

namespace kelvane {

namespace {

#ifdef _WIN32

// "D:" names the drive's current folder; the drive itself is "D:\\".
std::wstring opened_form(const std::string& path) {
  return widen(extended_path(path.size() == 2 && path[1] == ':' ? path + "\\" : path));
}

// The place of an open entry in its drive-letter form ("\\?\D:\X"), which Wine gives in half
// the time of the device form; the device form where the volume has no letter. One entry
// always gets the same form, so places compare as texts.
std::wstring place_of(HANDLE file) {
  std::wstring place(MAX_PATH, L'\0');
  const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  DWORD n = GetFinalPathNameByHandleW(file, place.data(), static_cast<DWORD>(place.size()), flags);
  if (n >= place.size()) {
    place.resize(n);
    n = GetFinalPathNameByHandleW(file, place.data(), static_cast<DWORD>(place.size()), flags);
  }
  if (n == 0 || n >= place.size()) {
    const std::wstring long_place = long_drive_place(file);
    return long_place.empty() ? handle_place(file) : long_place;
  }
  place.resize(n);
  while (!place.empty() && place.back() == L'\\') place.pop_back();
  return place;
}

// Whether two open handles are one entry: the same volume and the same index on it.
bool same_entry(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION x{}, y{};
  if (!GetFileInformationByHandle(a, &x) || !GetFileInformationByHandle(b, &y)) return false;
  return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.nFileIndexLow == y.nFileIndexLow;
}

// The place of the entry open as `file`, opened by `path`, under its own name. Wine's places
// leave out the dots and blanks that end a name ("x." reads "...\x", "..." reads as its
// folder): such an entry is given back under the name it has, unless the shortened name opens
// this very entry (a link "x." to "x"), which then stands where it really is: elsewhere.
std::wstring own_place(HANDLE file, const std::string& path) {
  std::wstring at = place_of(file);
  const size_t cut = path.find_last_of('\\');
  if (at.empty() || cut == std::string::npos) return at;
  const std::wstring name = widen(path.substr(cut + 1));
  std::wstring bare = name;
  while (!bare.empty() && (bare.back() == L'.' || bare.back() == L' ')) bare.pop_back();
  if (bare.size() == name.size()) return at;
  if (!bare.empty() &&
      (at.size() <= bare.size() || at.compare(at.size() - bare.size(), bare.size(), bare) != 0 ||
       at[at.size() - bare.size() - 1] != L'\\'))
    return at;
  const std::string twin_path =
      path.substr(0, path.size() - (name.size() - bare.size()) - (bare.empty() ? 1 : 0));
  HANDLE twin = CreateFileW(opened_form(twin_path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (twin != INVALID_HANDLE_VALUE) {
    const bool same = same_entry(file, twin);
    CloseHandle(twin);
    if (same) return at;
  }
  return bare.empty() ? at + L"\\" + name : at.substr(0, at.size() - bare.size()) + name;
}

// Whether the open entry is the one expected: where the scan found it (no link on its path,
// and not a link that resolves elsewhere) and of the listed kind. Every check of an entry
// before it is removed is here.
RemoveResult check_opened(HANDLE file, const std::string& path, const std::string& expected, bool is_dir) {
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) return RemoveResult::kFailed;
  const std::wstring at = own_place(file, path);
  if (at.empty()) return RemoveResult::kFailed;
  if (narrow(at) != expected) return RemoveResult::kElsewhere;
  // A link opened as itself is removed as itself, whatever it names.
  if (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveResult::kRemoved;
  const bool dir = (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return dir == is_dir ? RemoveResult::kRemoved : RemoveResult::kOtherKind;
}

class PlatformRemover : public EntryRemover {
 public:
  std::string place(const std::string& path) override {
    HANDLE file = CreateFileW(opened_form(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    const std::string place = narrow(own_place(file, path));
    CloseHandle(file);
    return place;
  }

  RemoveResult remove(const std::string& path, const std::string& expected, bool is_dir) override {
    // Opened as the link itself where it is one; under Wine a Unix link is still followed
    // (and removing that handle would remove its target), which the place check sees.
    HANDLE file = CreateFileW(opened_form(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      // Not found beside entries of its folder that are: gone. A missing folder on the way
      // (ERROR_PATH_NOT_FOUND) or a drive gone says nothing about the entry.
      return GetLastError() == ERROR_FILE_NOT_FOUND ? RemoveResult::kGone : RemoveResult::kFailed;
    }
    RemoveResult result = check_opened(file, path, expected, is_dir);
    if (result == RemoveResult::kRemoved) {
      FILE_DISPOSITION_INFO dispose{TRUE};
      if (!SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose))
        result = RemoveResult::kFailed;
    }
    CloseHandle(file);
    // The entry goes as its last handle closes; Wine then unlinks it and does not say when that
    // fails (a folder that may not be written): only an entry no longer found is removed.
    if (result == RemoveResult::kRemoved &&
        GetFileAttributesW(opened_form(path).c_str()) != INVALID_FILE_ATTRIBUTES)
      result = RemoveResult::kFailed;
    return result;
  }
};

#else

// Natively there is no file system of the platform's: nothing is found or removed.
class PlatformRemover : public EntryRemover {
 public:
  std::string place(const std::string&) override { return std::string(); }
  RemoveResult remove(const std::string&, const std::string&, bool) override { return RemoveResult::kFailed; }
};

#endif

Replaceable<EntryRemover, PlatformRemover> replacement_remover;

}  // namespace

EntryRemover& entry_remover() { return replacement_remover.get(); }

EntryRemover* set_entry_remover(EntryRemover* replacement) {
  return replacement_remover.replace(replacement);
}

}  // namespace kelvane
