#include "scan/disk_probe.h"

#include "base/replaceable.h"

#ifdef _WIN32
#include <windows.h>

#include "base/redirection_off.h"
#include "base/utf8_path.h"
#include "base/wine_names.h"
#include "scan/entry_stamp.h"
#include "scan/exact_path.h"
#include "scan/win32_dir_source.h"
#endif

namespace kelvane {

namespace {

#ifdef _WIN32

// Under Wine a drive letter is a link in the prefix's folder "dosdevices"; pointing it at a
// copy of the same layout keeps the serial number (made from the letter), the indexes (a fresh
// file system numbers alike) and the place (given from the drive's root). Re-pointing any
// letter changes that folder's last-write time, so it stands for the mapping in use. 0 on
// Windows, and for folders no letter maps (Wine's Z: is the Unix root itself).
uint32_t wine_drive_mapping(const std::string& path) {
  std::string links = wine_unix_name(long_path_form(path));
  if (links.empty()) return 0;
  const size_t at = links.find("/dosdevices/");
  if (at == std::string::npos) return 0;
  links.resize(at + 11);
  const std::wstring dos = wine_dos_name(links);
  if (dos.empty()) return 0;
  WIN32_FILE_ATTRIBUTE_DATA data;
  const bool ok = GetFileAttributesExW(dos.c_str(), GetFileExInfoStandard, &data) != 0;
  return ok ? entry_stamp(file_time_ticks(data.ftLastWriteTime), 0) : 0;
}

class PlatformProbe : public DiskProbe {
 public:
  // Both read the real entry (base/redirection_off.h); neither loads a DLL, so the guard may be
  // taken on any thread.
  bool folder_identity(const std::string& path, FolderId& id) override {
    RedirectionOff real;
    if (!win32_dir_source().identity(drive_root_form(path), id)) return false;
    id.mapping = wine_drive_mapping(drive_root_form(path));
    return true;
  }

  bool drive_known(char letter) override {
    if (letter < 'A' || letter > 'Z') return false;
    if ((GetLogicalDrives() >> (letter - 'A')) & 1) return true;
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN;
  }

  std::string short_path(const std::string& path) override {
    RedirectionOff real;
    const std::wstring from = long_path_form(path);
    const DWORD need = GetShortPathNameW(from.c_str(), nullptr, 0);
    if (need == 0) return std::string();
    std::wstring out(need, L'\0');
    const DWORD got = GetShortPathNameW(from.c_str(), out.data(), need);
    if (got == 0 || got >= need) return std::string();
    out.resize(got);
    return narrow(without_long_prefix(out));
  }
};

#else

// Natively there is no Windows file system to ask: nothing is known, every drive is taken.
class PlatformProbe : public DiskProbe {
 public:
  bool folder_identity(const std::string&, FolderId&) override { return false; }
  bool drive_known(char) override { return true; }
  std::string short_path(const std::string&) override { return std::string(); }
};

#endif

Replaceable<DiskProbe, PlatformProbe> replacement_probe;

}  // namespace

DiskProbe& disk_probe() { return replacement_probe.get(); }

DiskProbe* set_disk_probe(DiskProbe* replacement) { return replacement_probe.replace(replacement); }

}  // namespace kelvane
