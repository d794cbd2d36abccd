#pragma once
// The one seam between the walk and the file system. The walk asks a DirSource for the
// entries matching a search pattern (a path whose last component may hold wildcards, as
// "D:\\DATA\\*.*" or a bare "D:\\DATA" naming one entry). The program reads real folders
// through the Win32 back end (scan/win32_dir_source.h); tests and benchmarks use the
// in-memory one (tests/support/memory_dir_source.h). Both may be asked from several threads at once
// (the scan's readers list folders side by side).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kelvane {

struct DirEntry {
  std::string_view name;  // UTF-8, valid only during the callback
  bool is_dir = false;
  bool is_link = false;  // a reparse point that is a symbolic link or junction
  uint64_t size = 0;     // full 64-bit length; a link file's own length (0), not its target's
  uint32_t stamp = 0;    // its stamp (scan/entry_stamp.h), where the platform gives one
};

// Identity of a folder on its volume, for the walk's check that no folder is entered twice.
struct FolderId {
  uint64_t volume = 0;
  uint64_t file = 0;
  // Where the folder really is: its full path with every link resolved, in one form for the
  // whole machine, without a trailing backslash; empty when the platform cannot tell. A folder
  // beneath it is this path, a backslash and the names down to it.
  std::string place;
  // How the path reached the folder when it was asked: under Wine, when the last change was
  // made to the drive letters' mappings (a letter re-pointed at a copy of the same layout
  // leaves the serial number, the index and the place alike); 0 where drives are the system's.
  uint32_t mapping = 0;
  // The upper half of a 128-bit file id (ReFS numbers its files so), 0 where the id fits in file.
  uint64_t file_high = 0;
  bool operator==(const FolderId& o) const {
    return volume == o.volume && file == o.file && file_high == o.file_high;
  }
};

class DirSource {
 public:
  virtual ~DirSource() = default;
  // Calls sink for every entry matching pattern, "." and ".." included when the platform
  // reports them, in the platform's order, until the sink returns false (the walk is being
  // stopped). False when nothing matches or the folder cannot be read (the sink was then
  // never called).
  virtual bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) = 0;
  // The identity of the folder at path (links resolved), with its place when the platform
  // tells it. False when it cannot be had.
  virtual bool identity(const std::string& path, FolderId& id) = 0;
};

}  // namespace kelvane
