// mdrv: the drive list. Each root the system names is read for its size and free bytes; the
// floppy letters A: and B: are left out, and a drive that cannot be read (no medium,
// unreachable) gets no row, so listing the drives never waits on a disk or asks for one.
#include <cctype>
#include <utility>

#include "base/strf.h"
#include "scan/mdrv.h"

#ifdef _WIN32
#include <windows.h>

#include "base/utf8_path.h"
#endif

namespace kelvane {
namespace {

#ifdef _WIN32
bool query_volume(const std::string& name, uint64_t& free_to_caller, uint64_t& total) {
  // An empty floppy or optical drive must fail quietly here, whatever the process's mode.
  DWORD old_mode = 0;
  const BOOL changed = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode);
  ULARGE_INTEGER avail{}, bytes{}, all_free{};
  const std::wstring root = widen(name + "\\");
  const BOOL ok = GetDiskFreeSpaceExW(root.c_str(), &avail, &bytes, &all_free);
  if (changed) SetThreadErrorMode(old_mode, nullptr);
  if (!ok) return false;
  free_to_caller = avail.QuadPart;
  total = bytes.QuadPart;
  return true;
}
#endif

}  // namespace

VolumeQuery system_volume_query() {
#ifdef _WIN32
  return query_volume;
#else
  return {};
#endif
}

mdrv::mdrv(Log& log, VolumeQuery query) : log_(log), query_(std::move(query)) {
  log_.write("mdrv::mdrv () OK ...\n");
}

mdrv::~mdrv() { log_.write("mdrv::~mdrv () OK ...\n"); }

int mdrv::read_mdrv(const std::string& name, int index) {
  if (index < 0 || index >= 26 || !query_) return 1;
  uint64_t free_to_caller = 0;
  uint64_t total = 0;
  if (!query_(name, free_to_caller, total)) return 1;
  drive_record& r = drives[index];
  r.total = total;
  r.free = free_to_caller;
  // A quota can report more free than total on some network drives; used never wraps.
  r.used = total >= free_to_caller ? total - free_to_caller : 0;
  r.name = name;
  return 0;
}

int mdrv::enumerate(const char* drive_strings, size_t length,
                    const std::function<void(const std::string&, int)>& add_row) {
  int count = 0;
  if (!drive_strings) return 0;
  // The roots are read as the terminated strings they are, so one root of an unexpected
  // form cannot shift the letters of the ones after it.
  size_t at = 0;
  while (at < length && drive_strings[at] != '\0' && count < 26) {
    size_t end = at;
    while (end < length && drive_strings[end] != '\0') ++end;
    const unsigned char letter = static_cast<unsigned char>(drive_strings[at]);
    const bool drive_root = end - at >= 2 && std::isalpha(letter) && drive_strings[at + 1] == ':';
    if (drive_root) {
      const std::string name = strf("%c:", std::toupper(letter));
      if (name[0] != 'A' && name[0] != 'B' && read_mdrv(name, count) == 0) {
        if (add_row) add_row(name, count);
        ++count;
      }
    }
    at = end + 1;
  }
  return count;
}

}  // namespace kelvane
