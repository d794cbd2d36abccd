#pragma once
// The file system as Windows reports it, behind the DirSource seam.
#ifdef _WIN32
#include <windows.h>

#include <string>

#include "scan/dir_source.h"

namespace kelvane {

class Win32DirSource : public DirSource {
 public:
  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override;
  bool identity(const std::string& path, FolderId& id) override;
};

// The identity of the open file or folder on its volume (FolderId's volume, file and file_high):
// the volume's serial number and the 128-bit file id where the file system gives one (ReFS's do
// not fit in 64 bits), else the 64-bit index. The scan and the deletion both read it so. False
// when neither can be had.
bool handle_file_id(HANDLE file, FolderId& id);

// The stamp of the open file or folder as a folder's: its index on its volume and its creation
// time (scan/entry_stamp.h), or 0.
uint32_t handle_stamp(HANDLE file);

// The wide extended form of a path (scan/exact_path.h): the platform reads it at any length
// and names exactly the entries in it.
std::wstring long_path_form(const std::string& path);

// The extended form's prefix taken off again ("\\?\D:\x" is "D:\x"), for a path shown or compared.
std::wstring without_long_prefix(const std::wstring& path);

// A file time as one 64-bit count of 100 ns.
uint64_t file_time_ticks(const FILETIME& t);

// What the walk needs of one found entry. A reparse point that is a symbolic link or a
// junction is a link; a link file counts with its own length, 0. A file gets its stamp (a
// folder's comes with its index, which only a listing through a handle gives).
DirEntry decode_find_data(const WIN32_FIND_DATAW& data, std::string& name);

// The source the program scans through.
DirSource& win32_dir_source();

}  // namespace kelvane
#endif
