#include "scan/table_scan.h"

#include "base/strf.h"
#include "scan/mft_reader.h"

namespace kelvane {

TableScan::TableScan(mdir& holder, ScanClient* client) : holder_(holder), client_(client) {}

TableScan::Outcome TableScan::read(VolumeReader& volume, const std::string& root_path, ListingRule rule) {
  const std::atomic<bool>& stop = holder_.stop_;
  MftReader reader(volume);
  MftReader::Result result = reader.open();
  if (result != MftReader::Result::kOk) {
    why_ = MftReader::result_text(result);
    return Outcome::kWalk;
  }
  const char drive = root_path.empty() ? 0 : static_cast<char>(root_path[0] & ~0x20);
  MftTree tree(reader.record_count(), rule, drive);
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
  const bool built = tree.build(holder_, root_path, stop);
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

std::string TableScan::log_line(const std::string& root_path, Outcome outcome) const {
  if (outcome == Outcome::kTree)
    return strf("  Thread:read_mdir () %s read from the NTFS table: %llu entries, %llu left out\n",
                root_path.c_str(), static_cast<unsigned long long>(entries_),
                static_cast<unsigned long long>(left_out_));
  return strf("  Thread:read_mdir () %s walked, not read from the NTFS table: %s\n", root_path.c_str(),
              why_.c_str());
}

}  // namespace kelvane
