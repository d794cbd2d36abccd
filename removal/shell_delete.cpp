// The shell's deletion of one entry, and what it takes for deleted. Its log lines keep the
// name of the platform's call they report on.
#include "removal/shell_delete.h"

#include "removal/entry_probe.h"
#include "scan/item_texts.h"
#include "scan/shell.h"

namespace kelvane {

bool names_no_single_entry(const std::string& target) { return target.empty() || has_wildcard(target); }

bool shell_delete(const std::string& target, bool recycle_bin, void* owner, Log& log) {
  int result = 0;
  if (names_no_single_entry(target)) {
    result = 2;  // ERROR_FILE_NOT_FOUND: refused before it reaches the shell
  } else {
    unsigned flags = kFofSilent | kFofNoConfirmation | kFofNoErrorUi;
    // With the recycle bin, an entry too big for it would otherwise vanish for good without
    // a word: the shell then asks first.
    if (recycle_bin) flags |= kFofAllowUndo | kFofWantNukeWarning;
    result = shell().delete_path(target, flags, owner);
    // The shell reports success for entries it skipped (a read-only folder, a name too long
    // for the recycle bin): only an entry no longer on disk under its own name is deleted (a
    // twin whose name differs in case is another entry). When the disk cannot tell, the
    // shell's word stands.
    if (result == 0) {
      if (entry_probe().entry(target).presence != Presence::kPresent) return true;
      if (log.is_open())
        log.write("mdir::SHFileOperation () returned 0, but %s is still there\n", target.c_str());
      return false;
    }
  }
  if (log.is_open()) log.write("mdir::SHFileOperation () returned %d\n", result);
  return false;
}

}  // namespace kelvane
