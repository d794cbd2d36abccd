#pragma once
// The scanned folder (the tree's root) as it is now, against the identity the scan recorded as
// it began: the scan compares them as it ends (a root that went while the walk ran), a deletion
// before it acts (a drive letter pointed elsewhere since).
#include <string>

#include "scan/dir_source.h"

namespace kelvane {

enum class RootState {
  kNotRecorded,  // the scan could not tell its root's identity: nothing to compare
  kSame,         // the same folder on the same volume
  kOther,        // another folder or another volume under the same path
  kUnreachable,  // it cannot be reached now (drive gone, network down)
};

// The root's state from the identity the scan recorded (when it could) and the one read now:
// the same only with the same volume, index and drive mapping, and the same place where both
// places are known. (Under Wine the place of a folder that some drive letter also leads to
// comes and goes, as Wine rereads its drive table at most once a second.)
RootState root_state(bool recorded, const FolderId& scanned, bool readable, const FolderId& now);

// The box for a scan whose folder or drive went while it ran.
std::string gone_text(const std::string& path);

}  // namespace kelvane
