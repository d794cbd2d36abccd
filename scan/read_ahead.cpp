#include "scan/read_ahead.h"

#include <chrono>
#include <system_error>

#include "base/redirection_off.h"
#include "scan/exact_path.h"
#include "scan/search_pattern.h"

namespace kelvane {
namespace {

// How often a waiting walk looks at the stop flag: the program asks from another thread and
// does not wake the pool itself.
constexpr auto kStopPoll = std::chrono::milliseconds(10);

bool is_dots(std::string_view name) { return name == "." || name == ".."; }

}  // namespace

int ReadAhead::default_readers() {
  const unsigned n = std::thread::hardware_concurrency();
  return n < 2 ? 2 : static_cast<int>(n);
}

ReadAhead::ReadAhead(DirSource& source, int readers, const std::atomic<bool>& stop)
    : source_(source), stop_(stop) {
  for (int i = 0; i < readers; ++i) {
    try {
      threads_.emplace_back(&ReadAhead::reader, this);
    } catch (const std::system_error&) {
      break;  // fewer readers, or none: the walk reads what no reader takes
    }
  }
}

ReadAhead::~ReadAhead() {
  {
    std::lock_guard<LightMutex> lock(mutex_);
    closing_.store(true);
  }
  changed_.notify_all();
  for (std::thread& t : threads_) t.join();
  while (live_) free_job(live_);
}

bool ReadAhead::ending() const {
  return closing_.load(std::memory_order_relaxed) || stop_.load(std::memory_order_relaxed);
}

FolderJob* ReadAhead::make_job(std::string folder, std::string pattern, size_t name_at, bool is_link) {
  FolderJob* job = new (memory_.allocate(sizeof(FolderJob), alignof(FolderJob))) FolderJob(&memory_);
  job->folder = folder;
  job->pattern = pattern;
  job->name_at = static_cast<uint32_t>(name_at);
  job->is_link = is_link;
  std::lock_guard<LightMutex> lock(mutex_);
  job->live_next = live_;
  if (live_) live_->live_prev = job;
  live_ = job;
  return job;
}

void ReadAhead::free_job(FolderJob* job) {
  // Under the lock.
  if (job->live_prev) job->live_prev->live_next = job->live_next;
  if (job->live_next) job->live_next->live_prev = job->live_prev;
  if (live_ == job) live_ = job->live_next;
  job->~FolderJob();
  memory_.deallocate(job, sizeof(FolderJob), alignof(FolderJob));
}

FolderJob* ReadAhead::root(const std::string& pattern, const std::string& folder) {
  FolderJob* job = make_job(folder, pattern, folder.size(), false);
  if (!threads_.empty()) {
    std::lock_guard<LightMutex> lock(mutex_);
    job->state = kOffered;
    ++job->offers;
    offered_.push_back(job);
  }
  changed_.notify_one();
  return job;
}

bool ReadAhead::list(FolderJob* job, const FileSink* on_file) {
  if (job->unreadable) {
    job->listed = false;
    return !ending();
  }
  bool stopped = false;
  std::pmr::vector<FolderJob*> children(&memory_);
  // Plain copies for the interfaces; the job's own strings live in the scan's scratch memory.
  const std::string folder(job->folder);
  job->listed = source_.list(std::string(job->pattern), [&](const DirEntry& e) {
    if (ending()) {
      stopped = true;
      return false;
    }
    if (!e.is_dir) {
      if (on_file) {
        if ((*on_file)(e)) return true;
        stopped = true;
        return false;
      }
      FolderJob::File f{e.size, static_cast<uint32_t>(job->names.size()),
                        static_cast<uint32_t>(e.name.size()), e.stamp};
      job->names.append(e.name);
      job->files.push_back(f);
      return true;
    }
    if (is_dots(e.name)) return true;
    std::string path = join_path(folder, e.name);
    const size_t name_at = path.size() - e.name.size();
    std::string pattern = folder_pattern(path);
    // A folder whose name no path can carry is never read: every path formed from it names
    // another folder or none. It stays empty, as a folder that cannot be read.
    const bool unnamable = !name_fits_path(e.name);
    FolderJob* child = make_job(std::move(path), std::move(pattern), name_at, e.is_link && !unnamable);
    child->unreadable = unnamable;
    child->stamp = e.stamp;
    child->beneath_link = job->is_link || job->beneath_link;
    children.push_back(child);
    return true;
  });
  job->children = std::move(children);
  return !stopped;
}

void ReadAhead::listed(FolderJob* job) {
  job->state = kListed;
  buffered_ += job->files.size() + job->children.size();
  if (threads_.empty()) return;
  // Reversed onto the stack, so that the first subfolder, which the walk enters first, is
  // read first; links wait for the walk's cycle check.
  for (size_t i = job->children.size(); i-- > 0;) {
    FolderJob* c = job->children[i];
    if (c->is_link || c->beneath_link) continue;
    c->state = kOffered;
    ++c->offers;
    offered_.push_back(c);
  }
}

void ReadAhead::reader() {
  // A reader only lists folders: it sees them as the walk does, never redirected.
  RedirectionOff real;
  std::unique_lock<LightMutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return ending() || (!offered_.empty() && buffered_ < kBufferedEntries); });
    if (ending()) return;
    FolderJob* job = offered_.back();
    offered_.pop_back();
    --job->offers;
    if (job->dropped) {
      if (job->offers == 0) free_job(job);
      continue;
    }
    if (job->state != kOffered) continue;  // the walk took it itself
    job->state = kClaimed;
    lock.unlock();
    const bool done = list(job, nullptr);
    lock.lock();
    if (!done) return;  // stopping: the walk does not wait for it any more
    if (job->dropped) {
      job->state = kListed;
      lock.unlock();
      drop(job);
      lock.lock();
      continue;
    }
    listed(job);
    changed_.notify_all();
  }
}

bool ReadAhead::take(FolderJob* job, const FileSink& on_file) {
  std::unique_lock<LightMutex> lock(mutex_);
  if (job->state == kHeld || job->state == kOffered) {
    // No reader has it: read it now, handing its files on as they come.
    job->state = kClaimed;
    lock.unlock();
    const bool done = list(job, &on_file);
    lock.lock();
    if (!done) return false;
    listed(job);
    buffered_ -= job->files.size() + job->children.size();
    changed_.notify_all();
    return true;
  }
  while (job->state != kListed) {
    if (stop_.load(std::memory_order_relaxed)) return false;
    changed_.wait_for(lock, kStopPoll);
  }
  lock.unlock();
  bool going = true;
  for (const FolderJob::File& f : job->files) {
    DirEntry e;
    e.name = std::string_view(job->names).substr(f.name_at, f.name_size);
    e.size = f.size;
    e.stamp = f.stamp;
    if (!on_file(e)) {
      going = false;
      break;
    }
  }
  lock.lock();
  const bool was_full = buffered_ >= kBufferedEntries;
  buffered_ -= job->files.size() + job->children.size();
  job->files.clear();
  job->files.shrink_to_fit();
  job->names.clear();
  job->names.shrink_to_fit();
  if (was_full && buffered_ < kBufferedEntries) changed_.notify_all();
  return going;
}

void ReadAhead::drop(FolderJob* job) {
  std::lock_guard<LightMutex> lock(mutex_);
  // A job the walk never entered (a link looping back, or the rest of a stopped walk) may
  // still be offered, or being read: the reader that finishes it frees it.
  std::vector<FolderJob*> pending{job};
  while (!pending.empty()) {
    FolderJob* j = pending.back();
    pending.pop_back();
    if (j->state == kClaimed) {
      j->dropped = true;
      continue;
    }
    for (FolderJob* c : j->children)
      if (c) pending.push_back(c);
    j->children.clear();
    if (j->offers > 0) {
      j->dropped = true;
    } else {
      free_job(j);
    }
  }
}

}  // namespace kelvane
