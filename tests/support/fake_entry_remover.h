#pragma once
// A remover for the tests: every open entry is known by its path. It judges an entry by what
// the attached disk says of its path (an entry the disk does not know is as listed), records
// every removal it is asked for and every link it refused, and removes an entry (which then
// leaves the disk) unless it is failing. A link in own_links opens as itself (as on Windows); a
// folder in volumes is on that volume, any other on its folder's.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "removal/entry_remover.h"
#include "tests/support/fake_disk_probe.h"

namespace kelvane::testing_fakes {

class FakeEntryRemover : public EntryRemover {
 public:
  std::vector<std::string> removed;  // every removal asked for, and every link refused, in order
  std::set<std::string> failing;
  std::set<std::string> links;
  std::set<std::string> own_links;
  std::map<std::string, uint64_t> volumes;
  std::vector<std::string> opened;  // every entry opened beneath a folder, in order
  std::set<std::string> gone;       // removed by this remover
  FakeDiskProbe* disk = nullptr;

  OpenResult open_root(const std::string& path, const FolderId* recorded, OpenEntry& out) override {
    if (disk && !disk->identity_known) return OpenResult::kFailed;
    if (disk && recorded && !(disk->identity == *recorded)) return OpenResult::kChanged;
    out.path = path;
    out.volume = volumes.count(path) ? volumes[path] : 0;
    return OpenResult::kOpened;
  }
  OpenResult open(const OpenEntry& folder, const std::string& name, const ListedEntry& listed, bool on_way,
                  OpenEntry& out) override {
    const std::string path = inside(folder, name);
    if (gone.count(path)) return OpenResult::kGone;
    if (links.count(path)) {
      if (!on_way) removed.push_back(path);
      return OpenResult::kLink;
    }
    if (disk) {
      const DiskEntry now = disk->entry(path);
      if (now.presence == Presence::kAbsent) return OpenResult::kGone;
      if (now.presence == Presence::kPresent) {
        if (now.is_link) return OpenResult::kLink;
        if (now.is_dir != listed.is_dir || (!now.is_dir && now.size != listed.size) ||
            now.stamp != listed.stamp)
          return OpenResult::kChanged;
      }
    }
    out.path = path;
    out.link_itself = own_links.count(path) != 0;
    out.volume = volumes.count(path) ? volumes[path] : folder.volume;
    opened.push_back(path);
    if (out.volume != folder.volume && listed.is_dir && !on_way) return OpenResult::kOtherVolume;
    return OpenResult::kOpened;
  }
  // A link is followed to the folder the disk's identities give it.
  OpenResult open_through(const OpenEntry& folder, const std::string& name, const FolderId& target,
                          OpenEntry& out) override {
    const std::string path = inside(folder, name);
    if (gone.count(path)) return OpenResult::kGone;
    FolderId now;
    if (!disk || disk->entry(path).presence != Presence::kPresent || !disk->folder_identity(path, now))
      return OpenResult::kFailed;
    if (!disk->entry(path).is_dir || !(now == target)) return OpenResult::kChanged;
    out.path = path;
    out.volume = volumes.count(path) ? volumes[path] : folder.volume;
    return OpenResult::kOpened;
  }
  RemoveResult remove(OpenEntry& entry, bool) override {
    removed.push_back(entry.path);
    if (failing.count(entry.path)) return RemoveResult::kFailed;
    if (disk) disk->entries.erase(entry.path);
    gone.insert(entry.path);
    return RemoveResult::kRemoved;
  }
  void close(OpenEntry&) override {}
  Presence find(const OpenEntry& folder, const std::string& name) override {
    return gone.count(inside(folder, name)) ? Presence::kAbsent : Presence::kPresent;
  }
  static std::string inside(const OpenEntry& folder, const std::string& name) {
    return folder.path.empty() || folder.path.back() == '\\' ? folder.path + name : folder.path + "\\" + name;
  }
  std::map<std::string, std::vector<std::string>> listings;  // what a folder lists, where a test says
  bool names(const OpenEntry& folder, std::vector<std::string>& out) override {
    if (!listings.count(folder.path)) return false;
    out = listings[folder.path];
    return true;
  }
  std::map<std::string, uint32_t> stamps;  // a folder's stamp on its handle, else the disk's
  uint32_t stamp(const OpenEntry& folder) override {
    if (stamps.count(folder.path)) return stamps[folder.path];
    return disk ? disk->entry(folder.path).stamp : 0;
  }
};

}  // namespace kelvane::testing_fakes
