#pragma once
// The one seam through which a deletion asks the file system about single entries without
// changing them: what stands at a path now (to check an entry before and after its deletion),
// and whether a folder holds a link anywhere beneath it (which the shell could follow). The
// program asks the platform; tests put a fake in place.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace kelvane {

enum class Presence {
  kAbsent,   // the entry (or its folder) does not exist
  kPresent,  // the entry exists
  kUnknown,  // the question could not be answered (access denied, drive gone, no platform)
};

// What stands at a path, as the scan would list it.
struct DiskEntry {
  Presence presence = Presence::kUnknown;
  bool is_dir = false;
  uint64_t size = 0;  // a file's length as the scan counts it (a link's own length, 0)
  // It names another entry: a symbolic link or a junction, or a link the platform shows as
  // the entry it names (Wine shows a Unix link to a file so). The shell, asked to delete it,
  // may delete what it names.
  bool is_link = false;
  uint32_t stamp = 0;  // as the scan records it (scan/entry_stamp.h); 0 when it cannot be had
  // Absent by its exact name, but an entry whose name differs only in case is there: its stamp
  // (a case-only rename of the entry keeps it; a twin has its own). 0 when none is there.
  uint32_t other_case_stamp = 0;
};

class EntryProbe {
 public:
  virtual ~EntryProbe() = default;
  // The file or folder at path (UTF-8, no wildcards), found by its exact name: an entry whose
  // name differs only in case is another entry. A drive root ("D:" or "D:\\") is a folder.
  virtual DiskEntry entry(const std::string& path) = 0;
  // Whether anything beneath the folder at path, at any depth, is a link. What cannot be read
  // counts as holding none: the shell cannot reach into it either. A big folder takes long:
  // looking hears each folder as it is read, and the walk ends (false) soon once stop is set.
  virtual bool holds_link(const std::string& path, const std::atomic<bool>& stop,
                          const std::function<void(const std::string&)>& looking) = 0;
  // Whether the shell, deleting a folder, follows the links beneath it: Wine's shell does, for
  // every kind of link; Windows' deletes a link as itself (then no walk for links is needed).
  virtual bool shell_follows_links() = 0;
};

// The probe in use: the platform's own unless a test replaced it.
EntryProbe& entry_probe();
// Replaces the probe (nullptr restores the platform's); returns the previous replacement.
EntryProbe* set_entry_probe(EntryProbe* replacement);

}  // namespace kelvane
