#include "scan/mft_tree.h"

#include <algorithm>

#include "base/size_sum.h"
#include "scan/entry_stamp.h"

namespace kelvane {
namespace {

constexpr uint64_t kNumberMask = 0x0000FFFFFFFFFFFFull;
constexpr uint32_t kRootRecord = 5;
constexpr uint32_t kExtendRecord = 11;
// Below this every record is one of the file system's own: none is listed.
constexpr uint32_t kFirstUserRecord = 24;
constexpr uint32_t kTagMountPoint = 0xA0000003;
constexpr uint32_t kTagSymlink = 0xA000000C;

enum : uint16_t {
  kBase = 1,      // the base record came
  kDir = 2,       // a folder
  kLink = 4,      // a symbolic link or junction: listed, never entered
  kEntered = 8,   // reached while building
  kBad = 16,      // its extension records belong to another file: left out
  kClaimed = 32,  // an extension record named the sequence number in `entered`
  // Listed, the entry would not be what the walk shows (why_for says why): the walk must run.
  // Only entries of the tree made count: a folder's scan does not give way to a link elsewhere.
  kWineLink = 64,
  kOffDrive = 128,
  // Under Wine's rule, ntfs-3g's Interix link with its target: listed as what it names, which
  // the table follows as the mount's lookup does.
  kUnixLink = 256,
  // What makes one, from the base record and from whichever record holds the data: a system
  // file, data that is a link's (its target in links_), data that might be and was not read.
  kSystem = 512,
  kLinkData = 1024,
  kMaybeLinkData = 2048,
};

// Indexes into records_ or names_, and what following a link may end in besides a record.
constexpr uint32_t kNone = UINT32_MAX;
constexpr uint32_t kGone = UINT32_MAX - 1;     // the lookup fails: Wine lists no such entry
constexpr uint32_t kUnknown = UINT32_MAX - 2;  // the table cannot tell: the walk must run
// Links one lookup follows at most before it fails, as Linux counts them.
constexpr int kLinksPerLookup = 40;

const char* why_for(uint16_t flags) {
  if (flags & kWineLink) return "links Wine lists as what they name";
  if (flags & kOffDrive) return "a link to a folder off the drive";
  return nullptr;
}

// The next UTF-16 unit of a UTF-8 name, upper-cased as NTFS orders names; pending holds the
// low surrogate of a character beyond the basic plane.
uint32_t next_unit(std::string_view s, size_t& i, uint32_t& pending) {
  if (pending) {
    const uint32_t low = pending;
    pending = 0;
    return low;
  }
  const auto b = static_cast<unsigned char>(s[i]);
  uint32_t c = b;
  size_t more = 0;
  if (b >= 0xF0) {
    c = b & 0x07;
    more = 3;
  } else if (b >= 0xE0) {
    c = b & 0x0F;
    more = 2;
  } else if (b >= 0xC0) {
    c = b & 0x1F;
    more = 1;
  }
  ++i;
  for (; more > 0 && i < s.size(); --more, ++i) c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
  if (c >= 0x10000) {
    c -= 0x10000;
    pending = 0xDC00 + (c & 0x3FF);
    return 0xD800 + (c >> 10);
  }
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

// -1, 0 or 1 as a comes before, with or after b by their upper-cased UTF-16 units.
int compare_units(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  uint32_t pa = 0, pb = 0;
  while ((i < a.size() || pa) && (j < b.size() || pb)) {
    const uint32_t x = next_unit(a, i, pa);
    const uint32_t y = next_unit(b, j, pb);
    if (x != y) return x < y ? -1 : 1;
  }
  const bool more_a = i < a.size() || pa, more_b = j < b.size() || pb;
  return more_a == more_b ? 0 : more_b ? -1 : 1;
}

// The order in which NTFS keeps a folder's names, and so lists them: by their upper-cased
// UTF-16 units.
bool listed_before(std::string_view a, std::string_view b) {
  const int units = compare_units(a, b);
  return units != 0 ? units < 0 : a < b;
}

// Whether two names are one to NTFS's and Windows' lookup: equal unit by unit, upper-cased. A
// letter the upper-casing here does not know makes two spellings differ, never two names one.
bool same_name(std::string_view a, std::string_view b) { return compare_units(a, b) == 0; }

void add_size(std::atomic<uint64_t>& total, uint64_t amount) {
  total.store(add_sizes(total.load(std::memory_order_relaxed), amount), std::memory_order_relaxed);
}
void add_count(std::atomic<int32_t>& total) {
  total.store(total.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

}  // namespace

MftTree::MftTree(uint64_t records, ListingRule rule, char drive) : rule_(rule), drive_(drive) {
  slots_.assign(static_cast<size_t>(std::min<uint64_t>(records, UINT32_MAX)), 0);
}

MftTree::Record& MftTree::record_of(uint64_t number) {
  uint32_t& slot = slots_[static_cast<size_t>(number)];
  if (slot == 0) {
    records_.emplace_back();
    records_.back().number = static_cast<uint32_t>(number);
    slot = static_cast<uint32_t>(records_.size());
  }
  return records_[slot - 1];
}

bool MftTree::add(const MftRecord& in) {
  const uint64_t number = in.base_ref ? (in.base_ref & kNumberMask) : in.number;
  if (number >= slots_.size()) {
    why_ = "a record beyond the table";
    return false;
  }
  if (records_.size() >= kUnknown - 1 || names_.size() + in.names.size() >= kUnknown - 1) {
    why_ = "more records than this reader keeps";
    return false;
  }
  Record& r = record_of(number);
  if (in.base_ref) {
    // An extension record: its attributes are its base record's, if that is still the file it
    // was written for.
    const auto sequence = static_cast<uint16_t>(in.base_ref >> 48);
    if (r.flags & kBase) {
      if (r.sequence != sequence) return true;
    } else if (r.flags & kClaimed) {
      if (r.claimed != sequence) r.flags |= kBad;
    } else {
      r.claimed = sequence;
      r.flags |= kClaimed;
    }
  } else {
    if ((r.flags & kClaimed) && r.claimed != in.sequence) r.flags |= kBad;
    r.flags |= kBase;
    r.sequence = in.sequence;
    if (in.is_dir) r.flags |= kDir;
  }
  if (in.has_times) {
    r.created = in.created;
    r.written = in.written;
  }
  if (in.has_size) r.size = in.size;
  if (in.number >= kFirstUserRecord || in.base_ref) {
    if (rule_ == ListingRule::kWine) {
      // ntfs-3g shows a reparse point as a Unix link, which Wine lists as what it names; where it
      // leads is not in the record.
      if (in.has_reparse) r.flags |= kWineLink;
      if (!in.base_ref && (in.attributes & MftRecord::kSystemAttribute)) r.flags |= kSystem;
      if (in.maybe_interix_link) r.flags |= kMaybeLinkData;
      if (in.interix_link) {
        r.flags |= kLinkData;
        links_.push_back({static_cast<uint32_t>(&r - records_.data()), static_cast<uint32_t>(texts_.size()),
                          static_cast<uint32_t>(in.link_target.size())});
        texts_.append(in.link_target);
      }
    }
    if (in.has_reparse && (in.reparse_tag == kTagMountPoint || in.reparse_tag == kTagSymlink)) {
      r.flags |= kLink;
      const std::string& to = in.reparse_target;
      const bool on_volume = to.rfind(".\\", 0) == 0 || (to.size() >= 6 && to.compare(0, 4, "\\??\\") == 0 &&
                                                         to[5] == ':' && (to[4] & ~0x20) == drive_);
      // The walk enters a link to a folder elsewhere: only the walk can give that tree.
      if (in.is_dir && !on_volume) r.flags |= kOffDrive;
    }
  }
  for (const MftName& n : in.names) {
    Name name;
    name.parent_ref = n.parent_ref;
    name.record = static_cast<uint32_t>(&r - records_.data());
    name.text_at = static_cast<uint32_t>(texts_.size());
    name.text_size = static_cast<uint16_t>(n.name.size());
    name.next = r.first_name;
    texts_.append(n.name);
    names_.push_back(name);
    r.first_name = static_cast<uint32_t>(names_.size());
  }
  return true;
}

uint64_t MftTree::stamp_id(const Record& r) const {
  if (rule_ == ListingRule::kWine) return r.number;
  return (static_cast<uint64_t>(r.sequence) << 48) | r.number;
}

uint32_t MftTree::stamp_of(const Record& r) const {
  // Wine gives the last-write time for the creation time.
  if (r.flags & kDir) return folder_stamp(stamp_id(r), rule_ == ListingRule::kWine ? r.written : r.created);
  if (rule_ == ListingRule::kWine) return file_stamp(r.written, r.written, stamp_id(r));
  return file_stamp(r.created, r.written, stamp_id(r));
}

struct MftTree::Layout {
  const std::pmr::vector<uint32_t>& start;     // a folder's children: children[start[r], start[r + 1])
  const std::pmr::vector<uint32_t>& children;  // names, folder by folder, in listed order
  const std::pmr::vector<uint32_t>& parent;    // each name's folder, or kNone
};

// Where the link listed under name leads, as the mount's lookup of its target follows it from
// the link's folder: a record (a file, or a folder reached by its path), kGone when the lookup
// fails (Wine then lists nothing under that name: no such name, a file taken for a folder, a loop
// of links), kUnknown when the table cannot tell (an absolute target off the drive, a way out of
// the volume, a name the lookup may match some other way).
uint32_t MftTree::follow(uint32_t name, const Layout& layout, int& budget) const {
  if (--budget < 0) return kGone;
  const uint32_t record = names_[name].record;
  const auto link = std::lower_bound(links_.begin(), links_.end(), record,
                                     [](const LinkTarget& t, uint32_t r) { return t.record < r; });
  if (link == links_.end() || link->record != record) return kUnknown;
  std::string_view path = std::string_view(texts_).substr(link->text_at, link->text_size);
  if (path.empty()) return kGone;
  uint32_t at = layout.parent[name];
  std::string below_root;
  if (path[0] == '/') {
    // Where the mount lies is not on the volume: the platform says whether the target is on it.
    if (!absolute_ || !absolute_(std::string(path), below_root)) return kUnknown;
    path = below_root;
    at = slots_[kRootRecord] - 1;
  }
  for (size_t i = 0; at != kNone;) {
    const size_t end = std::min(path.find('/', i), path.size());
    const std::string_view part = path.substr(i, end - i);
    const bool last = path.find_first_not_of('/', end) == std::string_view::npos;
    const bool as_folder = end < path.size();  // a slash follows: it must be a folder
    i = end + 1;
    if (part.empty() || part == ".") {
      if (last) return at;
      continue;
    }
    if (part == "..") {
      // Above the volume's root lies the mount's own folder, which the table does not hold.
      const Record& folder = records_[at];
      if (folder.number == kRootRecord || folder.first_name == 0) return kUnknown;
      at = layout.parent[folder.first_name - 1];
      if (at != kNone && last) return at;
      continue;
    }
    // The folder's names are in listed order: those one to the lookup lie side by side.
    const auto text = [this](uint32_t n) {
      return std::string_view(texts_).substr(names_[n].text_at, names_[n].text_size);
    };
    const auto folder_end = layout.children.begin() + layout.start[at + 1];
    const auto first = std::partition_point(layout.children.begin() + layout.start[at], folder_end,
                                            [&](uint32_t n) { return compare_units(text(n), part) < 0; });
    const auto end_of = std::partition_point(first, folder_end,
                                             [&](uint32_t n) { return compare_units(text(n), part) == 0; });
    uint32_t found = kNone;
    for (auto c = first; c != end_of; ++c) {
      if (text(*c) == part) found = *c;
    }
    const bool other_spelling = end_of - first > (found == kNone ? 0 : 1);
    // ntfs-3g may match a Windows name in another case, and the file system's own files are
    // found by name though never listed.
    if (found == kNone) return other_spelling || part[0] == '$' ? kUnknown : kGone;
    uint32_t to = names_[found].record;
    if (records_[to].flags & (kWineLink | kBad)) return kUnknown;
    if (records_[to].flags & kUnixLink) {
      to = follow(found, layout, budget);
      if (to == kGone || to == kUnknown) return to;
    }
    if (records_[to].flags & kDir) {
      if (last) return to;
      at = to;
      continue;
    }
    return last && !as_folder ? to : kGone;
  }
  return kUnknown;
}

bool MftTree::build(mdir& holder, const std::string& root_path, const std::atomic<bool>& stop,
                    const MftFolder* folder) {
  if (kRootRecord >= slots_.size() || slots_[kRootRecord] == 0 ||
      !(records_[slots_[kRootRecord] - 1].flags & kDir)) {
    why_ = "no root folder";
    return false;
  }
  // ntfs-3g's links, now that each file's records are all in: a system file whose data is a
  // link's is one; one whose data might be and was not read cannot be listed as Wine lists it.
  for (Record& r : records_) {
    if (!(r.flags & kSystem)) continue;
    if (r.flags & kMaybeLinkData) {
      r.flags |= kWineLink;
    } else if (r.flags & kLinkData) {
      r.flags |= kUnixLink;
    }
  }
  // Each name under its folder, if that folder is there as a folder: counted per folder, then
  // laid out folder by folder.
  std::pmr::vector<uint32_t> parent(names_.size(), kNone, &scratch_);
  std::pmr::vector<uint32_t> start(records_.size() + 1, 0, &scratch_);
  // Names whose folder is not there: a drive's scan counts them, a folder's cannot tell whether
  // they were beneath it.
  uint64_t broken = 0;
  for (size_t i = 0; i < names_.size(); ++i) {
    const Name& n = names_[i];
    const Record& r = records_[n.record];
    if (r.number < kFirstUserRecord) continue;
    if (!(r.flags & kBase) || (r.flags & kBad)) {
      ++broken;
      continue;
    }
    const uint64_t number = n.parent_ref & kNumberMask;
    const uint32_t slot = number < slots_.size() ? slots_[static_cast<size_t>(number)] : 0;
    if (slot == 0) {
      ++broken;
      continue;
    }
    const Record& p = records_[slot - 1];
    if (p.number < kFirstUserRecord && p.number != kRootRecord && p.number != kExtendRecord) {
      ++broken;
      continue;
    }
    if (!(p.flags & kBase) || p.sequence != static_cast<uint16_t>(n.parent_ref >> 48) || !(p.flags & kDir) ||
        (p.flags & (kLink | kBad))) {
      ++broken;
      continue;
    }
    parent[i] = slot - 1;
    ++start[slot];
  }
  for (size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
  std::pmr::vector<uint32_t> children(start.back(), &scratch_);
  {
    std::pmr::vector<uint32_t> fill(start.begin(), start.end() - 1, &scratch_);
    for (size_t i = 0; i < names_.size(); ++i) {
      if (parent[i] != kNone) children[fill[parent[i]]++] = static_cast<uint32_t>(i);
    }
  }
  auto text = [this](uint32_t name) {
    return std::string_view(texts_).substr(names_[name].text_at, names_[name].text_size);
  };
  for (size_t r = 0; r + 1 < start.size(); ++r) {
    if (start[r + 1] - start[r] > 1)
      std::sort(children.begin() + start[r], children.begin() + start[r + 1],
                [&](uint32_t a, uint32_t b) { return listed_before(text(a), text(b)); });
  }
  // Under Wine's rule, each name of a link with where it leads.
  std::pmr::vector<uint32_t> leads_to(&scratch_);
  if (!links_.empty()) {
    std::sort(links_.begin(), links_.end(),
              [](const LinkTarget& a, const LinkTarget& b) { return a.record < b.record; });
    leads_to.assign(names_.size(), kNone);
    const Layout layout{start, children, parent};
    for (size_t i = 0; i < names_.size(); ++i) {
      if (!(records_[names_[i].record].flags & kUnixLink) || parent[i] == kNone) continue;
      int budget = kLinksPerLookup;
      leads_to[i] = follow(static_cast<uint32_t>(i), layout, budget);
    }
  }
  std::pmr::vector<uint32_t>(&scratch_).swap(parent);
  // What a name is listed as: its own record, or for a link the record it leads to (kGone,
  // kUnknown as follow gives them).
  auto shown = [&](uint32_t name) {
    const uint32_t own = names_[name].record;
    return (records_[own].flags & kUnixLink) ? leads_to[name] : own;
  };
  if (stop.load(std::memory_order_relaxed)) return false;
  if (!folder) left_out_ += broken;

  // A folder's scan: the folder reached from the root by the names of its path, as the
  // platform looks them up. A link on the way would take the platform's lookup elsewhere, and
  // a name that two entries answer to, or none, leaves it unknown which folder the user means:
  // the walk then shows what the platform finds. The folder found must be the one the
  // platform opened by that path, by its file id.
  uint32_t top = slots_[kRootRecord] - 1;
  uint32_t top_name = kNone;
  if (folder) {
    for (const std::string& part : folder->names) {
      uint32_t found = kNone;
      for (uint32_t c = start[top]; c < start[top + 1]; ++c) {
        if (!same_name(text(children[c]), part)) continue;
        if (found != kNone && names_[found].record != names_[children[c]].record) {
          why_ = "two entries answer to one name of the folder's path";
          return false;
        }
        found = children[c];
      }
      if (found == kNone) {
        why_ = "a name of the folder's path is not in the table";
        return false;
      }
      const Record& d = records_[names_[found].record];
      if (!(d.flags & kDir) || (d.flags & (kLink | kWineLink | kOffDrive))) {
        why_ = "the folder's path goes through a link or a file";
        return false;
      }
      top = names_[found].record;
      top_name = found;
    }
    if (folder->names.empty() || stamp_id(records_[top]) != folder->file_id) {
      why_ = "the folder the path opens is not the one the table names";
      return false;
    }
  }

  // Folders in pre-order, each folder's files as it is entered, as the walk makes them; a
  // folder reached a second time (a second name, or a loop of parents) is left out.
  struct Frame {
    uint32_t record;
    lobj* node;
    uint32_t at;
  };
  std::pmr::vector<Frame> frames(&scratch_);
  lobj* last_folder = nullptr;
  auto enter = [&](uint32_t rec, lobj* node) {
    records_[rec].flags |= kEntered;
    if (node) {
      for (uint32_t c = start[rec]; c < start[rec + 1]; ++c) {
        const uint32_t as = shown(children[c]);
        if (as == kUnknown) {
          why_ = "a link Wine lists as what it names, which the table cannot follow";
          return false;
        }
        if (as == kGone) continue;
        const uint16_t flags = records_[as].flags;
        if (const char* why = why_for(flags)) {
          why_ = why;
          return false;
        }
        // The walk of a folder enters a link to a folder outside it, which the table cannot
        // tell from its target's path for certain (the target may lie beneath other links):
        // a folder's tree that holds one is the walk's to make. A drive's walk enters none on
        // the drive, all of it being entered already.
        const bool unix_link = records_[names_[children[c]].record].flags & kUnixLink;
        if (folder && (flags & kDir) && (unix_link || (flags & kLink))) {
          why_ = "a link to a folder, which the folder's walk may enter";
          return false;
        }
      }
      holder.add_lobj(node, nullptr);
      holder.pcur.store(node, std::memory_order_release);
      for (uint32_t c = start[rec]; c < start[rec + 1]; ++c) {
        const uint32_t as = shown(children[c]);
        if (as == kGone || (records_[as].flags & kDir)) continue;
        const Record& f = records_[as];
        lobj* file = holder.new_file();
        file->isdir = 0;
        file->depth = static_cast<int16_t>(node->depth + 1);
        // A link's own length, as the walk counts it.
        const uint64_t size = (f.flags & kLink) ? 0 : f.size;
        file->size.store(capped_size(size), std::memory_order_relaxed);
        file->stamp = stamp_of(f);
        file->name = holder.copy_text(text(children[c]));
        file->parent = node;
        file->prev = node->last;
        add_size(node->size, size);
        add_count(node->nfil);
        holder.add_lobj(file, node);
        ++entries_;
      }
    }
    frames.push_back({rec, node, start[rec]});
    return true;
  };
  auto descend = [&](uint32_t top_record, lobj* top_node) {
    if (!enter(top_record, top_node)) return false;
    while (!frames.empty()) {
      if (stop.load(std::memory_order_relaxed)) return false;
      Frame& f = frames.back();
      if (f.at == start[f.record + 1]) {
        frames.pop_back();
        continue;
      }
      const uint32_t name = children[f.at++];
      // A link that leads to a folder is listed as that folder and never entered, as the walk
      // takes a link to a folder it has entered whole already.
      const bool unix_link = records_[names_[name].record].flags & kUnixLink;
      const uint32_t rec = shown(name);
      if (rec == kGone) continue;
      Record& d = records_[rec];
      if (!(d.flags & kDir)) continue;
      if (!unix_link && ((d.flags & kEntered) || frames.size() >= 30000)) {
        ++left_out_;
        continue;
      }
      lobj* node = nullptr;
      if (f.node) {
        node = holder.new_node();
        node->isdir = 1;
        node->depth = static_cast<int16_t>(f.node->depth + 1);
        node->prev = last_folder;
        node->stamp = stamp_of(d);
        node->name = holder.copy_text(text(name));
        node->parent = f.node;
        add_count(f.node->ndir);
        last_folder = node;
        ++entries_;
      }
      if (unix_link) {
        if (node) holder.add_lobj(node, nullptr);
        continue;
      }
      if (d.flags & kLink) {
        d.flags |= kEntered;
        if (node) holder.add_lobj(node, nullptr);
        continue;
      }
      if (!enter(rec, node)) return false;
    }
    return true;
  };

  lobj* root = holder.new_node();
  root->isdir = 1;
  if (folder) {
    // As the walk makes a folder's root: one level down, its path with the last name as the
    // disk spells it, that name its name, and its stamp.
    const size_t name_at = root_path.rfind('\\') + 1;
    const std::string path = root_path.substr(0, name_at) + std::string(text(top_name));
    root->depth = 1;
    root->stamp = stamp_of(records_[top]);
    root->root_path = holder.copy_text(path);
    root->name = root->root_path + name_at;
  } else {
    root->depth = 0;
    root->name = holder.copy_text(root_path);
    root->root_path = root->name;
  }
  last_folder = root;
  if (!descend(top, root)) return false;
  if (folder) return true;
  // The file system's own folder and what lies beneath it are neither listed nor left out.
  if (kExtendRecord < slots_.size() && slots_[kExtendRecord] != 0) {
    const uint32_t extend = slots_[kExtendRecord] - 1;
    if ((records_[extend].flags & kDir) && !(records_[extend].flags & kEntered) && !descend(extend, nullptr))
      return false;
  }
  // A name whose folder was never reached hangs beneath a loop of parents or beneath a second
  // name of a folder.
  for (size_t rec = 0; rec < records_.size(); ++rec) {
    if (!(records_[rec].flags & kEntered)) left_out_ += start[rec + 1] - start[rec];
  }
  return true;
}

}  // namespace kelvane
