#include "scan/table_scan.h"

#include <algorithm>

#include "base/strf.h"
#include "scan/budgeted_dir_source.h"
#include "scan/mft_reader.h"
#include "scan/walk.h"

namespace kelvane {

TableScan::TableScan(mdir& holder, ScanClient* client) : holder_(holder), client_(client) {}

TableScan::Outcome TableScan::read(VolumeReader& volume, const std::string& root_path, ListingRule rule,
                                   const MftFolder* folder) {
  const std::atomic<bool>& stop = holder_.stop_;
  MftReader reader(volume);
  MftReader::Result result = reader.open();
  if (result != MftReader::Result::kOk) {
    why_ = MftReader::result_text(result);
    return Outcome::kWalk;
  }
  // Wine lists ntfs-3g's links as what they name: each must be known, a long one's target too.
  reader.read_link_data(rule == ListingRule::kWine);
  const char drive = root_path.empty() ? 0 : static_cast<char>(root_path[0] & ~0x20);
  MftTree tree(reader.record_count(), rule, drive);
  tree.set_absolute_target(absolute_);
  // The status bar as the walk keeps it, with how much of the table is read.
  const std::string pattern =
      !root_path.empty() && root_path.back() == '\\' ? root_path + "*.*" : root_path + "\\*.*";
  if (client_) client_->scan_progress(pattern);
  int shown = -1;
  result = reader.read([&](const MftRecord& r) { return tree.add(r); }, &stop,
                       [&](int share) {
                         if (client_ && share / 10 != shown) {
                           shown = share / 10;
                           client_->scan_progress(strf("%s  %d %%", pattern.c_str(), shown));
                         }
                       });
  if (stop.load()) return Outcome::kStopped;
  if (result != MftReader::Result::kOk) {
    why_ = result == MftReader::Result::kStopped ? tree.why() : MftReader::result_text(result);
    return Outcome::kWalk;
  }
  const bool built = tree.build(holder_, root_path, stop, folder);
  holder_.pcur.store(nullptr, std::memory_order_release);
  if (!built) {
    if (holder_.ptop) holder_.retire_tree();
    if (stop.load()) return Outcome::kStopped;
    why_ = tree.why();
    return Outcome::kWalk;
  }
  entries_ = tree.entries();
  left_out_ = tree.left_out();
  return Outcome::kTree;
}

TableScan::Outcome TableScan::read_folder(VolumeReader& volume, DirSource& source, const std::string& path,
                                          ListingRule rule, bool& ok, std::string& message) {
  std::vector<std::string> names;
  if (!folder_names(path, names)) {
    why_ = "not a folder's path below a drive letter";
    return Outcome::kWalk;
  }
  uint64_t in_use = 0;
  {
    MftReader reader(volume);
    const MftReader::Result result = reader.open();
    if (result != MftReader::Result::kOk) {
      why_ = MftReader::result_text(result);
      return Outcome::kWalk;
    }
    in_use = reader.records_in_use();
  }
  // The walk of a folder costs in proportion to the entries beneath it, the table's read in
  // proportion to the records in use on the whole drive, and the folder's size is not known
  // before one of them is done. A record read costs far less than an entry listed (measured
  // under Wine: about 1 to 3 us a record, against 49 us an entry of ext4 and about 200 us one
  // through ntfs-3g). So the walk goes first and gives way to the table once it has listed a
  // 64th of the records in use: a folder smaller than that is walked and no table is read for
  // it; a larger one has spent on the walk at most what listing a 64th of the drive costs,
  // about the table's own read where listing is slowest, and the table saves the rest of the
  // walk. A count, not the clock: which way a folder's scan goes is the same on every run.
  const uint64_t budget = in_use / 64;
  {
    BudgetedDirSource budgeted(source, budget);
    Walk walk(holder_, budgeted, client_);
    ok = walk.read(path, false, message);
    if (walk.stopped()) return Outcome::kStopped;
    if (!budgeted.spent()) {
      walked_ = true;
      why_ = strf("the folder holds fewer entries than a 64th of the table's %llu records in use",
                  static_cast<unsigned long long>(in_use));
      return Outcome::kWalk;
    }
    holder_.pcur.store(nullptr, std::memory_order_release);
    if (holder_.ptop) holder_.retire_tree();
    ok = false;
    message.clear();
  }
  FolderId id;
  if (!source.identity(path, id)) {
    why_ = "the folder does not open";
    return Outcome::kWalk;
  }
  MftFolder folder;
  folder.names = std::move(names);
  folder.file_id = id.file;
  return read(volume, path, rule, &folder);
}

bool TableScan::folder_names(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  if (path.size() < 4 || path[1] != ':' || path[2] != '\\' ||
      !((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z'))
    return false;
  size_t at = 3;
  for (;;) {
    const size_t end = std::min(path.find('\\', at), path.size());
    const std::string name = path.substr(at, end - at);
    // Windows drops a trailing dot or space from a name it looks up: such a name is not the
    // table's.
    if (name.empty() || name == "." || name == ".." || name.find_first_of("*?\"<>|:/") != std::string::npos ||
        name.back() == '.' || name.back() == ' ')
      return false;
    names.push_back(name);
    if (end == path.size()) return true;
    at = end + 1;
  }
}

std::string TableScan::log_line(const std::string& root_path, Outcome outcome) const {
  if (outcome == Outcome::kTree)
    return strf("  Thread:read_mdir () %s read from the NTFS table: %llu entries, %llu left out\n",
                root_path.c_str(), static_cast<unsigned long long>(entries_),
                static_cast<unsigned long long>(left_out_));
  return strf("  Thread:read_mdir () %s walked, not read from the NTFS table: %s\n", root_path.c_str(),
              why_.c_str());
}

}  // namespace kelvane
