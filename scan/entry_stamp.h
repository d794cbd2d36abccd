#pragma once
// An entry's stamp: 32 bits of what the platform says about a file or folder beyond its name,
// kind and size, kept in every node of the tree so that a deletion can tell the entry the scan
// listed from another that took its place with the same name, kind and size.
//
// A file's stamp comes from its creation and last-write times and its file id, which the
// listing reports anyway: new content gets new times, a new file another id.
// A folder's comes from its file index on its volume and its creation time: a folder put in its
// place while it still exists elsewhere has another index, and one removed and made again may
// get its index back (ext4 gives a freed inode to the next folder made) but not its creation
// time. Under Wine the creation time is the last-write time, which also changes with what the
// folder holds: there a folder whose entries changed since the scan is another one (the
// program's own deletions read the stamp anew). 0 means "not known": the scan and the check
// both get 0 where the platform cannot tell (a folder that cannot be opened).
#include <cstdint>

namespace kelvane {

// Mixes a and b into 32 bits, never 0.
constexpr uint32_t entry_stamp(uint64_t a, uint64_t b) {
  uint64_t x = a ^ (b * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull);
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  const uint32_t folded = static_cast<uint32_t>(x ^ (x >> 32));
  return folded != 0 ? folded : 1;
}

// A file's: its creation and last-write times and its file id on its volume (0 where the listing
// gives none), so that another file given the same times, by a copy that keeps them or by the
// file system's tunnelling of a re-made name, is still another file.
constexpr uint32_t file_stamp(uint64_t creation, uint64_t last_write, uint64_t file_id) {
  return entry_stamp(creation ^ (file_id * 0xD6E8FEB86659FD93ull), last_write);
}

// A folder's: its file id on its volume and its creation time.
constexpr uint32_t folder_stamp(uint64_t file_id, uint64_t creation) {
  return entry_stamp(file_id, creation);
}

}  // namespace kelvane
