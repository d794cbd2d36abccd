#pragma once
// The walk: one scan of a drive or folder into mdir's tree, through a DirSource.
//
// read() builds the tree with direct totals (each folder counts only its own files and
// subfolders); totals() then turns them into recursive ones. They are separate so that each
// phase can be checked on its own; mdir::read_mdir runs both.
#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "scan/dir_source.h"
#include "scan/mdir.h"
#include "scan/read_ahead.h"

namespace kelvane {

// What a scan that found nothing to list tells the user.
inline constexpr char kInvalidPath[] = "INVALID PATH !";

class Walk {
 public:
  Walk(mdir& holder, DirSource& source, ScanClient* client);

  // The path as the walk takes it: '/' read as '\\', and a folder's trailing backslash gone
  // (a drive root keeps its own). The tree's paths are formed from it.
  static std::string scan_form(const std::string& path, bool drive);

  // Builds the tree from path (in its scan form), a drive root when drive is true, else a
  // folder. False when the scan failed: then no tree is left and message holds the text for
  // the user. A drive scan of a malformed path goes on and returns true with the message set.
  bool read(const std::string& path, bool drive, std::string& message);
  // True when the walk gave up because the holder was asked to stop.
  bool stopped() const;

  // Direct totals into recursive ones, in one pass over the folder list from top.
  static void totals(lobj* top);
  // The file list dump of verbosity 1. False when stop was set before it was complete.
  static bool dump(Log& log, lobj* top, const std::atomic<bool>* stop = nullptr);

 private:
  // One folder being read: the frames from the bottom up are the ancestors of every node
  // made at the top.
  struct Frame {
    FolderJob* job = nullptr;  // its listing; job->folder is what entries' paths come from
    lobj* node = nullptr;      // the folder itself (none for the listing of a folder scan's path)
    size_t index = 0;          // the next subfolder to enter
    int id_state = 0;          // 0 not asked yet, 1 known, 2 cannot be had
    FolderId id;
    // Beneath a followed link only: where the folder really is (empty elsewhere).
    std::string place;
  };

  // Reads the folder(s) that pattern names and everything beneath; node is the folder being
  // read (the drive root), or none when the enumeration finds the scanned folder itself.
  void read_sdir(const std::string& pattern, lobj* node);
  // Takes job's listing into a new top frame.
  void open_frame(FolderJob* job, lobj* node, std::string place = std::string());
  void add_folder(FolderJob* job);
  void add_file(const DirEntry& entry);
  // Whether a link's target is to be entered: only when no folder entered in this scan is it
  // or holds it. place gets where the target really is, when entered; the target's identity is
  // noted for node, the link's folder node, so that a deletion beneath it can tell the link
  // still leads there.
  bool enter_link(FolderJob* job, lobj* node, std::string& place);
  // The scan's root is entered whole: noted when the first link is met.
  void note_root();
  void note_entered(const FolderId& id);
  bool inside_entered(const std::string& place) const;
  bool loops_back(const FolderId& target);
  bool stop_asked() const;

  mdir& m_;
  DirSource& source_;
  ScanClient* client_;
  int level_ = 0;  // verbosity
  std::vector<Frame> frames_;
  ReadAhead* ahead_ = nullptr;  // while read() runs
  size_t depth_ = 0;            // frames in use
  bool drive_ = false;          // a drive root's scan, else a folder's
  bool top_is_file_ = false;
  bool stopped_ = false;

  // Folders entered whole in this scan: the root and every link target followed. A folder of
  // the root's own tree is never a link's target that gets entered (the target lies inside the
  // root), so only folders beneath followed links are looked up here.
  bool root_noted_ = false;
  std::unordered_set<std::string> entered_places_;
  std::set<std::pair<uint64_t, uint64_t>> entered_ids_;

  // The scan state of the algorithm: the depth being read, the folder made last and its depth.
  int dep = 0;
  lobj* ldir = nullptr;
  int ldep = 0;
};

}  // namespace kelvane
