#include "scan/win32_dir_source.h"

#include <algorithm>
#include <memory>

#include "base/final_place.h"
#include "base/utf8_path.h"
#include "scan/entry_stamp.h"
#include "scan/exact_path.h"

namespace kelvane {
namespace {

void to_utf8(const wchar_t* wide, size_t length, std::string& out) {
  if (length == 0) {
    out.clear();
    return;
  }
  // A UTF-16 unit becomes at most 3 bytes of UTF-8.
  out.resize(length * 3);
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
}

void to_utf8(const wchar_t* wide, std::string& out) { to_utf8(wide, wcslen(wide), out); }

// What the walk needs of one entry, from the fields both ways of listing give: a find's data
// and a listing through a folder's handle (which adds the file id; 0 where there is none).
DirEntry decode_entry(DWORD attributes, DWORD reparse_tag, uint64_t size, uint64_t creation,
                      uint64_t last_write, uint64_t file_id, const wchar_t* name, size_t name_length,
                      std::string& utf8) {
  to_utf8(name, name_length, utf8);
  DirEntry e;
  e.name = utf8;
  e.is_dir = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // Wine reports symbolic links to folders as reparse points without a tag; any other
    // tag (cloud placeholders, deduplicated files) is the data itself and not a link.
    e.is_link = reparse_tag == IO_REPARSE_TAG_SYMLINK || reparse_tag == IO_REPARSE_TAG_MOUNT_POINT ||
                (e.is_dir && reparse_tag == 0);
  }
  if (!e.is_dir && !e.is_link) e.size = size;
  if (!e.is_dir) e.stamp = file_stamp(creation, last_write, file_id);
  return e;
}

// The file index alone, without the volume's serial number that GetFileInformationByHandle
// adds: under Wine that serial costs a round trip to the mount manager, three times a
// folder's whole listing.
struct InternalInformation {
  LARGE_INTEGER index;
};
struct BasicInformation {
  LARGE_INTEGER creation, last_access, last_write, change;
  ULONG attributes;
};
struct IoStatus {
  union {
    LONG status;
    void* pointer;
  };
  ULONG_PTR information;
};
using QueryInformationFile = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
constexpr int kFileBasicInformation = 4;
constexpr int kFileInternalInformation = 6;

QueryInformationFile query_information_file() {
  static const QueryInformationFile query = reinterpret_cast<QueryInformationFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  return query;
}

}  // namespace

uint32_t handle_stamp(HANDLE file) {
  const QueryInformationFile query = query_information_file();
  if (query == nullptr) return 0;
  IoStatus io{};
  InternalInformation info{};
  if (query(file, &io, &info, sizeof info, kFileInternalInformation) < 0) return 0;
  BasicInformation basic{};
  if (query(file, &io, &basic, sizeof basic, kFileBasicInformation) < 0) return 0;
  return folder_stamp(static_cast<uint64_t>(info.index.QuadPart),
                      static_cast<uint64_t>(basic.creation.QuadPart));
}

std::wstring long_path_form(const std::string& path) { return widen(extended_path(path)); }

std::wstring without_long_prefix(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

uint64_t file_time_ticks(const FILETIME& t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | static_cast<uint64_t>(t.dwLowDateTime);
}

DirEntry decode_find_data(const WIN32_FIND_DATAW& data, std::string& name) {
  const DWORD tag = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? data.dwReserved0 : 0;
  return decode_entry(
      data.dwFileAttributes, tag,
      (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | static_cast<uint64_t>(data.nFileSizeLow),
      file_time_ticks(data.ftCreationTime), file_time_ticks(data.ftLastWriteTime), 0, data.cFileName,
      wcslen(data.cFileName), name);
}

namespace {

// Lists the folder (extended form, with its closing backslash) through a handle of its own, so
// that every entry comes with its file index: a subfolder's stamp costs nothing beyond the
// listing (opening each folder once more to ask made the scan a third slower under Wine). 1
// listed, 0 the folder cannot be read, -1 the platform does not list this way.
int list_with_indexes(const std::wstring& folder, const std::function<bool(const DirEntry&)>& sink) {
  HANDLE dir =
      CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (dir == INVALID_HANDLE_VALUE) return 0;
  // Left uncleared: the listing fills what is read of it. Cleared for every folder, its 64 KiB
  // cost a scan of 15,000 folders a gigabyte of writes.
  constexpr DWORD kBufferBytes = 64 * 1024;
  const std::unique_ptr<uint64_t[]> words(new uint64_t[kBufferBytes / sizeof(uint64_t)]);
  unsigned char* const buffer = reinterpret_cast<unsigned char*>(words.get());
  std::string name;  // the current entry's UTF-8 name, reused for every entry
  int result = 1;
  bool going = true;
  for (bool first = true; going; first = false) {
    if (!GetFileInformationByHandleEx(dir, first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo,
                                      buffer, kBufferBytes)) {
      const DWORD error = GetLastError();
      if (first && error != ERROR_NO_MORE_FILES) result = error == ERROR_ACCESS_DENIED ? 0 : -1;
      break;
    }
    const unsigned char* at = buffer;
    for (;;) {
      const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      // Decoded in place, as a find's data would be: the name as long as a find would give it,
      // a reparse point's tag where the extended attributes' size would stand.
      const size_t length = std::min<size_t>(info->FileNameLength / sizeof(wchar_t), MAX_PATH - 1);
      const DWORD tag = (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? info->EaSize : 0;
      const auto id = static_cast<uint64_t>(info->FileId.QuadPart);
      DirEntry e =
          decode_entry(info->FileAttributes, tag, static_cast<uint64_t>(info->EndOfFile.QuadPart),
                       static_cast<uint64_t>(info->CreationTime.QuadPart),
                       static_cast<uint64_t>(info->LastWriteTime.QuadPart), id, info->FileName, length, name);
      if (e.is_dir) e.stamp = folder_stamp(id, static_cast<uint64_t>(info->CreationTime.QuadPart));
      if (!sink(e)) {
        going = false;
        break;
      }
      if (info->NextEntryOffset == 0) break;
      at += info->NextEntryOffset;
    }
  }
  CloseHandle(dir);
  return result;
}

}  // namespace

bool Win32DirSource::list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) {
  const std::wstring wide = widen(enumeration_pattern(pattern));
  if (wide.size() > 1 && wide.compare(wide.size() - 2, 2, L"\\*") == 0) {
    const int listed = list_with_indexes(wide.substr(0, wide.size() - 1), sink);
    if (listed >= 0) return listed == 1;
  }
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return false;
  std::string name;  // the current entry's UTF-8 name, reused for every entry
  do {
    if (!sink(decode_find_data(data, name))) break;
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

bool handle_file_id(HANDLE file, FolderId& id) {
  // FILE_ID_INFO and its class (18), which the headers declare only for Windows 8 and later; an
  // older system refuses the class.
  struct {
    ULONGLONG volume;
    uint64_t halves[2];
  } full{};
  if (GetFileInformationByHandleEx(file, static_cast<FILE_INFO_BY_HANDLE_CLASS>(18), &full, sizeof full)) {
    // The serial number the 64-bit index comes with is this one's lower half.
    id.volume = static_cast<uint32_t>(full.volume);
    id.file = full.halves[0];
    id.file_high = full.halves[1];
    return true;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.file = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  id.file_high = 0;
  return true;
}

bool Win32DirSource::identity(const std::string& path, FolderId& id) {
  HANDLE file = CreateFileW(long_path_form(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = handle_file_id(file, id);
  id.place.clear();
  // The place names the folder whatever path it was opened by.
  if (ok) to_utf8(handle_place(file).c_str(), id.place);
  CloseHandle(file);
  return ok;
}

DirSource& win32_dir_source() {
  static Win32DirSource source;
  return source;
}

}  // namespace kelvane
