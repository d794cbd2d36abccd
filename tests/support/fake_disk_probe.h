#pragma once
// A disk probe for the tests, standing for both the scan's (scan/disk_probe.h) and the
// deletion's (removal/entry_probe.h): it knows the entries it is given and answers `otherwise`
// for the rest, so by default (unknown) nothing is taken for gone or changed. Every folder has
// the one identity `identity`, readable unless `identity_known` is false, except the folders of
// `identities` (a link given there has its target's).
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "removal/entry_probe.h"
#include "scan/disk_probe.h"
#include "scan/item_texts.h"
#include "scan/mdir.h"

namespace kelvane::testing_fakes {

class FakeDiskProbe : public DiskProbe, public EntryProbe {
 public:
  std::map<std::string, DiskEntry> entries;
  DiskEntry otherwise;  // unknown
  FolderId identity{7, 1, ""};
  bool identity_known = true;
  std::map<std::string, FolderId> identities;
  std::string unknown_drives;          // letters the system does not know
  std::string short_form;              // every path's short form; empty: none
  std::set<std::string> link_holders;  // folders with a link somewhere beneath

  void file(const std::string& path, uint64_t size) { entries[path] = {Presence::kPresent, false, size}; }
  void folder(const std::string& path) { entries[path] = {Presence::kPresent, true, 0}; }
  // Every folder and file of a tree, as the scan listed them.
  void holds(const mdir& dir) {
    for (lobj* f = dir.ptop; f != nullptr; f = f->next) {
      folder(f->fpath());
      for (lobj* x = f->first; x != nullptr; x = x->next) file(item_path(*x), x->size.load());
    }
  }

  DiskEntry entry(const std::string& path) override {
    const auto found = entries.find(path);
    return found == entries.end() ? otherwise : found->second;
  }
  bool folder_identity(const std::string& path, FolderId& id) override {
    const auto own = identities.find(path);
    id = own == identities.end() ? identity : own->second;
    return identity_known;
  }
  bool follows_links = true;        // as Wine's shell: the walk for links is made
  std::vector<std::string> walked;  // the folders the walk for links was asked about
  size_t looked_at = 0;             // folders it reported reading
  bool holds_link(const std::string& path, const std::atomic<bool>& stop,
                  const std::function<void(const std::string&)>& looking) override {
    walked.push_back(path);
    if (stop.load()) return false;
    if (looking) {
      looking(path);
      ++looked_at;
    }
    return link_holders.count(path) != 0;
  }
  bool shell_follows_links() override { return follows_links; }
  bool drive_known(char letter) override { return unknown_drives.find(letter) == std::string::npos; }
  std::string short_path(const std::string&) override { return short_form; }
};

}  // namespace kelvane::testing_fakes
