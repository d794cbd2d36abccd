#pragma once
// The one seam through which the program removes single entries from disk itself (a permanent
// deletion, without the shell): each entry is opened as itself, never through a link, checked
// to be where the scan found it and of the kind it listed, and removed through that same open
// handle, so that what is checked is what goes. The program uses the platform; tests put a
// fake in place, or hold the platform's work.
#include <string>

namespace kelvane {

enum class RemoveResult {
  kRemoved,    // it was there, as expected, and is gone now
  kGone,       // not there (its folder is): nothing to do
  kElsewhere,  // it opens as another entry than its own name (a link), or its folder moved
  kOtherKind,  // a file where a folder was listed, or a folder where a file was
  kFailed,     // it stays (in use, read-only, a folder not empty, out of reach)
};

class EntryRemover {
 public:
  virtual ~EntryRemover() = default;
  // Where the folder at path really is, every link on the way resolved: a text that names it
  // whatever path leads there ("\\?\D:\X", or "\Device\HarddiskVolume1\X" on a volume
  // without a letter), without a closing backslash; empty when it cannot be opened.
  virtual std::string place(const std::string& path) = 0;
  // Removes the entry at path (UTF-8, its exact name) if it opens as itself at expected (a
  // place as above) and is a folder when is_dir, else a file. A link is opened and removed as
  // itself, never followed; where the platform cannot open a link as itself, it reports
  // kElsewhere and leaves it (and what it names) alone.
  virtual RemoveResult remove(const std::string& path, const std::string& expected, bool is_dir) = 0;
};

// The remover in use: the platform's own unless a test replaced it.
EntryRemover& entry_remover();
// Replaces the remover (nullptr restores the platform's); returns the previous replacement.
EntryRemover* set_entry_remover(EntryRemover* replacement);

}  // namespace kelvane
