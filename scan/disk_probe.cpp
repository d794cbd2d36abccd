#include "scan/disk_probe.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>

#include "base/utf8_path.h"
#include "scan/exact_path.h"
#endif

namespace kelvane {

namespace {

#ifdef _WIN32

// Every path in its extended form: the entry of exactly that name, at any length.
std::wstring extended(const std::string& path) { return widen(extended_path(path)); }

std::wstring plain(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

class PlatformProbe : public DiskProbe {
 public:
  Presence presence(const std::string& path) override {
    // The entry itself, as an enumeration reports it: a link whose target has gone is still
    // there.
    // Only under its own name: the platform also matches "x" for "x." and a case twin.
    const std::wstring wide = extended(path);
    const std::wstring name = wide.substr(wide.find_last_of(L'\\') + 1);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find != INVALID_HANDLE_VALUE) {
      bool same = false;
      do same = name == data.cFileName;
      while (!same && FindNextFileW(find, &data));
      FindClose(find);
      return same ? Presence::kPresent : Presence::kAbsent;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
      return Presence::kAbsent;
    }
    return Presence::kUnknown;
  }

  bool drive_known(char letter) override {
    if (letter < 'A' || letter > 'Z') return false;
    if ((GetLogicalDrives() >> (letter - 'A')) & 1) return true;
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN;
  }

  std::string short_path(const std::string& path) override {
    const std::wstring from = extended(path);
    const DWORD need = GetShortPathNameW(from.c_str(), nullptr, 0);
    if (need == 0) return std::string();
    std::wstring out(need, L'\0');
    const DWORD got = GetShortPathNameW(from.c_str(), out.data(), need);
    if (got == 0 || got >= need) return std::string();
    out.resize(got);
    return narrow(plain(out));
  }
};

#else

// Natively there is no Windows file system to ask: nothing is known, every drive is taken.
class PlatformProbe : public DiskProbe {
 public:
  Presence presence(const std::string&) override { return Presence::kUnknown; }
  bool drive_known(char) override { return true; }
  std::string short_path(const std::string&) override { return std::string(); }
};

#endif

std::atomic<DiskProbe*> replacement_probe{nullptr};

}  // namespace

DiskProbe& disk_probe() {
  static PlatformProbe platform;
  DiskProbe* p = replacement_probe.load();
  return p != nullptr ? *p : platform;
}

DiskProbe* set_disk_probe(DiskProbe* replacement) { return replacement_probe.exchange(replacement); }

}  // namespace kelvane
