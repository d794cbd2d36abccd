#include "removal/delete_check.h"

#include "base/strf.h"
#include "scan/disk_probe.h"

namespace kelvane {

DeleteVerdict delete_verdict(const ListedEntry& listed, RootState root, const DiskEntry& now,
                             const DiskEntry& folder) {
  if (root == RootState::kOther) return DeleteVerdict::kChanged;
  if (root == RootState::kUnreachable) return DeleteVerdict::kUnreachable;
  switch (now.presence) {
    case Presence::kPresent:
      if (now.is_dir != listed.is_dir) return DeleteVerdict::kChanged;
      // A folder's listed size is the sum beneath it, which no single question can check.
      if (!listed.is_dir && now.size != listed.size) return DeleteVerdict::kChanged;
      // A link says so whatever it leads to (a link the scan did not enter has no stamp).
      if (now.is_link) return DeleteVerdict::kLink;
      if (listed.is_dir && listed.stamp == 0) return DeleteVerdict::kDelete;
      return now.stamp == listed.stamp ? DeleteVerdict::kDelete : DeleteVerdict::kChanged;
    case Presence::kAbsent:
      // Absent from a folder that is itself gone, or from a drive that no longer answers,
      // says nothing about the entry: it may still be on a disk the program cannot see now.
      if (folder.presence == Presence::kPresent && folder.is_dir) {
        // The entry itself under a name that differs in case only: renamed, not gone.
        if (now.other_case_stamp != 0 && now.other_case_stamp == listed.stamp) return DeleteVerdict::kChanged;
        return DeleteVerdict::kGone;
      }
      return DeleteVerdict::kUnreachable;
    case Presence::kUnknown:
      break;
  }
  return DeleteVerdict::kUnreachable;
}

std::vector<ScannedFolder> scanned_folders(const lobj& node, const EnteredLinks* links) {
  std::vector<ScannedFolder> way;
  for (const lobj* f = node.parent; f != nullptr && f->parent != nullptr; f = f->parent) {
    const FolderId* target = links != nullptr ? links->target(f) : nullptr;
    way.push_back(
        ScannedFolder{f->fpath(), f->name, f->stamp, target != nullptr, target ? *target : FolderId{}});
  }
  return std::vector<ScannedFolder>(way.rbegin(), way.rend());
}

DeleteVerdict folder_verdict(EntryProbe& probe, const ScannedFolder& folder) {
  const DiskEntry now = probe.entry(folder.path);
  if (now.presence != Presence::kPresent) return DeleteVerdict::kUnreachable;
  if (folder.entered_link) {
    // Where the link leads now, by its identity: a link pointed at another folder names what
    // was never scanned under the scanned names; a scan again would list that one.
    FolderId now_target;
    if (!now.is_dir) return DeleteVerdict::kChanged;
    if (!disk_probe().folder_identity(folder.path, now_target)) return DeleteVerdict::kUnreachable;
    return now_target == folder.target ? DeleteVerdict::kDelete : DeleteVerdict::kChanged;
  }
  // A folder the scan could give no stamp (its listing gave no ids) is not compared by one.
  if (now.is_dir && now.is_link) return DeleteVerdict::kBehindLink;
  if (!now.is_dir || (folder.stamp != 0 && now.stamp != folder.stamp)) return DeleteVerdict::kChanged;
  return DeleteVerdict::kDelete;
}

DeleteVerdict way_verdict(EntryProbe& probe, const std::vector<ScannedFolder>& way) {
  for (const ScannedFolder& folder : way) {
    const DeleteVerdict step = folder_verdict(probe, folder);
    if (step != DeleteVerdict::kDelete) return step;
  }
  return DeleteVerdict::kDelete;
}

std::string changed_text(const std::string& path) {
  return strf("%s\nCHANGED SINCE THE SCAN, SCAN AGAIN !", path.c_str());
}

std::string behind_link_text(const std::string& path) {
  return strf("%s\nIS BEHIND A LINK, NOT DELETED !", path.c_str());
}

std::string no_bin_text(const std::string& path) {
  return strf("%s\nCANNOT GO TO THE RECYCLE BIN, NOT DELETED !", path.c_str());
}

std::string link_text(const std::string& path, bool holds, bool partly) {
  if (!holds) return strf("%s\nIS A LINK, NOT DELETED !", path.c_str());
  return strf(partly ? "%s\nHOLDS A LINK, PARTLY DELETED !" : "%s\nHOLDS A LINK, NOT DELETED !",
              path.c_str());
}

std::string volume_text(const std::string& path, bool partly) {
  return strf(
      partly ? "%s\nHOLDS ANOTHER VOLUME, PARTLY DELETED !" : "%s\nHOLDS ANOTHER VOLUME, NOT DELETED !",
      path.c_str());
}

}  // namespace kelvane
