#include "removal/entry_remover.h"

#include "base/replaceable.h"

#ifdef _WIN32
#include <windows.h>

#include <cstddef>
#include <functional>
#include <map>
#include <vector>

#include "base/under_wine.h"
#include "base/utf8_path.h"
#include "scan/exact_path.h"
#include "scan/win32_dir_source.h"
#endif

namespace kelvane {

namespace {

#ifdef _WIN32

// The native calls, from ntdll as the rest of the program takes them: only they open an entry
// by one name inside a folder's handle, and remove it with the POSIX semantics.
struct IoStatus {
  union {
    LONG status;
    void* pointer;
  };
  ULONG_PTR information;
};
struct CountedName {
  USHORT length;
  USHORT maximum;
  const wchar_t* buffer;
};
struct ObjectAttributes {
  ULONG length;
  HANDLE root;
  const CountedName* name;
  ULONG attributes;
  void* descriptor;
  void* quality;
};
using NtCreate = LONG(NTAPI*)(HANDLE*, ACCESS_MASK, const ObjectAttributes*, IoStatus*, LARGE_INTEGER*, ULONG,
                              ULONG, ULONG, ULONG, void*, ULONG);
using QueryFile = LONG(NTAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
using SetFile = LONG(NTAPI*)(HANDLE, IoStatus*, const void*, ULONG, int);

constexpr int kFileBasicInformation = 4;
constexpr int kFileDispositionInformation = 13;
constexpr int kFileAllInformation = 18;
constexpr int kFileAttributeTagInformation = 35;
constexpr int kFileNormalizedNameInformation = 48;
constexpr int kFileDispositionInformationEx = 64;
constexpr ULONG kFileOpen = 1;
constexpr ULONG kSynchronousIoNonalert = 0x20;
constexpr ULONG kOpenForBackupIntent = 0x4000;
constexpr ULONG kOpenReparsePoint = 0x200000;
constexpr ULONG kDispositionDelete = 0x1, kDispositionPosixSemantics = 0x2, kDispositionIgnoreReadOnly = 0x10;
constexpr LONG kNameNotFound = static_cast<LONG>(0xC0000034), kNoSuchFile = static_cast<LONG>(0xC000000F);
constexpr LONG kAccessDenied = static_cast<LONG>(0xC0000022);
constexpr LONG kNotEmpty = static_cast<LONG>(0xC0000101);
constexpr LONG kBufferOverflow = static_cast<LONG>(0x80000005);
constexpr ULONG kNameSurrogate = 0x20000000;

struct Native {
  NtCreate create = nullptr;
  QueryFile query = nullptr;
  SetFile set = nullptr;
  bool wine = false;
  Native() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto get = [ntdll](const char* name) {
      return reinterpret_cast<void*>(GetProcAddress(ntdll, name));
    };
    create = reinterpret_cast<NtCreate>(get("NtCreateFile"));
    query = reinterpret_cast<QueryFile>(get("NtQueryInformationFile"));
    set = reinterpret_cast<SetFile>(get("NtSetInformationFile"));
    wine = under_wine();
  }
};

const Native& native() {
  static const Native calls;
  return calls;
}

// FILE_ALL_INFORMATION, whose parts the open entry is judged by, then its name.
struct AllInformation {
  LARGE_INTEGER creation, last_access, last_write, change;
  ULONG attributes;
  LARGE_INTEGER allocation, end_of_file;
  ULONG links;
  BOOLEAN delete_pending, directory;
  LARGE_INTEGER index;
  ULONG ea_size;
  ACCESS_MASK access;
  LARGE_INTEGER position;
  ULONG mode, alignment;
  ULONG name_length;
  wchar_t name[1];
};
static_assert(offsetof(AllInformation, name_length) == 96, "FILE_ALL_INFORMATION's layout");

// Room for the longest name a path carries, reused by the one deletion thread at a time.
AllInformation* all_information(HANDLE file, LONG& status) {
  static thread_local std::vector<unsigned long long> room((sizeof(AllInformation) + 65536 * 2) / 8 + 1);
  auto* all = reinterpret_cast<AllInformation*>(room.data());
  IoStatus io{};
  status = native().query(file, &io, all, static_cast<ULONG>(room.size() * 8), kFileAllInformation);
  return all;
}

std::wstring last_name(const std::wstring& full) { return full.substr(full.find_last_of(L'\\') + 1); }

// Wine gives each name of a path without the dots and blanks that end it ("x." reads "x").
std::wstring bare(std::wstring name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  return name;
}

bool same_ignoring_case(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

// The name the open entry has on disk, for the last part of its place: on Windows its
// normalized name (the case as stored, whatever case it was opened by); under Wine, and where
// that is not given, the name the open reports.
std::wstring stored_name(HANDLE file, const AllInformation& all) {
  if (!native().wine) {
    struct Normalized {
      ULONG length;
      wchar_t name[32768];
    };
    static thread_local Normalized normalized;
    IoStatus io{};
    if (native().query(file, &io, &normalized, sizeof normalized, kFileNormalizedNameInformation) >= 0)
      return last_name(std::wstring(normalized.name, normalized.length / sizeof(wchar_t)));
  }
  return last_name(std::wstring(all.name, all.name_length / sizeof(wchar_t)));
}

class PlatformRemover : public EntryRemover {
 public:
  OpenResult open_root(const std::string& path, const FolderId* recorded, OpenEntry& out) override {
    if (native().create == nullptr || native().query == nullptr || native().set == nullptr)
      return OpenResult::kFailed;
    ex_refused_ = false;
    // Opened as the scan opened it, links followed: the identity it recorded is the folder's
    // that the path led to.
    const std::string root = path.size() == 2 && path[1] == ':' ? path + "\\" : path;
    // Under Wine a folder is also listed, to tell apart the entries that answer to one place.
    const DWORD list = native().wine ? FILE_LIST_DIRECTORY : 0;
    HANDLE dir = CreateFileW(widen(extended_path(root)).c_str(), FILE_READ_ATTRIBUTES | SYNCHRONIZE | list,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? OpenResult::kGone
                                                                            : OpenResult::kFailed;
    }
    BY_HANDLE_FILE_INFORMATION info;
    FolderId now;
    if (!GetFileInformationByHandle(dir, &info) || !handle_file_id(dir, now)) {
      CloseHandle(dir);
      return OpenResult::kFailed;
    }
    if (recorded != nullptr && !(now == *recorded)) {
      CloseHandle(dir);
      return OpenResult::kChanged;
    }
    out.handle = dir;
    out.path = path;
    out.attributes = info.dwFileAttributes;
    out.volume = now.volume;
    if (native().wine) {
      LONG status = 0;
      const AllInformation* all = all_information(dir, status);
      if (status >= 0 || status == kBufferOverflow)
        out.reported.assign(all->name, all->name_length / sizeof(wchar_t));
    }
    return OpenResult::kOpened;
  }

  OpenResult open(const OpenEntry& folder, const std::string& name, const ListedEntry& listed, bool on_way,
                  OpenEntry& out) override {
    const std::wstring wide = widen(name);
    ACCESS_MASK access = FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    if (!on_way) access |= DELETE | FILE_WRITE_ATTRIBUTES;
    if (listed.is_dir && (!on_way || native().wine)) access |= FILE_LIST_DIRECTORY;
    HANDLE file = nullptr;
    LONG status = open_inside(folder.handle, wide, access, file);
    // Where the attributes may not be written, the entry may still be removed as it is.
    if (status == kAccessDenied && !on_way)
      status = open_inside(folder.handle, wide, access & ~FILE_WRITE_ATTRIBUTES, file);
    if (status == kNameNotFound || status == kNoSuchFile) return OpenResult::kGone;
    if (status < 0) return OpenResult::kFailed;
    const AllInformation* all = all_information(file, status);
    if (status < 0 && status != kBufferOverflow) {
      CloseHandle(file);
      return OpenResult::kFailed;
    }
    OpenedFacts facts;
    facts.is_dir = all->directory != 0;
    facts.size = static_cast<uint64_t>(all->end_of_file.QuadPart);
    facts.creation = static_cast<uint64_t>(all->creation.QuadPart);
    facts.last_write = static_cast<uint64_t>(all->last_write.QuadPart);
    facts.file_id = static_cast<uint64_t>(all->index.QuadPart);
    const ULONG attributes = all->attributes;
    const std::wstring reported(all->name, all->name_length / sizeof(wchar_t));
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      struct {
        ULONG attributes;
        ULONG tag;
      } tag{};
      IoStatus io{};
      facts.name_surrogate = native().query(file, &io, &tag, sizeof tag, kFileAttributeTagInformation) < 0 ||
                             (tag.tag & kNameSurrogate) != 0;
    }
    facts.name = native().wine ? wine_name_match(folder, wide, reported, facts.file_id)
                               : windows_name_match(wide, stored_name(file, *all));
    // A folder's volume, read on its own handle as the scanned folder's is: under Wine a Unix
    // mount inside a folder reads as another volume (measured: serial 0 for a tmpfs, the drive's
    // for the rest); on Windows a mounted folder is also a link, opened as itself.
    FolderId id;
    if (facts.is_dir) {
      if (!handle_file_id(file, id)) {
        CloseHandle(file);
        return OpenResult::kFailed;
      }
      facts.other_volume = id.volume != folder.volume;
    }
    const OpenResult verdict = opened_verdict(listed, facts, on_way);
    if (verdict != OpenResult::kOpened) {
      CloseHandle(file);
      return verdict;
    }
    // Wine opens what a Unix link names however it is asked (and removes that): only on Windows
    // is a link opened as itself, and then removing its handle removes the link alone.
    out.link_itself = facts.name_surrogate && !native().wine;
    if (facts.is_dir) {
      out.volume = id.volume;
      out.path = folder.path + (folder.path.empty() || folder.path.back() == '\\' ? "" : "\\") + name;
      if (native().wine) out.reported = reported;
    }
    out.handle = file;
    out.attributes = attributes;
    return OpenResult::kOpened;
  }

  OpenResult open_through(const OpenEntry& folder, const std::string& name, const FolderId& target,
                          OpenEntry& out) override {
    // The link is followed: a junction, a directory link or a mount point leads the open to the
    // folder it names now (Wine follows every Unix link however it is opened). That folder is
    // taken by its identity alone: its name and place are the target's, not the link's.
    const ACCESS_MASK access = FILE_READ_ATTRIBUTES | SYNCHRONIZE | (native().wine ? FILE_LIST_DIRECTORY : 0);
    HANDLE file = nullptr;
    const LONG status = open_inside(folder.handle, widen(name), access, file, true);
    if (status == kNameNotFound || status == kNoSuchFile) return OpenResult::kGone;
    if (status < 0) return OpenResult::kFailed;
    LONG queried = 0;
    const AllInformation* all = all_information(file, queried);
    FolderId now;
    if ((queried < 0 && queried != kBufferOverflow) || !handle_file_id(file, now)) {
      CloseHandle(file);
      return OpenResult::kFailed;
    }
    if (!all->directory || !(now == target)) {
      CloseHandle(file);
      return OpenResult::kChanged;
    }
    out.handle = file;
    out.attributes = all->attributes;
    // The folders inside are compared with the volume the link leads to, not the link's own.
    out.volume = now.volume;
    out.path = folder.path + (folder.path.empty() || folder.path.back() == '\\' ? "" : "\\") + name;
    // Under Wine the entries inside are named by the target's own place, which the open reports.
    if (native().wine) out.reported.assign(all->name, all->name_length / sizeof(wchar_t));
    return OpenResult::kOpened;
  }

  RemoveResult remove(OpenEntry& entry, bool is_dir) override {
    HANDLE file = entry.handle;
    // A folder another program still holds something in empties once it lets go: tried again
    // for half a second.
    for (int attempt = 0;; ++attempt) {
      LONG status = dispose(file, entry.attributes);
      // Where a removed entry stays until the last program holding it lets go (Wine, and file
      // systems without the POSIX semantics), its folder takes the disposition and then stays
      // without a word as its handle closes: a folder goes only once it lists nothing.
      // (The POSIX semantics take an empty folder only.)
      if (status >= 0 && is_dir && ex_refused_ && holds_entries(file)) {
        undispose(file, entry.attributes);
        status = kNotEmpty;
      }
      if (status >= 0) return RemoveResult::kRemoved;
      if (!is_dir || status != kNotEmpty || attempt == 10) return RemoveResult::kFailed;
      Sleep(50);
    }
  }

  void close(OpenEntry& entry) override {
    shared_places_.erase(entry.handle);
    if (entry.handle != nullptr) CloseHandle(entry.handle);
    entry.handle = nullptr;
  }

  Presence find(const OpenEntry& folder, const std::string& name) override {
    const std::wstring wide = widen(name);
    HANDLE file = nullptr;
    const LONG status = open_inside(folder.handle, wide, FILE_READ_ATTRIBUTES | SYNCHRONIZE, file);
    if (status == kNameNotFound || status == kNoSuchFile) return Presence::kAbsent;
    if (status < 0) return Presence::kUnknown;
    LONG queried = 0;
    const AllInformation* all = all_information(file, queried);
    std::wstring found = last_name(std::wstring(all->name, all->name_length / sizeof(wchar_t)));
    if (!native().wine) found = stored_name(file, *all);
    CloseHandle(file);
    if (queried < 0 && queried != kBufferOverflow) return Presence::kUnknown;
    // Found by another name (a twin that differs in case): the entry itself is gone.
    return found == (native().wine ? bare(wide) : wide) ? Presence::kPresent : Presence::kAbsent;
  }

  bool names(const OpenEntry& folder, std::vector<std::string>& out) override {
    return list_ids(folder.handle,
                    [&out](const std::wstring& name, const Listed&) { out.push_back(narrow(name)); });
  }

  uint32_t stamp(const OpenEntry& folder) override { return handle_stamp(folder.handle); }

 private:
  // An entry as its folder's listing gives it: its file id, and whether it is listed as a
  // reparse point (under Wine a Unix link to a folder, or a mount; measured: a link is listed with
  // the id of what it names, and a link to a file as that file, without the mark).
  struct Listed {
    uint64_t id = 0;
    bool reparse = false;
  };
  // Every entry of the open folder, "." and ".." left out. False when it cannot be listed.
  static bool list_ids(HANDLE folder, const std::function<void(const std::wstring&, const Listed&)>& sink) {
    std::vector<unsigned long long> buffer(64 * 1024 / 8);
    for (bool first = true;; first = false) {
      if (!GetFileInformationByHandleEx(folder,
                                        first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo,
                                        buffer.data(), static_cast<DWORD>(buffer.size() * 8)))
        return GetLastError() == ERROR_NO_MORE_FILES;
      const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
      for (;;) {
        const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
        const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (name != L"." && name != L"..")
          sink(name, Listed{static_cast<uint64_t>(info->FileId.QuadPart),
                            (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
        if (info->NextEntryOffset == 0) break;
        at += info->NextEntryOffset;
      }
    }
  }

  // Whether the open folder lists an entry; false also where it cannot be listed (its removal's
  // own word stands).
  static bool holds_entries(HANDLE folder) {
    bool any = false;
    list_ids(folder, [&any](const std::wstring&, const Listed&) { any = true; });
    return any;
  }

  // The entries of the open folder that share their place with another one under Wine (their
  // names differ only in the dots and blanks that end them: "a." and "a..", "c" and "c."), by
  // that shortened name; listed once per folder, so that a folder's entries cost one listing.
  // Null when the folder cannot be listed.
  using SharedPlaces = std::map<std::wstring, std::vector<std::pair<std::wstring, Listed>>>;
  const SharedPlaces* shared_places(HANDLE folder) {
    auto known = shared_places_.find(folder);
    if (known != shared_places_.end()) return known->second.listed ? &known->second.places : nullptr;
    Listing& listing = shared_places_[folder];
    SharedPlaces all;
    listing.listed = list_ids(folder, [&all](const std::wstring& name, const Listed& listed) {
      all[bare(name)].emplace_back(name, listed);
    });
    for (auto& place : all)
      if (place.second.size() > 1) listing.places.insert(std::move(place));
    return listing.listed ? &listing.places : nullptr;
  }

  // Opens the entry called name inside the open folder, as itself where it is a link (unless
  // follow: then as what the link leads to).
  static LONG open_inside(HANDLE folder, const std::wstring& name, ACCESS_MASK access, HANDLE& file,
                          bool follow = false) {
    const CountedName counted{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                              static_cast<USHORT>(name.size() * sizeof(wchar_t)), name.c_str()};
    const ObjectAttributes attributes{sizeof(ObjectAttributes), folder, &counted, 0, nullptr, nullptr};
    IoStatus io{};
    return native().create(&file, access, &attributes, &io, nullptr, 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kFileOpen,
                           kSynchronousIoNonalert | kOpenForBackupIntent | (follow ? 0 : kOpenReparsePoint),
                           nullptr, 0);
  }

  // On Windows the handle's own entry is opened: only its stored name can differ (in case,
  // renamed since the scan).
  static NameMatch windows_name_match(const std::wstring& name, const std::wstring& stored) {
    return stored == name ? NameMatch::kExact : NameMatch::kCaseOnly;
  }

  // Wine follows every Unix link however it is opened, and names the handle by where it really
  // is: the entry is its name's own only where that is its folder's place and its name (the
  // name without the dots and blanks that end it, as Wine gives it). Such a shortened name may
  // also be a twin's own ("x." beside "x"): the entry must then not be that twin (a link "x."
  // to "x" opens as "x").
  NameMatch wine_name_match(const OpenEntry& folder, const std::wstring& name, const std::wstring& reported,
                            uint64_t file_id) {
    const std::wstring& place = folder.reported;
    const std::wstring shortened = bare(name);
    // (A name of dots alone reads as its folder's place and a backslash.)
    const std::wstring expected =
        (place.empty() || place.back() != L'\\' ? place + L"\\" : place) + shortened;
    if (reported != expected) {
      const size_t cut = reported.find_last_of(L'\\');
      const size_t expected_cut = expected.find_last_of(L'\\');
      const bool same_folder = cut != std::wstring::npos && cut == expected_cut &&
                               reported.compare(0, cut + 1, expected, 0, cut + 1) == 0;
      return same_folder && same_ignoring_case(reported, expected) ? NameMatch::kCaseOnly
                                                                   : NameMatch::kElsewhere;
    }
    // (A name of dots alone: its folder is the twin.)
    if (shortened.empty()) {
      BY_HANDLE_FILE_INFORMATION info;
      if (!GetFileInformationByHandle(folder.handle, &info)) return NameMatch::kElsewhere;
      const uint64_t twin_id = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
      return twin_id == file_id ? NameMatch::kElsewhere : NameMatch::kExact;
    }
    // The place names every entry of the folder whose name shortens alike: the open reached
    // this name's own entry only if no other of them is the entry it reached (a link "a.." to
    // "a.", or "c" to "c.", opens as its target, at the same place). A folder that cannot be
    // listed is asked only about the entry of the shortened name itself.
    const SharedPlaces* shared = shared_places(folder.handle);
    if (shared == nullptr) {
      if (shortened.size() == name.size()) return NameMatch::kExact;
      HANDLE twin = nullptr;
      if (open_inside(folder.handle, shortened, FILE_READ_ATTRIBUTES | SYNCHRONIZE, twin) < 0)
        return NameMatch::kExact;
      LONG status = 0;
      const AllInformation* all = all_information(twin, status);
      const bool same =
          (status >= 0 || status == kBufferOverflow) && static_cast<uint64_t>(all->index.QuadPart) == file_id;
      CloseHandle(twin);
      return same ? NameMatch::kElsewhere : NameMatch::kExact;
    }
    const auto sharing = shared->find(shortened);
    if (sharing == shared->end()) return NameMatch::kExact;
    // Another entry with the id reached may be a link to this very entry, listed with its
    // target's id: a link to a folder is listed as a reparse point, and the folder it names
    // beside it is not, so an entry not listed so is its own beside such a link ("d." beside a
    // link "d.." to it). A link to a file is listed as the file: there the two cannot be told
    // apart, and the entry is taken for a link.
    bool listed_as_link = false;
    for (const auto& entry : sharing->second)
      if (entry.first == name) listed_as_link = entry.second.reparse;
    for (const auto& other : sharing->second)
      if (other.first != name && other.second.id == file_id && (listed_as_link || !other.second.reparse))
        return NameMatch::kElsewhere;
    return NameMatch::kExact;
  }

  // The entry goes as its last handle closes: at once from its folder with the POSIX semantics,
  // read-only or not, where the file system takes them; elsewhere (FAT, Wine) read-only is
  // cleared on the same handle first, and put back if the entry is not removed after all.
  LONG dispose(HANDLE file, uint32_t attributes) {
    IoStatus io{};
    if (!ex_refused_) {
      const ULONG flags = kDispositionDelete | kDispositionPosixSemantics | kDispositionIgnoreReadOnly;
      const LONG status = native().set(file, &io, &flags, sizeof flags, kFileDispositionInformationEx);
      if (status >= 0 || status == kNotEmpty) return status;
      // Refused as a class, or for its flags: not for this entry.
      if (status != kAccessDenied) ex_refused_ = true;
    }
    struct Basic {
      LARGE_INTEGER creation, last_access, last_write, change;
      ULONG attributes;
    };
    const bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (read_only) {
      // Zero times are left as they are; FILE_ATTRIBUTE_NORMAL where nothing else is left.
      Basic basic{};
      basic.attributes = (attributes & ~FILE_ATTRIBUTE_READONLY) != 0 ? attributes & ~FILE_ATTRIBUTE_READONLY
                                                                      : FILE_ATTRIBUTE_NORMAL;
      native().set(file, &io, &basic, sizeof basic, kFileBasicInformation);
    }
    const BOOLEAN dispose = TRUE;
    const LONG status = native().set(file, &io, &dispose, sizeof dispose, kFileDispositionInformation);
    if (status < 0 && read_only) {
      Basic basic{};
      basic.attributes = attributes;
      native().set(file, &io, &basic, sizeof basic, kFileBasicInformation);
    }
    return status;
  }

  // Takes back the plain disposition dispose set, and read-only where it was cleared.
  static void undispose(HANDLE file, uint32_t attributes) {
    IoStatus io{};
    const BOOLEAN keep = FALSE;
    native().set(file, &io, &keep, sizeof keep, kFileDispositionInformation);
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      struct {
        LARGE_INTEGER creation, last_access, last_write, change;
        ULONG attributes;
      } basic{};
      basic.attributes = attributes;
      native().set(file, &io, &basic, sizeof basic, kFileBasicInformation);
    }
  }

  bool ex_refused_ = false;
  struct Listing {
    bool listed = false;
    SharedPlaces places;
  };
  std::map<HANDLE, Listing> shared_places_;
};

#else

// Natively there is no file system of the platform's: nothing is opened or removed.
class PlatformRemover : public EntryRemover {
 public:
  OpenResult open_root(const std::string&, const FolderId*, OpenEntry&) override {
    return OpenResult::kFailed;
  }
  OpenResult open(const OpenEntry&, const std::string&, const ListedEntry&, bool, OpenEntry&) override {
    return OpenResult::kFailed;
  }
  OpenResult open_through(const OpenEntry&, const std::string&, const FolderId&, OpenEntry&) override {
    return OpenResult::kFailed;
  }
  RemoveResult remove(OpenEntry&, bool) override { return RemoveResult::kFailed; }
  void close(OpenEntry&) override {}
  Presence find(const OpenEntry&, const std::string&) override { return Presence::kUnknown; }
  bool names(const OpenEntry&, std::vector<std::string>&) override { return false; }
  uint32_t stamp(const OpenEntry&) override { return 0; }
};

#endif

Replaceable<EntryRemover, PlatformRemover> replacement_remover;

}  // namespace

EntryRemover& entry_remover() { return replacement_remover.get(); }

EntryRemover* set_entry_remover(EntryRemover* replacement) {
  return replacement_remover.replace(replacement);
}

}  // namespace kelvane
