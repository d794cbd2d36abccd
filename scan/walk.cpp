#include "scan/walk.h"

#include "base/size_sum.h"
#include "base/strf.h"
#include "scan/search_pattern.h"

namespace kelvane {
namespace {

// The scan thread is the only writer of a node's counters, so a plain load and store is an
// exact addition; each store publishes the whole value to the idle status reader. Sizes stop
// at the largest figure rather than wrap.
void add_relaxed(std::atomic<uint64_t>& total, uint64_t amount) {
  total.store(add_sizes(total.load(std::memory_order_relaxed), amount), std::memory_order_relaxed);
}
void add_relaxed(std::atomic<int32_t>& total, int32_t amount) {
  total.store(total.load(std::memory_order_relaxed) + amount, std::memory_order_relaxed);
}

void add_into_parent(lobj* x) {
  lobj* p = x->parent;
  if (!p) return;
  add_relaxed(p->size, x->size.load(std::memory_order_relaxed));
  add_relaxed(p->ndir, x->ndir.load(std::memory_order_relaxed));
  add_relaxed(p->nfil, x->nfil.load(std::memory_order_relaxed));
}

std::string indent(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "  ";
  return text;
}

// A drive given as letter and colon names the drive's current folder, not its root; the
// identity of the root needs the backslash.
std::string identity_path(const std::string& folder) {
  if (folder.size() == 2 && folder[1] == ':') return folder + "\\";
  return folder;
}

}  // namespace

Walk::Walk(mdir& holder, DirSource& source, ScanClient* client)
    : m_(holder), source_(source), client_(client), level_(holder.settings().vl) {}

bool Walk::stop_asked() const { return m_.stop_.load(std::memory_order_relaxed); }

bool Walk::stopped() const { return stopped_; }

std::string Walk::scan_form(const std::string& path, bool drive) {
  // The platform takes '/' for a separator too, but the paths of the entries are formed at
  // backslashes only: "D:/DATA/SUB" would otherwise hang SUB's entries on "D:\\SUB".
  std::string form = path;
  for (char& c : form) {
    if (c == '/') c = '\\';
  }
  if (!drive && !form.empty() && form.back() == '\\') form.pop_back();
  return form;
}

bool Walk::read(const std::string& path, bool drive, std::string& message) {
  message.clear();
  drive_ = drive;
  dep = 0;
  ldir = nullptr;
  ldep = 0;
  stopped_ = false;
  top_is_file_ = false;
  root_noted_ = false;
  entered_places_.clear();
  entered_ids_.clear();
  Log& log = m_.log();

  if (drive) {
    lobj* root = m_.new_node();
    root->isdir = 1;
    root->depth = 0;
    root->name = m_.copy_text(path);
    root->root_path = root->name;
    m_.add_lobj(root, nullptr);
    ldir = root;

    std::string pattern;
    if (path.size() == 2) {
      pattern = path + "\\*.*";
    } else if (path.size() == 3 && path[2] == '\\') {
      pattern = path + "*.*";
    }
    if (pattern.empty()) {
      // "D:X" names X in the drive's current folder, while the tree would give its entries
      // paths under the drive's root: a later Delete would act on entries the user never saw.
      // Such a path is refused like any other that cannot be scanned.
      top_is_file_ = true;
    } else {
      if (level_ >= 2) log.write("    read_sdir () started ...\n");
      read_sdir(pattern, root);
      if (level_ >= 2) log.write("    read_sdir () finished ...\n");
    }
  } else {
    // A wildcard would make the enumeration of path report several entries or files, which
    // the tree has no folder to hang on.
    const bool refused = path.empty() || path.find("\\*.*") != std::string::npos ||
                         path.find_first_of("*?") != std::string::npos;
    if (!refused) {
      if (level_ >= 2) log.write("    read_sdir () started ...\n");
      read_sdir(path, nullptr);
      if (level_ >= 2) log.write("    read_sdir () finished ...\n");
    } else {
      top_is_file_ = true;
    }
  }

  m_.pcur.store(nullptr, std::memory_order_release);
  if (stopped_) {
    message.clear();
    if (m_.ptop) m_.retire_tree();
    return false;
  }
  if (!m_.ptop || top_is_file_) {
    // Nothing half-built stays behind: the program can scan again at once.
    if (m_.ptop) m_.retire_tree();
    message = kInvalidPath;
    return false;
  }
  return true;
}

void Walk::open_frame(FolderJob* job, lobj* node, std::string place) {
  if (client_) client_->scan_progress(std::string(job->pattern));
  if (depth_ == frames_.size()) frames_.emplace_back();
  Frame& f = frames_[depth_++];
  f.job = job;
  f.node = node;
  f.index = 0;
  f.id_state = 0;
  f.place = std::move(place);
  const bool going = ahead_->take(job, [this](const DirEntry& e) {
    if (stop_asked()) return false;
    // A file is hung on the folder at once: its place in the tree does not depend on the
    // subfolders listed around it.
    add_file(e);
    return true;
  });
  if (!going) stopped_ = true;
}

void Walk::read_sdir(const std::string& pattern, lobj* node) {
  ReadAhead ahead(source_, m_.settings().sq == 1 ? 0 : ReadAhead::default_readers(), m_.stop_);
  ahead_ = &ahead;
  depth_ = 0;
  open_frame(ahead.root(pattern, pattern_folder(pattern)), node);
  // The frames stand for the recursion of the folder-by-folder algorithm: the top one is the
  // folder whose entries are being read. No enumeration is held open across a descent, and
  // the depth of the tree costs no stack.
  while (depth_ > 0) {
    if (stopped_ || stop_asked()) {
      stopped_ = true;
      break;
    }
    Frame& f = frames_[depth_ - 1];
    if (f.index == f.job->children.size()) {
      ahead.drop(f.job);
      --depth_;
      if (depth_ > 0) {
        --dep;  // back from a subfolder into the folder that listed it
        Frame& below = frames_[depth_ - 1];
        below.job->children[below.index - 1] = nullptr;  // dropped with its frame
      }
      continue;
    }
    add_folder(f.job->children[f.index++]);
  }
  // A stopped walk leaves its jobs to the pool, which frees them once its readers have ended.
  depth_ = 0;
  ahead_ = nullptr;
}

void Walk::add_folder(FolderJob* job) {
  ++dep;
  lobj* node = m_.new_node();
  node->isdir = 1;
  node->depth = dep;
  node->prev = ldir;
  node->stamp = job->stamp;

  lobj* parent = nullptr;
  if (dep == 1) {
    parent = m_.ptop.load(std::memory_order_relaxed);
  } else {
    parent = ldir;
    if (ldep >= dep) {
      for (int i = ldep - dep + 1; i > 0 && parent; --i) parent = parent->parent;
    }
  }
  node->parent = parent;
  if (parent) {
    node->name = m_.copy_text(job->name());
    add_relaxed(parent->ndir, 1);
  } else {
    // The root of a folder scan holds the path it was scanned as; its name is the last part.
    node->root_path = m_.copy_text(job->folder);
    node->name = node->root_path + job->name_at;
  }
  m_.add_lobj(node, nullptr);
  ldir = node;
  ldep = dep;

  // Every real folder is entered once per scan: a link to a folder entered already (an
  // ancestor, the root, another link's target or a folder beneath one) is listed with 0 B but
  // not entered, so the totals count what the disk holds once and a loop ends at once. The
  // folders of the root's own tree cost nothing here; beneath a followed link each is looked
  // up by the place its path gives, without asking the platform.
  std::string place;
  bool enter = true;
  if (job->is_link) {
    enter = enter_link(job, node, place);
  } else if (const std::string& above = frames_[depth_ - 1].place; !above.empty()) {
    place.reserve(above.size() + 1 + job->name().size());
    place = above;
    place += '\\';
    place += job->name();
    enter = entered_places_.count(place) == 0;
  }
  if (!enter) {
    --dep;
    Frame& f = frames_[depth_ - 1];
    f.job->children[f.index - 1] = nullptr;
    ahead_->drop(job);
    return;
  }
  open_frame(job, node, std::move(place));
}

void Walk::add_file(const DirEntry& entry) {
  if (!drive_ && depth_ == 1) {
    // The path of a folder scan names a file: there is no folder to hang it on.
    top_is_file_ = true;
    return;
  }
  lobj* p = ldir;
  while (p && p->depth > dep) p = p->parent;
  // Release: the status reader follows pcur to the node's path.
  m_.pcur.store(p, std::memory_order_release);

  lobj* file = m_.new_file();
  file->isdir = 0;
  file->depth = dep + 1;
  file->size.store(capped_size(entry.size), std::memory_order_relaxed);
  file->stamp = entry.stamp;
  file->name = m_.copy_text(entry.name);
  file->parent = p;
  if (!p) return;
  file->prev = p->last;
  add_relaxed(p->size, entry.size);
  add_relaxed(p->nfil, 1);
  m_.add_lobj(file, p);
}

bool Walk::enter_link(FolderJob* job, lobj* node, std::string& place) {
  note_root();
  FolderId target;
  // A target that cannot be told might be anything, an ancestor too: not entered.
  if (!source_.identity(std::string(job->folder), target)) return false;
  if (entered_ids_.count({target.volume, target.file})) return false;
  if (target.place.empty() ? loops_back(target) : inside_entered(target.place)) return false;
  note_entered(target);
  if (depth_ > 0 && frames_[depth_ - 1].node) {
    place = target.place;
    m_.entered_links_.note(node, target);
  } else {
    // The scan's root itself is a link: its tree is the root's own, read ahead as any. No
    // reader has seen the job (links are never offered), so the walk may still change it.
    job->is_link = false;
  }
  return true;
}

void Walk::note_root() {
  if (root_noted_) return;
  root_noted_ = true;
  for (size_t i = 0; i < depth_; ++i) {
    Frame& f = frames_[i];
    if (!f.node) continue;
    FolderId id;
    if (source_.identity(identity_path(std::string(f.job->folder)), id)) note_entered(id);
    return;
  }
}

void Walk::note_entered(const FolderId& id) {
  entered_ids_.insert({id.volume, id.file});
  if (!id.place.empty()) entered_places_.insert(id.place);
}

bool Walk::inside_entered(const std::string& place) const {
  if (entered_places_.count(place)) return true;
  for (size_t i = place.size(); i-- > 0;) {
    if (place[i] == '\\' && entered_places_.count(place.substr(0, i))) return true;
  }
  return false;
}

bool Walk::loops_back(const FolderId& target) {
  // Without a place only the ancestors can be told; their identities are asked now, once each.
  for (size_t i = depth_; i-- > 0;) {
    Frame& f = frames_[i];
    if (!f.node) continue;
    if (f.id_state == 0)
      f.id_state = source_.identity(identity_path(std::string(f.job->folder)), f.id) ? 1 : 2;
    if (f.id_state == 1 && f.id == target) return true;
  }
  return false;
}

void Walk::totals(lobj* top) {
  if (!top) return;
  lobj* x = top;
  lobj* n = top->next;
  while (n) {
    while (x && x != n->parent) {
      add_into_parent(x);
      x = x->parent;
    }
    x = n;
    n = n->next;
  }
  while (x && x != top) {
    add_into_parent(x);
    x = x->parent;
  }
}

bool Walk::dump(Log& log, lobj* top, const std::atomic<bool>* stop) {
  log.write_text("FILE-LIST:\n");
  for (lobj* f = top; f; f = f->next) {
    // One flushed line per entry: on a large tree this is the longest step of all.
    if (stop && stop->load(std::memory_order_relaxed)) return false;
    if (f->parent) {
      log.write_text(indent(f->depth) +
                     strf("%s:%s:%s\n", f->name, f->parent->name, f->prev ? f->prev->name : ""));
    } else {
      log.write_text(indent(f->depth) + strf("pa->mdir.ptop: %s\n", f->name));
    }
    // A folder may hold a hundred thousand files: the stop is looked at for each.
    for (lobj* file = f->first; file; file = file->next) {
      if (stop && stop->load(std::memory_order_relaxed)) return false;
      log.write_text(indent(file->depth) + strf("%s Parent:%s\n", file->name, f->name));
    }
  }
  return true;
}

}  // namespace kelvane
