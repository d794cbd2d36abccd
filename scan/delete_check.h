#pragma once
// Whether an entry chosen for deletion is still the one the scan listed. The disk may have
// changed since: a file replaced by a folder, a file that grew, a drive letter pointed at
// another folder, a folder or drive that went away. Only an entry that is what was listed is
// handed to the shell; the decision is a plain function of what the scan saw and what the
// disk shows now.
#include <cstdint>
#include <string>

#include "scan/disk_probe.h"

namespace kelvane {

// The scanned folder (the tree's root) as it is now, against the identity the scan recorded.
enum class RootState {
  kNotRecorded,  // the scan could not tell its root's identity: nothing to compare
  kSame,         // the same folder on the same volume
  kOther,        // another folder or another volume under the same path
  kUnreachable,  // it cannot be reached now (drive gone, network down)
};

enum class DeleteVerdict {
  kDelete,       // as listed: the shell may delete it
  kGone,         // not there, but its folder is: already gone, as the user wanted
  kChanged,      // another kind, another size or another volume: left alone
  kUnreachable,  // it, its folder or its drive cannot be reached: left alone
  kLink,         // a link: the shell could delete what it names instead, so it is left alone
};

// The entry as the scan listed it: a folder, or a file of size bytes.
struct ListedEntry {
  bool is_dir = false;
  uint64_t size = 0;
};

// now: what stands at the entry's path; folder: what stands at its folder's path (asked only
// when the entry is absent).
DeleteVerdict delete_verdict(const ListedEntry& listed, RootState root, const DiskEntry& now,
                             const DiskEntry& folder);

// The root's state from the identity the scan recorded (when it could) and the one read now.
RootState root_state(bool recorded, const FolderId& scanned, bool readable, const FolderId& now);

// The box for an entry that changed since the scan.
std::string changed_text(const std::string& path);
// The box for an entry that is a link, or for a folder that holds one (holds).
std::string link_text(const std::string& path, bool holds);

}  // namespace kelvane
