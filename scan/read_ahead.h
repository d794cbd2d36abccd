#pragma once
// Reading folders ahead of the walk. Under Wine (and on slow disks) reading a folder is what a
// scan costs, and it parallelises: a small pool of reader threads lists the folders the walk
// will enter next, in roughly the walk's own order, while the walk builds the tree from the
// listings already made. The walk still takes every listing in its own order, so the tree
// comes out exactly as a walk that reads each folder when it enters it.
//
// Budget: listings waiting for the walk hold at most kBufferedEntries entries before a reader
// starts another folder (a folder being read is finished even past the budget), so memory stays
// flat on any tree. With no readers (the sequential mode) the walk reads every folder itself
// when it enters it, as it always did.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory_resource>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/light_lock.h"
#include "scan/dir_source.h"
#include "scan/locked_pool.h"
#include "scan/scratch_memory.h"

namespace kelvane {

// One folder to be read: where its entries' paths come from, and once read, its files and its
// subfolders (as folders to read in turn).
struct FolderJob {
  explicit FolderJob(std::pmr::memory_resource* m) : pattern(m), folder(m), files(m), names(m), children(m) {}
  std::pmr::string pattern;  // what is listed
  std::pmr::string folder;   // the full path the entries' paths are formed from
  uint32_t name_at = 0;      // the folder's own name: folder.substr(name_at)
  bool is_link = false;      // entered only when the walk says so (its cycle check)
  // Beneath a link: the walk may find the folder entered already and skip it, so it is read
  // only when the walk takes it, never ahead (no folder is read for nothing).
  bool beneath_link = false;
  bool listed = false;      // the enumeration found something
  bool unreadable = false;  // its name cannot stand in a path: never listed
  uint32_t stamp = 0;       // the folder's own stamp, from the listing that found it
  struct File {
    uint64_t size;
    uint32_t name_at;
    uint32_t name_size;
    uint32_t stamp;
  };
  std::pmr::vector<File> files;  // buffered by a reader until the walk takes them
  std::pmr::string names;
  std::pmr::vector<FolderJob*> children;  // the subfolders in enumeration order

  std::string_view name() const { return std::string_view(folder).substr(name_at); }

 private:
  friend class ReadAhead;
  int state = 0;         // see ReadAhead
  int offers = 0;        // entries of the readers' stack naming this job
  bool dropped = false;  // the walk is done with it, freed when the last offer is taken
  FolderJob* live_prev = nullptr;
  FolderJob* live_next = nullptr;
};

class ReadAhead {
 public:
  // Entries that may wait in listings not yet taken by the walk.
  static constexpr size_t kBufferedEntries = 64000;
  // Readers for this machine: one per processor, at least 2.
  static int default_readers();

  // readers 0: no threads, every folder is read when the walk takes it. stop: the program
  // asks the scan to end; every reader notices it at its next entry.
  ReadAhead(DirSource& source, int readers, const std::atomic<bool>& stop);
  // Ends the readers (they stop at their next entry) and waits for them; frees every job.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The first folder: pattern as given, entries' paths formed from folder.
  FolderJob* root(const std::string& pattern, const std::string& folder);
  // Hands the job's files to on_file in enumeration order (reading the folder now if no reader
  // has) and fills its children. False when the scan was asked to stop.
  using FileSink = std::function<bool(const DirEntry&)>;
  bool take(FolderJob* job, const FileSink& on_file);
  // The walk is done with the job (its children were dropped before, or are dropped with it
  // when they were never entered).
  void drop(FolderJob* job);

  // How many reader threads run (tests and benchmarks).
  int readers() const { return static_cast<int>(threads_.size()); }

 private:
  enum State { kHeld, kOffered, kClaimed, kListed };
  void reader();
  // Lists job: files to on_file when given, else into the job's buffer. False when stopped.
  bool list(FolderJob* job, const FileSink* on_file);
  // Under the lock: the job is listed; its plain subfolders are offered to the readers.
  void listed(FolderJob* job);
  FolderJob* make_job(std::string folder, std::string pattern, size_t name_at, bool is_link);
  void free_job(FolderJob* job);
  bool ending() const;

  DirSource& source_;
  const std::atomic<bool>& stop_;
  // Jobs and listings live here: all of it goes back to the system when the scan ends.
  ScratchMemory scratch_;
  LockedPool memory_{&scratch_};
  std::atomic<bool> closing_{false};
  LightMutex mutex_;
  LightCondition changed_;
  std::vector<FolderJob*> offered_;  // a stack: the folder listed last is read first
  size_t buffered_ = 0;
  FolderJob* live_ = nullptr;  // every job not yet freed
  std::vector<std::thread> threads_;
};

}  // namespace kelvane
