#pragma once
// The scan of a drive root, or of a folder on the drive, from its NTFS table: the table read
// (scan/mft_reader.h) into a tree (scan/mft_tree.h) that is the walk's, or nothing and the
// reason, so that the walk runs instead.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "scan/dir_source.h"
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
  // "D:\\" or "D:"; with folder, the folder's path in its scan form, and only its subtree is
  // made); the holder must have no tree. The client hears the progress as from a walk.
  Outcome read(VolumeReader& volume, const std::string& root_path, ListingRule rule,
               const MftFolder* folder = nullptr);
  // The scan of a folder on the drive (path in its scan form): its walk through source while it
  // stays small, else the folder's subtree from the table (the rule is in the .cpp). kWalk
  // with walked() set: the walk ran to its end, ok and message are its result; kWalk without:
  // nothing was built and the walk is to run (why()).
  Outcome read_folder(VolumeReader& volume, DirSource& source, const std::string& path, ListingRule rule,
                      bool& ok, std::string& message);
  bool walked() const { return walked_; }
  // Under Wine's rule: where a link's absolute target lies on the drive (scan/mft_tree.h).
  void set_absolute_target(MftTree::AbsoluteTarget absolute) { absolute_ = std::move(absolute); }
  // The names of a folder's path below its drive's root ("D:\\A\\B": A, B), or false when the
  // path is not one the table can be asked about (no drive letter, a wildcard, "." or "..", an
  // empty name): the platform's lookup of such a path is its own.
  static bool folder_names(const std::string& path, std::vector<std::string>& names);

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
  bool walked_ = false;
  MftTree::AbsoluteTarget absolute_;
};

}  // namespace kelvane
