#include "scan/win32_dir_source.h"

#include "base/final_place.h"
#include "base/utf8_path.h"
#include "scan/entry_stamp.h"
#include "scan/exact_path.h"

namespace kelvane {
namespace {

void to_utf8(const wchar_t* wide, std::string& out) {
  const int length = static_cast<int>(wcslen(wide));
  if (length == 0) {
    out.clear();
    return;
  }
  // A UTF-16 unit becomes at most 3 bytes of UTF-8.
  out.resize(static_cast<size_t>(length) * 3);
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), static_cast<int>(out.size()),
                                    nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
}

uint64_t ticks(const FILETIME& t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | static_cast<uint64_t>(t.dwLowDateTime);
}

// The file index alone, without the volume's serial number that GetFileInformationByHandle
// adds: under Wine that serial costs a round trip to the mount manager, three times a
// folder's whole listing.
struct InternalInformation {
  LARGE_INTEGER index;
};
struct IoStatus {
  union {
    LONG status;
    void* pointer;
  };
  ULONG_PTR information;
};
using QueryInformationFile = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
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
  return entry_stamp(static_cast<uint64_t>(info.index.QuadPart), 0);
}

std::wstring long_path_form(const std::string& path) { return widen(extended_path(path)); }

DirEntry decode_find_data(const WIN32_FIND_DATAW& data, std::string& name) {
  to_utf8(data.cFileName, name);
  DirEntry e;
  e.name = name;
  e.is_dir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    const DWORD tag = data.dwReserved0;
    // Wine reports symbolic links to folders as reparse points without a tag; any other
    // tag (cloud placeholders, deduplicated files) is the data itself and not a link.
    e.is_link = tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT || (e.is_dir && tag == 0);
  }
  if (!e.is_dir && !e.is_link)
    e.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | static_cast<uint64_t>(data.nFileSizeLow);
  if (!e.is_dir) e.stamp = entry_stamp(ticks(data.ftCreationTime), ticks(data.ftLastWriteTime));
  return e;
}

bool Win32DirSource::list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) {
  WIN32_FIND_DATAW data;
  const std::wstring wide = widen(enumeration_pattern(pattern));
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

bool Win32DirSource::identity(const std::string& path, FolderId& id) {
  HANDLE file = CreateFileW(long_path_form(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL ok = GetFileInformationByHandle(file, &info);
  id.place.clear();
  // The place names the folder whatever path it was opened by.
  if (ok) to_utf8(handle_place(file).c_str(), id.place);
  CloseHandle(file);
  if (!ok) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.file = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

uint32_t Win32DirSource::folder_stamp(const std::string& path) {
  // "D:" is the drive's current folder; the drive itself is "D:\\".
  const std::string folder = path.size() == 2 && path[1] == ':' ? path + "\\" : path;
  HANDLE file = CreateFileW(long_path_form(folder).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  const uint32_t stamp = handle_stamp(file);
  CloseHandle(file);
  return stamp;
}

DirSource& win32_dir_source() {
  static Win32DirSource source;
  return source;
}

}  // namespace kelvane
