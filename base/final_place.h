#pragma once
// Where an entry really is: the path the system gives for an open handle, every link on the
// way resolved. Two paths that lead to one entry give the same text; a link gives its target's.
#ifdef _WIN32
#include <windows.h>

#include <string>

namespace kelvane {

// The place of the open file or folder in the device form ("\Device\HarddiskVolume1\X"), which
// names every volume, lettered or not, and which no drive letter or mapping can alias; without
// a closing backslash. Empty when the system cannot tell.
std::wstring handle_place(HANDLE file);

// The place of the open file or folder as "\\?\D:\X", asked of the object's own name: for a
// place longer than MAX_PATH, where Wine's GetFinalPathNameByHandleW gives up (it asks into a
// buffer of that length) while the name it would have read, "\??\D:\X", is there. Empty
// where the system names the object otherwise (Windows: "\Device\...") or cannot tell.
std::wstring long_drive_place(HANDLE file);

// The place of the entry at path (any form the system opens, the extended one included);
// empty when it cannot be opened.
std::wstring final_place(const std::wstring& path);

}  // namespace kelvane
#endif
