#pragma once
// mdrv: the machine's drives with their size, used and free bytes, one record per listed drive.
#include <cstdint>
#include <functional>
#include <string>

#include "base/log.h"

namespace kelvane {

struct drive_record {
  uint64_t total = 0;
  uint64_t free = 0;  // available to the calling user (quotas included)
  uint64_t used = 0;  // total - free
  std::string name;   // "D:"
};

// The volume size query; the program's uses GetDiskFreeSpaceExW, tests their own.
// Returns false when the drive cannot be read (no medium, unreachable).
using VolumeQuery = std::function<bool(const std::string& name, uint64_t& free_to_caller, uint64_t& total)>;
// The platform's query (none off Windows).
VolumeQuery system_volume_query();

class mdrv {
 public:
  // Drive sizes come from query; without one no drive can be read.
  explicit mdrv(Log& log, VolumeQuery query = system_volume_query());
  ~mdrv();

  drive_record drives[26];

  // Fills record index for the drive name: 0 on success, 1 when the query fails.
  int read_mdrv(const std::string& name, int index);

  // Walks the drive strings (letter, colon, backslash, terminator; 26 slots of 4 characters),
  // skipping A: and B:, and fills drives[] from index 0 with each drive whose size could be
  // read, calling add_row(name, index) for it when given. Returns the number of drives listed.
  int enumerate(const char* drive_strings, size_t length,
                const std::function<void(const std::string&, int)>& add_row = {});

 private:
  Log& log_;
  VolumeQuery query_;
};

}  // namespace kelvane
