#pragma once
// Whether an entry opened for removal is still the one the scan listed, from what its own open
// handle says: a plain function, so that every rule is tested without a disk.
#include <cstdint>

namespace kelvane {

// The entry as the scan listed it: a folder, or a file of size bytes, with its stamp
// (scan/entry_stamp.h; 0 where the scan could not have one).
struct ListedEntry {
  bool is_dir = false;
  uint64_t size = 0;
  uint32_t stamp = 0;
};

enum class OpenResult {
  kOpened,       // the entry as listed, open and checked
  kGone,         // not in its folder (which is open, so there)
  kChanged,      // another kind, size, stamp or name (a case-only rename)
  kLink,         // the open reached another entry than the name's own (a link the platform follows), or
                 // a folder on the way is a link
  kOtherVolume,  // a folder on another volume than the folder it sits in: a disk mounted there
  kFailed,       // it could not be opened (in use, refused, out of reach)
};

// How the name the open handle reports stands to the one listed.
enum class NameMatch {
  kExact,      // the listed name, letter for letter
  kCaseOnly,   // the same name in other case: the entry was renamed since the scan
  kElsewhere,  // another place altogether: the open went through a link
};

// What the open handle says of the entry.
struct OpenedFacts {
  bool is_dir = false;
  uint64_t size = 0;
  uint64_t creation = 0;  // times in the platform's ticks
  uint64_t last_write = 0;
  uint64_t file_id = 0;         // its file id on its volume
  bool name_surrogate = false;  // a symbolic link or junction, opened as itself
  bool other_volume = false;    // its volume is not its folder's
  NameMatch name = NameMatch::kExact;
};

// on_way: a folder the deletion only goes through to reach the chosen entry; a link there
// (even opened as itself) is a way the scan did not take. Elsewhere a link opened as itself is
// the entry (removing it removes the link, not what it names). A file's stamp is taken as
// listed when it matches its times and id, or its times alone where the scan's listing gave no
// id; a folder's stamp is its file id (0 at the scan: not compared). A folder on another volume
// than its folder is never entered nor removed by a deletion around it, whatever its stamp (the
// scan listed the mount folder, its handle reaches the other volume's root); on the way down
// to a chosen entry it is only gone through.
OpenResult opened_verdict(const ListedEntry& listed, const OpenedFacts& facts, bool on_way);

}  // namespace kelvane
