#pragma once
// The one seam through which the program asks the file system about entries without changing
// them: whether an entry is there (to check a deletion the shell reported), whether a drive
// letter names a drive, and the short form of a long path. The program asks the platform;
// tests put a fake in place.
#include <cstddef>
#include <string>

namespace kelvane {

// The longest path the system's plain (not extended) calls take, in characters.
constexpr size_t kLongestPlainPath = 259;

enum class Presence {
  kAbsent,   // the entry (or its folder) does not exist
  kPresent,  // the entry exists
  kUnknown,  // the question could not be answered (access denied, no platform)
};

class DiskProbe {
 public:
  virtual ~DiskProbe() = default;
  // Whether the file or folder at path (UTF-8, no wildcards) exists.
  virtual Presence presence(const std::string& path) = 0;
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
