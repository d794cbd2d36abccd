#pragma once
// Whether an entry chosen for deletion is still the one the scan listed. The disk may have
// changed since: a file replaced by a folder, a file that grew, a drive letter pointed at
// another folder, a folder or drive that went away. Only an entry that is what was listed is
// handed to the shell; the decision is a plain function of what the scan saw and what the
// disk shows now.
#include <cstdint>
#include <string>
#include <vector>

#include "removal/entry_probe.h"
#include "removal/opened_verdict.h"
#include "scan/entered_links.h"
#include "scan/lobj.h"
#include "scan/root_state.h"

namespace kelvane {

enum class DeleteVerdict {
  kDelete,       // as listed: the shell may delete it
  kGone,         // not there, but its folder is: already gone, as the user wanted
  kChanged,      // another kind, size, stamp or volume, or reached another way: left alone
  kUnreachable,  // it, its folder or its drive cannot be reached: left alone
  kLink,         // a link: the shell could delete what it names instead, so it is left alone
  kBehindLink,   // a folder on the way down to it is a link (one the scan entered, or one made
                 // since): the entry is not where the scanned folder's own place says
};

// A folder on the way from the scanned root down to an entry, as the scan found it.
struct ScannedFolder {
  std::string path;
  std::string name;  // its own name in the folder above it
  uint32_t stamp = 0;
  // A link the scan entered: it is gone through while it leads to the folder of identity
  // target, the one the scan entered through it (its stamp is not compared: a link has none of
  // its own that the scan could rely on).
  bool entered_link = false;
  FolderId target;
};

// The folders beneath the tree's root down to node's own folder, the highest first (none for
// an entry of the root itself), with the stamps the scan gave them, and for the links among
// them that the scan entered (links, the tree's: null when none), their targets' identities.
std::vector<ScannedFolder> scanned_folders(const lobj& node, const EnteredLinks* links = nullptr);

// Whether the way down to an entry is still the one scanned, asked immediately before the
// entry is acted on: each folder of `way` (from scanned_folders) must be there, a folder, no
// link, and have its stamp; an entered link must lead to the folder it led to (its identity
// now from disk_probe(), following the link). A folder that is no link lies where the folder
// above it says, so from the root (compared by root_state) down, the entry's real place is
// where the scan found it. kDelete when the way is as scanned; kChanged when a folder on it is
// another, or an entered link leads elsewhere; kBehindLink when a folder the scan did not enter
// as a link is one now; kUnreachable when one is missing or cannot be asked about.
DeleteVerdict way_verdict(EntryProbe& probe, const std::vector<ScannedFolder>& way);
// One step of it: the folder at `folder.path` is still the one scanned. A deletion that goes
// down into a folder calls it (with the stamp of the folder's node) before it acts inside.
DeleteVerdict folder_verdict(EntryProbe& probe, const ScannedFolder& folder);

// now: what stands at the entry's path; folder: what stands at its folder's path (asked only
// when the entry is absent). The way down to it is judged apart (way_verdict).
DeleteVerdict delete_verdict(const ListedEntry& listed, RootState root, const DiskEntry& now,
                             const DiskEntry& folder);

// The box for an entry that changed since the scan.
std::string changed_text(const std::string& path);
// The box for an entry that is a link, or for a folder that holds one (holds); partly: the rest
// of the folder left the disk, the link and the folders holding it stayed.
std::string link_text(const std::string& path, bool holds, bool partly = false);
// The box for a folder that holds another volume mounted in it (or is one), which a deletion
// never enters: partly as for link_text.
std::string volume_text(const std::string& path, bool partly);
// The box for an entry with a link on its way down from the scanned folder.
std::string behind_link_text(const std::string& path);
// The box for an entry the recycle bin cannot take (removal/recycle_reach.h).
std::string no_bin_text(const std::string& path);

}  // namespace kelvane
