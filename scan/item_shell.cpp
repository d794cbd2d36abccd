// The item actions of mdir that reach the system shell: deleting a path and opening a file
// with its associated program. Everything goes through the Shell seam (scan/shell.h).
#include "base/message_box.h"
#include "base/strf.h"
#include "scan/delete_check.h"
#include "scan/delete_run.h"
#include "scan/disk_probe.h"
#include "scan/exact_path.h"
#include "scan/item_texts.h"
#include "scan/mdir.h"
#include "scan/shell.h"
#include "scan/tree_remover.h"

namespace kelvane {

namespace {

// A wildcard would make the shell delete every entry it matches; an empty path would name the
// current folder. Neither is an entry the user chose. (The shell gets the path in a form that
// names exactly this entry, scan/exact_path.h.)
bool names_no_single_entry(const std::string& target) { return target.empty() || has_wildcard(target); }

const char* verdict_name(DeleteVerdict verdict) {
  if (verdict == DeleteVerdict::kChanged) return "changed since the scan";
  return verdict == DeleteVerdict::kLink ? "a link" : "out of reach";
}

}  // namespace

int mdir::SHFileOperation(const std::string& target) {
  int result = 0;
  if (names_no_single_entry(target)) {
    result = 2;  // ERROR_FILE_NOT_FOUND: refused before it reaches the shell
  } else {
    unsigned flags = kFofSilent | kFofNoConfirmation | kFofNoErrorUi;
    // With the recycle bin, an entry too big for it would otherwise vanish for good without
    // a word: the shell then asks first.
    if (settings_.ud) flags |= kFofAllowUndo | kFofWantNukeWarning;
    result = shell().delete_path(target, flags);
    // The shell reports success for entries it skipped (a read-only folder, a name too long
    // for the recycle bin): only an entry no longer on disk under its own name is deleted (a
    // twin whose name differs in case is another entry). When the disk cannot tell, the
    // shell's word stands.
    if (result == 0) {
      if (disk_probe().entry(target).presence != Presence::kPresent) return 0;
      if (log_.is_open())
        log_.write("mdir::SHFileOperation () returned 0, but %s is still there\n", target.c_str());
      return 1;
    }
  }
  if (log_.is_open()) log_.write("mdir::SHFileOperation () returned %d\n", result);
  return 1;
}

DeleteOutcome mdir::delete_entry(DeleteTarget& target, RootState root, const std::atomic<bool>& stop,
                                 const std::function<void(size_t)>& removed) {
  if (names_no_single_entry(target.path)) {
    SHFileOperation(target.path);  // refuses it and logs why
    return DeleteOutcome::kFailed;
  }
  DiskProbe& probe = disk_probe();
  const DiskEntry now = probe.entry(target.path);
  DiskEntry folder;
  if (now.presence == Presence::kAbsent) folder = probe.entry(target.folder);
  const DeleteVerdict verdict = delete_verdict(target.listed, root, now, folder);
  switch (verdict) {
    case DeleteVerdict::kDelete:
      // For good: the shell's own walk would follow links made while it runs, and cannot be
      // stopped or followed; the program removes the entries itself.
      if (!settings_.ud) return remove_for_good(target, stop, removed);
      // The shell takes a folder with everything beneath it, links included, and may take what
      // a link names along with it (Wine's shell does, for every kind of link).
      if (target.listed.is_dir && probe.holds_link(target.path)) {
        if (log_.is_open()) log_.write("mdir::delete_entry () holds a link: %s\n", target.path.c_str());
        return DeleteOutcome::kHoldsLink;
      }
      if (SHFileOperation(target.path) != 0) return DeleteOutcome::kFailed;
      if (removed) removed(target.entries.size());
      return DeleteOutcome::kDeleted;
    case DeleteVerdict::kGone:
      // Removed since the scan, as the user wanted: the shell would only fail on it.
      return DeleteOutcome::kDeleted;
    case DeleteVerdict::kChanged:
    case DeleteVerdict::kUnreachable:
    case DeleteVerdict::kLink:
      break;
  }
  if (log_.is_open())
    log_.write("mdir::delete_entry () %s: %s\n", verdict_name(verdict), target.path.c_str());
  if (verdict == DeleteVerdict::kChanged) return DeleteOutcome::kChanged;
  return verdict == DeleteVerdict::kLink ? DeleteOutcome::kLink : DeleteOutcome::kFailed;
}

DeleteOutcome mdir::remove_for_good(DeleteTarget& target, const std::atomic<bool>& stop,
                                    const std::function<void(size_t)>& removed) {
  TreeRemover remover(entry_remover(), stop, [&removed] {
    if (removed) removed(1);
  });
  const lobj* top = ptop.load();
  const RemovalEnd end =
      remover.remove(target.entries, target.path, target.folder, top != nullptr ? top->root_path : "");
  if (end == RemovalEnd::kRemoved) return DeleteOutcome::kDeleted;
  if (log_.is_open()) {
    size_t gone = 0;
    for (const RemovalEntry& e : target.entries) gone += e.removed ? 1 : 0;
    log_.write("mdir::delete_entry () %s after %llu of %llu entries: %s\n",
               end == RemovalEnd::kStopped ? "stopped"
               : end == RemovalEnd::kMoved ? "moved"
                                           : "kept some",
               static_cast<unsigned long long>(gone), static_cast<unsigned long long>(target.entries.size()),
               target.path.c_str());
  }
  if (end == RemovalEnd::kStopped) return DeleteOutcome::kStopped;
  if (end == RemovalEnd::kMoved) return DeleteOutcome::kChanged;
  return end == RemovalEnd::kKeepsLink ? DeleteOutcome::kHoldsLink : DeleteOutcome::kFailed;
}

int mdir::open_lobj(lobj* p) {
  if (p == nullptr || p->parent == nullptr) return 1;
  // A path formed with such a name would open another file, or none.
  if (const char* name = unnamable_name(*p)) {
    show_message(strf("INVALID NAME: %s !", name), kMessageOk);
    return 1;
  }
  const std::string file = item_path(*p);

  std::string program;
  const int found = shell().find_executable(file, program);
  if (found == kFindFileNotFound) {
    show_message("File not found !", kMessageOk);
    return 2;
  }
  if (found == kFindOutOfMemory) {
    show_message("System out of memory/resources !", kMessageOk);
    return 1;
  }
  if (found == kFindNoAssociation) {
    show_message("No association with this file type !", kMessageOk);
    return 3;
  }
  if (found <= 32 || program.empty()) return 0;

  // The program gets a path it reads as this very file: the plain one where that is exact,
  // else the short form (which programs that take only plain paths still open), else the
  // extended one.
  const std::string argument =
      plain_path_is_exact(file) ? file : program_argument(file, disk_probe().short_path(file));
  const LaunchCommand command = launch_command(program, argument, settings_.iv, shell().system_folder());
  shell().start_program(command.application, command.command_line);
  return 0;
}

}  // namespace kelvane
