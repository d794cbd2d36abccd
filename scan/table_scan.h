#pragma once
// The scan of a drive root from its NTFS table: the table read (scan/mft_reader.h) into a tree
// (scan/mft_tree.h) that is the walk's, or nothing and the reason, so that the walk runs instead.
#include <cstdint>
#include <string>

#include "scan/mdir.h"
#include "scan/mft_tree.h"
#include "scan/volume_reader.h"

namespace kelvane {

class TableScan {
 public:
  enum class Outcome {
    kTree,     // the tree is in the holder, with direct totals as the walk leaves them
    kWalk,     // nothing was built: the walk is to run (why() says why)
    kStopped,  // the holder was asked to stop; nothing is left
  };
  TableScan(mdir& holder, ScanClient* client);

  // Reads volume into the holder's tree rooted at root_path (a drive root in its scan form,
  // "D:\\" or "D:"); the holder must have no tree. The client hears the progress as from a walk.
  Outcome read(VolumeReader& volume, const std::string& root_path, ListingRule rule);

  const std::string& why() const { return why_; }
  uint64_t entries() const { return entries_; }
  uint64_t left_out() const { return left_out_; }
  // The log's line for this scan of root_path: which way the tree came and why.
  std::string log_line(const std::string& root_path, Outcome outcome) const;

 private:
  mdir& holder_;
  ScanClient* client_;
  std::string why_;
  uint64_t entries_ = 0;
  uint64_t left_out_ = 0;
};

}  // namespace kelvane
