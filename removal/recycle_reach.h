#pragma once
// Whether the recycle bin can take an entry, asked before the shell is. On Windows the shell
// tells for itself: where its bin cannot take an entry it asks before it deletes it for good,
// and that deletion never follows a link. Wine's bin is the trash folder of the Unix user's home,
// which takes a folder only from the same file system (it moves it there by renaming); a folder
// from elsewhere makes Wine ask in a box of its own whether to delete it for good instead, and
// that deletion follows every link beneath, those made while the box is up too. Such an entry
// is never handed to the shell.
#include <string>

namespace kelvane {

// False only where the platform's bin is known not to take the entry at path (UTF-8): under
// Wine, a folder on another file system than the trash, or an entry another program holds open
// so that it cannot be moved.
bool recycle_bin_takes(const std::string& path);

// The device ("major:minor") of the file system that holds the Unix path, from the text of
// /proc/self/mountinfo: the last mount whose point is the longest leading part of the path.
// Empty when none is.
std::string mount_device(const std::string& mountinfo, const std::string& unix_path);

// Whether a file system other than the one of device is mounted anywhere beneath the Unix path
// (a folder's): the trash cannot take such a folder whole, by renaming, either.
bool other_mount_beneath(const std::string& mountinfo, const std::string& unix_path,
                         const std::string& device);

}  // namespace kelvane
