// mdir's scan: the scan thread, one at a time, started for each scan with the path it walks
// and always collected (joined) on the user-interface thread, before the next scan starts or
// before what the walk reads and writes goes; and the scan itself on that thread, which runs
// the walk (walk.cpp) and tells the client how it ended.
#include <algorithm>
#include <system_error>
#include <vector>

#include "base/redirection_off.h"
#include "base/strf.h"
#include "scan/disk_probe.h"
#include "scan/mdir.h"
#include "scan/root_state.h"
#include "scan/table_scan.h"
#include "scan/typed_path.h"
#include "scan/walk.h"

#ifdef _WIN32
#include <windows.h>

#include "base/under_wine.h"
#include "base/utf8_path.h"
#include "base/wine_names.h"
#include "scan/raw_volume_reader.h"
#include "scan/win32_dir_source.h"
#endif

namespace kelvane {
namespace {

void scan_thread_entry(mdir* holder, std::string path, ScanClient* client) {
#ifdef _WIN32
  // A drive without a medium must fail quietly, not stop the walk with a system box.
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
#endif
  // The thread reads the disk and loads no DLL: it sees the real system folder, never the
  // 32-bit program's redirected view of it (base/redirection_off.h).
  RedirectionOff real;
  holder->record_scan_root(path);
  holder->read_mdir(path, client);
}

#ifdef _WIN32
// Under Wine an ntfs-3g link's absolute target is a Unix path, which Wine names on the drive
// mapped there: its path below the drive's root, or false when it lies on no drive or another.
// A name Wine could give only rewritten (a character no DOS name holds) is not told.
bool wine_target_on_drive(char drive, const std::string& target, std::string& below_root) {
  const std::wstring dos = wine_dos_name(target);
  if (dos.size() < 3 || (dos[0] & ~0x20) != drive || dos[1] != L':' || dos[2] != L'\\') return false;
  for (const wchar_t c : dos) {
    if (c >= 0xF000 && c <= 0xF0FF) return false;
  }
  below_root = narrow(dos.substr(3));
  std::replace(below_root.begin(), below_root.end(), '\\', '/');
  return true;
}

// How a scan from the table is set up for this platform.
void table_rules(TableScan& scan, char drive) {
  if (!under_wine()) return;
  scan.set_absolute_target([drive](const std::string& target, std::string& below_root) {
    return wine_target_on_drive(static_cast<char>(drive & ~0x20), target, below_root);
  });
}

// The drive root from its NTFS table, where the volume opens raw (administrators on Windows).
TableScan::Outcome read_table(mdir& holder, const std::string& root, ScanClient* client, std::string& line) {
  TableScan scan(holder, client);
  RawVolumeReader volume(root[0]);
  if (!volume.is_open()) {
    line = strf("  Thread:read_mdir () %s walked, not read from the NTFS table: no raw access (error %lu)\n",
                root.c_str(), static_cast<unsigned long>(volume.open_error()));
    return TableScan::Outcome::kWalk;
  }
  // Under Wine a drive is what its mapping makes it: an ntfs-3g mount is listed by Wine's rules.
  table_rules(scan, root[0]);
  const TableScan::Outcome outcome =
      scan.read(volume, root, under_wine() ? ListingRule::kWine : ListingRule::kWindows);
  line = scan.log_line(root, outcome);
  return outcome;
}

// A folder on such a drive: walked while small, else its subtree from the table. kWalk with
// walked set: the walk ran, ok and message are its result.
TableScan::Outcome read_folder_table(mdir& holder, const std::string& folder, ScanClient* client,
                                     std::string& line, bool& walked, bool& ok, std::string& message) {
  TableScan scan(holder, client);
  std::vector<std::string> names;
  if (!TableScan::folder_names(folder, names)) {
    line = strf(
        "  Thread:read_mdir () %s walked, not read from the NTFS table: not a folder below a drive letter\n",
        folder.c_str());
    return TableScan::Outcome::kWalk;
  }
  RawVolumeReader volume(folder[0]);
  if (!volume.is_open()) {
    line = strf("  Thread:read_mdir () %s walked, not read from the NTFS table: no raw access (error %lu)\n",
                folder.c_str(), static_cast<unsigned long>(volume.open_error()));
    return TableScan::Outcome::kWalk;
  }
  table_rules(scan, folder[0]);
  const TableScan::Outcome outcome =
      scan.read_folder(volume, win32_dir_source(), folder,
                       under_wine() ? ListingRule::kWine : ListingRule::kWindows, ok, message);
  walked = scan.walked();
  line = scan.log_line(folder, outcome);
  return outcome;
}
#endif

}  // namespace

void mdir::start_scan(const std::string& requested, ScanClient* client) {
  // The thread of the previous scan has made its last call; only its end is left to collect.
  if (pthr.joinable()) pthr.join();
  retired_.clear();
  stop_.store(false);
  running_.store(true);
  busy_.store(1);
  try {
    pthr = std::thread(scan_thread_entry, this, requested, client);
  } catch (const std::system_error&) {
    // No thread, no scan: the receiver must still learn of it, or busy would stay set forever.
    running_.store(false);
    if (client) {
      client->scan_finished(false, "");
    } else {
      busy_.store(0, std::memory_order_release);
    }
  }
}

void mdir::stop_scan() {
  stop_.store(true);
  if (pthr.joinable()) pthr.join();
  retired_.clear();
  stop_.store(false);  // the next scan starts unhindered
}

bool mdir::scan_running() const { return running_.load(); }

void mdir::record_scan_root(const std::string& folder) {
  // Deletions compare the folder with this later: a drive letter pointed elsewhere since the
  // scan names another folder, perhaps on another volume, under the same path.
  root_recorded_ = disk_probe().folder_identity(folder, root_id_);
}

bool mdir::scan_root_identity(FolderId& id) const {
  id = root_id_;
  return root_recorded_;
}

void mdir::read_mdir(const std::string& requested, ScanClient* client) {
  const bool drive = is_drive_root(requested);
  const std::string scanned = Walk::scan_form(requested, drive);
  // What lies inside the tree is told by this path until the next scan; nothing else reads it
  // while busy is set.
  path = scanned;
  const int level = settings_.vl;
  if (level == 1) log_.write("  Thread:read_mdir () started ...\n");
  std::string message = kInvalidPath;
  bool ok = false;
  DirSource* source = source_;
#ifdef _WIN32
  if (!source) source = &win32_dir_source();
#endif
  if (source) {
    // A drive root of the platform's own disks, or a large folder on one, may come from its
    // NTFS table, in a fraction of the walk's time; anything the table cannot give exactly as
    // the walk would leaves it to the walk.
    TableScan::Outcome table = TableScan::Outcome::kWalk;
    bool walked = false;
#ifdef _WIN32
    if (source == &win32_dir_source()) {
      std::string line;
      table = drive ? read_table(*this, scanned, client, line)
                    : read_folder_table(*this, scanned, client, line, walked, ok, message);
      if (table != TableScan::Outcome::kStopped) log_.write("%s", line.c_str());
    }
#endif
    bool stopped = table == TableScan::Outcome::kStopped;
    if (table == TableScan::Outcome::kTree) {
      ok = true;
      message.clear();
    } else if (!stopped && !walked) {
      Walk walk(*this, *source, client);
      ok = walk.read(scanned, drive, message);
      stopped = walk.stopped();
    }
    lobj* top = ptop.load();
    if (stopped || (ok && level == 1 && !Walk::dump(log_, top, &stop_))) {
      // Stopped because the program closes: the receiver may already be gone.
      pcur.store(nullptr);
      if (ptop) retire_tree();
      running_.store(false);
      busy_.store(0, std::memory_order_release);
      return;
    }
    // A root that went while the walk ran (its drive letter removed, the folder deleted or put
    // elsewhere) leaves folders unread that looked empty: such a tree is no finished scan.
    FolderId now;
    if (ok && root_recorded_ &&
        root_state(true, root_id_, disk_probe().folder_identity(scanned, now), now) != RootState::kSame) {
      if (level >= 2) log_.write("  Thread:read_mdir () the scanned folder went during the scan\n");
      message = gone_text(scanned);
      ok = false;
      pcur.store(nullptr);
      retire_tree();
    }
    if (ok) {
      Walk::totals(top);
      if (level >= 2) log_.write("  Thread:read_mdir () finished ...\n");
      pcur.store(top, std::memory_order_release);
    }
  }
  running_.store(false);
  if (client) {
    client->scan_finished(ok, message);
  } else {
    busy_.store(0, std::memory_order_release);
  }
}

}  // namespace kelvane
