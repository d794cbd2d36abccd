#pragma once
// The one seam through which the scan and the opening of a file ask the file system about
// places without changing them: the identity of a folder (to tell that a scanned folder is
// still the one scanned), whether a drive letter names a drive, and the short form of a long
// path. (What a deletion asks about single entries is removal/entry_probe.h.) The program asks
// the platform; tests put a fake in place.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scan/dir_source.h"

namespace kelvane {

class DiskProbe {
 public:
  virtual ~DiskProbe() = default;
  // The identity of the folder at path (its volume's serial number, its index there, where it
  // really is and how its drive is mapped). False when it cannot be had.
  virtual bool folder_identity(const std::string& path, FolderId& id) = 0;
  // Whether the system knows the drive letter (A to Z, upper case), with or without a medium.
  virtual bool drive_known(char letter) = 0;
  // The path's short form, or empty when it has none.
  virtual std::string short_path(const std::string& path) = 0;
};

// The probe in use: the platform's own unless a test replaced it.
DiskProbe& disk_probe();
// Replaces the probe (nullptr restores the platform's); returns the previous replacement.
DiskProbe* set_disk_probe(DiskProbe* replacement);

}  // namespace kelvane
