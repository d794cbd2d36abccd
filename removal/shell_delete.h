#pragma once
// Deleting one entry through the shell (scan/shell.h): to the recycle bin, or for good.
#include <string>

#include "base/log.h"

namespace kelvane {

// A wildcard would make the shell delete every entry it matches; an empty path would name the
// current folder. Neither is an entry the user chose. (The shell gets the path in a form that
// names exactly this entry, scan/exact_path.h.)
bool names_no_single_entry(const std::string& target);

// Deletes target on disk, with everything in it, without asking; to the recycle bin when
// recycle_bin is set. True when it is gone from disk. A refusal and a failure are logged.
// owner: the window (a handle) that owns the shell's question, or nullptr.
bool shell_delete(const std::string& target, bool recycle_bin, void* owner, Log& log);

}  // namespace kelvane
