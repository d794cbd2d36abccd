#pragma once
// The one seam through which the program removes entries from disk itself (a permanent
// deletion, without the shell). Nothing is reached by a path once it is checked: the scanned
// folder is opened once and checked by its identity, and every entry below it is opened by its
// single name inside its folder's open handle, as itself (never through a link), checked on
// that handle against what the scan listed, and removed through that same handle. The program
// uses the platform; tests put a fake in place, or hold the platform's work.
#include <cstdint>
#include <string>
#include <vector>

#include "removal/entry_probe.h"
#include "removal/opened_verdict.h"
#include "scan/dir_source.h"

namespace kelvane {

// An entry the remover holds open: the platform's handle (a fake's number), and for a folder
// the path it was reached by, for the fakes and the log (a file's is never formed).
struct OpenEntry {
  void* handle = nullptr;
  std::string path;
  // The platform's: the entry's attributes as opened, and for a folder under Wine the name the
  // file system gives it (what the names of the entries inside it must continue).
  uint32_t attributes = 0;
  std::wstring reported;
  // A symbolic link, junction or mount point opened as itself (where the platform opens it so):
  // removing it removes the link and never what it names, which is not on the way down.
  bool link_itself = false;
  // A folder's volume (its serial number, as its own handle gives it): the folders opened inside
  // it are compared with it (OpenedFacts::other_volume).
  uint64_t volume = 0;
};

enum class RemoveResult {
  kRemoved,  // it is gone from its folder (or on its way out once the last handle closes)
  kFailed,   // it stays (a folder not empty, in use, refused by the file system)
};

class EntryRemover {
 public:
  virtual ~EntryRemover() = default;
  // Opens the scanned folder at path, to be held for the whole run, and checks it is the one
  // the scan recorded (when recorded is not null): its volume and its file id. kOpened, or
  // kChanged (another folder), kGone / kFailed (it cannot be opened).
  virtual OpenResult open_root(const std::string& path, const FolderId* recorded, OpenEntry& out) = 0;
  // Opens the entry called name (its exact name, UTF-8) inside the open folder, as itself, and
  // judges it against listed (opened_verdict). out is set only for kOpened. on_way: a folder
  // the deletion only goes through (a link there is never entered, whatever it is).
  virtual OpenResult open(const OpenEntry& folder, const std::string& name, const ListedEntry& listed,
                          bool on_way, OpenEntry& out) = 0;
  // Opens the folder that the link called name inside the open folder leads to, following it
  // (the way down through a link the scan entered), and checks it is the very folder the scan
  // entered through it: a folder of identity target. Entries inside are then opened inside it
  // as inside any folder. kOpened; kChanged when it leads to another folder or to no folder;
  // kGone / kFailed when it cannot be opened.
  virtual OpenResult open_through(const OpenEntry& folder, const std::string& name, const FolderId& target,
                                  OpenEntry& out) = 0;
  // Removes the open entry through its own handle. A folder that is not empty is tried again
  // for a short while (a child another program holds open goes when it lets go of it).
  virtual RemoveResult remove(OpenEntry& entry, bool is_dir) = 0;
  virtual void close(OpenEntry& entry) = 0;
  // Whether an entry of exactly this name is in the open folder (a twin whose name differs in
  // case is another entry): asked once the chosen entry's handle is closed.
  virtual Presence find(const OpenEntry& folder, const std::string& name) = 0;
  // The names in the open folder, asked after its removal failed, so that what is still on disk
  // is known name by name. False when it cannot be listed.
  virtual bool names(const OpenEntry& folder, std::vector<std::string>& out) = 0;
  // The stamp of the open folder as the scan gives a folder's (scan/entry_stamp.h), read on its
  // handle once the run has removed what it could inside it; 0 when it cannot be had.
  virtual uint32_t stamp(const OpenEntry& folder) = 0;
};

// The remover in use: the platform's own unless a test replaced it.
EntryRemover& entry_remover();
// Replaces the remover (nullptr restores the platform's); returns the previous replacement.
EntryRemover* set_entry_remover(EntryRemover* replacement);

}  // namespace kelvane
