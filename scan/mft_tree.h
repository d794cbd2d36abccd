#pragma once
// The tree of a drive root, or of one folder on the drive, built from its NTFS table
// (scan/mft_reader.h) instead of a walk: the same nodes, names, kinds, sizes, stamps and order
// as the walk of that drive or folder gives.
//
// The records arrive in record order, a file's before or after its folder's; each keeps only
// what its nodes need (a few words and its names) until the table is read, then the tree is
// made in one pass, folders in the walk's pre-order, each folder's entries in the order the
// platform lists them. What the walk would show otherwise makes the caller walk instead (why()
// says what); an entry whose folder is not there as a folder, or that would hang beneath itself,
// is left out and counted (left_out()).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory_resource>
#include <string>
#include <utility>
#include <vector>

#include "scan/mdir.h"
#include "scan/mft_reader.h"
#include "scan/scratch_memory.h"

namespace kelvane {

// How the platform's listing reports an NTFS entry, which the stamps are made from.
enum class ListingRule {
  // Windows: the file id is the file reference (sequence number in the top 16 bits), the
  // times are the file's own.
  kWindows,
  // Wine over an ntfs-3g mount: the file id is the inode, which ntfs-3g makes the record
  // number; the creation time is the last-write time; links are the Unix links ntfs-3g shows,
  // which Wine lists as what they name.
  kWine,
};

// A folder of the drive whose subtree alone is made: the names of its path below the drive root
// as the user typed them, and the file id the platform reports for the folder opened by that
// path (the id its stamp is made from).
struct MftFolder {
  std::vector<std::string> names;
  uint64_t file_id = 0;
};

class MftTree {
 public:
  // records: the table's slots; drive: the drive letter scanned (upper case), to tell links
  // that stay on the volume.
  MftTree(uint64_t records, ListingRule rule, char drive);

  // Where a link's absolute target (a Unix path, under Wine's rule) lies on this drive: its
  // path below the drive's root, '/'-separated; false when it lies elsewhere or cannot be told.
  using AbsoluteTarget = std::function<bool(const std::string& target, std::string& below_root)>;
  void set_absolute_target(AbsoluteTarget absolute) { absolute_ = std::move(absolute); }

  // Takes what the record says. False when the tree cannot be the walk's (why() says why).
  bool add(const MftRecord& record);
  // Builds the tree into holder, rooted at root_path (the drive root in its scan form, or with
  // folder the folder's path in its scan form), with direct totals as the walk leaves them.
  // False when it cannot (why()), or when stop was set.
  bool build(mdir& holder, const std::string& root_path, const std::atomic<bool>& stop,
             const MftFolder* folder = nullptr);

  const std::string& why() const { return why_; }
  uint64_t left_out() const { return left_out_; }
  uint64_t entries() const { return entries_; }

 private:
  struct Record {
    uint64_t size = 0;
    uint64_t created = 0;
    uint64_t written = 0;
    uint32_t number = 0;
    uint32_t first_name = 0;  // index + 1 into names_, 0 for none
    uint32_t claimed = 0;     // the sequence number an extension record named first
    uint16_t sequence = 0;    // the base record's; 0 until it came
    uint16_t flags = 0;
  };
  struct Name {
    uint64_t parent_ref = 0;
    uint32_t record = 0;  // index into records_
    uint32_t text_at = 0;
    uint32_t next = 0;  // index + 1 of the record's next name
    uint16_t text_size = 0;
  };
  // An Interix link's target, kept from its record until the tree is made.
  struct LinkTarget {
    uint32_t record = 0;  // index into records_
    uint32_t text_at = 0;
    uint32_t text_size = 0;
  };
  struct Layout;
  Record& record_of(uint64_t number);
  uint32_t follow(uint32_t name, const Layout& layout, int& budget) const;
  uint64_t stamp_id(const Record& r) const;
  uint32_t stamp_of(const Record& r) const;

  ListingRule rule_;
  char drive_;
  AbsoluteTarget absolute_;
  // What is kept of the table until the tree is made lives here: all of it goes back to the
  // system with this object, so that the scan leaves only the tree behind, as the walk does.
  ScratchMemory scratch_;
  std::pmr::vector<uint32_t> slots_{&scratch_};  // record number -> index + 1 into records_
  std::pmr::vector<Record> records_{&scratch_};
  std::pmr::vector<Name> names_{&scratch_};
  std::pmr::string texts_{&scratch_};
  std::pmr::vector<LinkTarget> links_{&scratch_};  // in record order once the table is read
  std::string why_;
  uint64_t left_out_ = 0;
  uint64_t entries_ = 0;
};

}  // namespace kelvane
