// The NTFS table reader against real NTFS: images made by mkntfs and written through the
// ntfs-3g mount (tests/support/make_ntfs_tree.sh), read back from the image file and compared
// with a walk of the mounted tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scan/entry_stamp.h"
#include "scan/image_volume_reader.h"
#include "scan/mdir.h"
#include "scan/mft_reader.h"
#include "scan/table_scan.h"
#include "scan/walk.h"
#include "tests/support/scan_recorder.h"
#include "tests/support/skip_report.h"

#ifndef _WIN32
#include <unistd.h>

namespace kelvane {
namespace {

struct Expected {
  char kind = 'f';
  uint64_t size = 0;
  uint64_t inode = 0;
  uint64_t mtime_ns = 0;
  uint64_t created = 0;  // NTFS's creation time, in its ticks
};

std::string shell(const std::string& command) {
  std::string out;
  // mkntfs lives in /usr/sbin, which a user's PATH may not name.
  if (FILE* p = popen(("PATH=$PATH:/usr/sbin:/sbin; " + command).c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

// The image and its listing, made once for the suite.
class NtfsTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (getuid() != 0) {
      skip_ = "FUSE mounts need root here";
    } else if (shell("command -v mkntfs >/dev/null && command -v ntfs-3g >/dev/null && echo yes") !=
               "yes\n") {
      skip_ = "mkntfs and ntfs-3g are not installed";
    } else if (access("/dev/fuse", R_OK | W_OK) != 0) {
      skip_ = "no /dev/fuse";
    }
    if (!skip_.empty()) return;
    char pattern[] = "/tmp/kelvane-ntfs-XXXXXX";
    dir_ = mkdtemp(pattern);
    const std::string log =
        shell("bash " KELVANE_SOURCE_DIR "/tests/support/make_ntfs_tree.sh " + dir_ + " 2>&1; echo rc=$?");
    if (log.find("rc=0") == std::string::npos) {
      skip_ = "the host cannot make the image: " + log.substr(0, 200);
      return;
    }
    load(dir_ + "/expected.txt", expected_);
    load(dir_ + "/expected-wine.txt", expected_wine_);
  }
  static void load(const std::string& file, std::map<std::string, Expected>& to) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string path, kind;
      Expected e;
      std::getline(fields, path, '\t');
      fields >> kind >> e.size >> e.inode >> e.mtime_ns >> e.created;
      e.kind = kind[0];
      to[path] = e;
    }
  }
  static void TearDownTestSuite() {
    if (!dir_.empty()) shell("umount " + dir_ + "/mnt 2>/dev/null; rm -rf " + dir_);
  }
  void SetUp() override {
    if (!skip_.empty()) KELVANE_SKIP("NTFS image tests", skip_);
    holder_ = std::make_unique<mdir>(log_, settings_, busy_);
  }

  // Reads the image into a fresh tree with the rule given.
  TableScan::Outcome read(const std::string& image, ListingRule rule, std::string* why = nullptr,
                          uint64_t* left_out = nullptr, const MftFolder* folder = nullptr,
                          const std::string& root = "T:\\") {
    holder_->free_tree();
    ImageVolumeReader volume(image);
    EXPECT_TRUE(volume.is_open());
    client_.patterns.clear();
    TableScan scan(*holder_, &client_);
    // As Wine names an absolute target: on the drive when it lies in the mount.
    scan.set_absolute_target([](const std::string& target, std::string& below_root) {
      const std::string mount = dir_ + "/mnt/";
      if (target.compare(0, mount.size(), mount) != 0) return false;
      below_root = target.substr(mount.size());
      return true;
    });
    const TableScan::Outcome outcome = scan.read(volume, root, rule, folder);
    if (outcome == TableScan::Outcome::kTree) Walk::totals(holder_->ptop);
    if (why) *why = scan.why();
    if (left_out) *left_out = scan.left_out();
    return outcome;
  }

  // Every node of the tree under its path from the root, '/'-separated.
  std::map<std::string, const lobj*> nodes() const {
    std::map<std::string, const lobj*> out;
    std::map<const lobj*, std::string> paths;
    const lobj* top = holder_->ptop;
    paths[top] = "";
    for (const lobj* f = top; f; f = f->next) {
      if (f != top) {
        EXPECT_TRUE(paths.count(f->parent)) << f->name << " hangs on a folder not made before it";
        paths[f] = (paths[f->parent].empty() ? "" : paths[f->parent] + "/") + f->name;
        out[paths[f]] = f;
      }
      for (const lobj* file = f->first; file; file = file->next) {
        EXPECT_EQ(file->parent, f);
        out[(paths[f].empty() ? "" : paths[f] + "/") + file->name] = file;
      }
    }
    return out;
  }

  static std::string dir_;
  static std::string skip_;
  static std::map<std::string, Expected> expected_;
  static std::map<std::string, Expected> expected_wine_;
  Log log_;
  Settings settings_;
  std::atomic<int> busy_{0};
  testing_fakes::ScanRecorder client_{busy_};
  std::unique_ptr<mdir> holder_;
};

std::string NtfsTable::dir_;
std::string NtfsTable::skip_;
std::map<std::string, Expected> NtfsTable::expected_;
std::map<std::string, Expected> NtfsTable::expected_wine_;

uint64_t nt_time(uint64_t unix_ns) { return unix_ns / 100 + 116444736000000000ull; }

TEST_F(NtfsTable, GivesTheEntriesSizesOrderAndStampsOfAWalkOfTheMount) {
  ASSERT_EQ(read(dir_ + "/vol.img", ListingRule::kWindows), TableScan::Outcome::kTree);
  const std::map<std::string, const lobj*> got = nodes();
  uint64_t total = 0, files = 0, folders = 0;
  for (const auto& [path, e] : expected_) {
    auto it = got.find(path);
    ASSERT_NE(it, got.end()) << path;
    const lobj* n = it->second;
    EXPECT_EQ(n->isdir != 0, e.kind == 'd') << path;
    // Windows lists an Interix link (ntfs-3g's) as the system file it is: its data holds the
    // target's name in UTF-16 after an 8-byte mark.
    const uint64_t size = e.kind == 'l' ? 8 + 2 * e.size : e.size;
    if (n->isdir) {
      ++folders;
    } else {
      EXPECT_EQ(n->size.load(), size) << path;
      ++files;
      total += size;
    }
  }
  EXPECT_EQ(got.size(), expected_.size());
  const lobj* root = holder_->ptop;
  EXPECT_EQ(root->size.load(), total);
  EXPECT_EQ(static_cast<uint64_t>(root->nfil.load()), files);
  EXPECT_EQ(static_cast<uint64_t>(root->ndir.load()), folders);
  EXPECT_EQ(got.at("links/target")->size.load(), 7u);
  EXPECT_EQ(got.at("sparse.bin")->size.load(), 5ull << 30);
  // The status bar as during a walk of the root, with the share of the table read.
  ASSERT_FALSE(client_.patterns.empty());
  EXPECT_EQ(client_.patterns.front(), "T:\\*.*");
  EXPECT_EQ(client_.patterns.back(), "T:\\*.*  100 %");

  // A folder's entries in the order NTFS keeps them: upper-cased names, unit by unit.
  const lobj* many = got.at("many");
  std::vector<std::string> order;
  for (const lobj* f = many->first; f; f = f->next) order.push_back(f->name);
  ASSERT_EQ(order.size(), 2000u);
  EXPECT_EQ(order[0], "f1");
  EXPECT_EQ(order[1], "f10");
  EXPECT_EQ(order[2], "f100");
  EXPECT_EQ(order[3], "f1000");
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  // Stamps by the Windows rule: the file reference (sequence 1 for a record used once here) and
  // the creation time.
  const Expected& sub = expected_.at("sub");
  EXPECT_EQ(got.at("sub")->stamp, folder_stamp((1ull << 48) | sub.inode, sub.created));

  // Wine's rule: the mount's listing, each link as what it names (a folder's link never
  // entered), none for a link that names nothing; the inode is the file id and the creation
  // time the last-write time.
  ASSERT_EQ(read(dir_ + "/vol.img", ListingRule::kWine), TableScan::Outcome::kTree);
  const std::map<std::string, const lobj*> wine = nodes();
  for (const auto& [path, e] : expected_wine_) {
    auto it = wine.find(path);
    ASSERT_NE(it, wine.end()) << path;
    const lobj* n = it->second;
    EXPECT_EQ(n->isdir != 0, e.kind == 'd') << path;
    if (n->isdir) {
      EXPECT_EQ(n->stamp, folder_stamp(e.inode, nt_time(e.mtime_ns))) << path;
    } else {
      EXPECT_EQ(n->size.load(), e.size) << path;
      EXPECT_EQ(n->stamp, file_stamp(nt_time(e.mtime_ns), nt_time(e.mtime_ns), e.inode)) << path;
    }
  }
  EXPECT_EQ(wine.size(), expected_wine_.size());
  EXPECT_EQ(wine.at("to-sub")->first, nullptr);
  EXPECT_EQ(wine.at("sub/chain.bin")->size.load(), 3000000u);
  EXPECT_EQ(wine.at("abs.bin")->size.load(), 123u);

  // A link the table cannot follow (out of the volume: elsewhere on the machine, or above the
  // mount): the walk runs.
  const std::string copy = dir_ + "/outward.img";
  for (const char* target : {"/etc/hostname", "../../outside"}) {
    ASSERT_EQ(
        shell("cp --sparse=always " + dir_ + "/vol.img " + copy + " && ntfs-3g " + copy + " " + dir_ +
              "/mnt && ln -s " + target + " " + dir_ + "/mnt/sub/out && umount " + dir_ + "/mnt && echo ok"),
        "ok\n");
    std::string why;
    EXPECT_EQ(read(copy, ListingRule::kWine, &why), TableScan::Outcome::kWalk) << target;
    EXPECT_EQ(holder_->ptop.load(), nullptr);
    EXPECT_NE(why.find("link"), std::string::npos) << why;
  }
}

TEST_F(NtfsTable, AFolderGivesTheWalkOfThatFolderOrTheWalkRuns) {
  // Typed in another case than the disk's, as Windows takes it: the tree of the mount's "sub"
  // alone, its root made as a folder's walk makes it.
  const uint64_t sub = expected_.at("sub").inode;
  MftFolder folder{{"SUB"}, (1ull << 48) | sub};
  ASSERT_EQ(read(dir_ + "/vol.img", ListingRule::kWindows, nullptr, nullptr, &folder, "T:\\SUB"),
            TableScan::Outcome::kTree);
  const lobj* root = holder_->ptop;
  EXPECT_EQ(std::string(root->root_path), "T:\\sub");
  EXPECT_EQ(std::string(root->name), "sub");
  EXPECT_EQ(root->depth, 1);
  EXPECT_EQ(root->stamp, folder_stamp((1ull << 48) | sub, expected_.at("sub").created));
  const std::map<std::string, const lobj*> got = nodes();
  uint64_t total = 0, entries = 0;
  for (const auto& [path, e] : expected_) {
    if (path.rfind("sub/", 0) != 0) continue;
    ++entries;
    const lobj* n = got.at(path.substr(4));
    EXPECT_EQ(n->isdir != 0, e.kind == 'd') << path;
    EXPECT_EQ(n->depth, 1 + std::count(path.begin(), path.end(), '/')) << path;
    if (!n->isdir) {
      const uint64_t size = e.kind == 'l' ? 8 + 2 * e.size : e.size;
      EXPECT_EQ(n->size.load(), size) << path;
      total += size;
    }
  }
  EXPECT_EQ(got.size(), entries);
  EXPECT_EQ(root->size.load(), total);
  // By Wine's rule too, its links followed out of the folder.
  folder.file_id = sub;
  EXPECT_EQ(read(dir_ + "/vol.img", ListingRule::kWine, nullptr, nullptr, &folder, "T:\\SUB"),
            TableScan::Outcome::kTree);

  // A file on the way, a name the table does not hold, a folder the path opens that is not
  // the one the table names: the walk runs.
  std::string why;
  const uint64_t deeper = (1ull << 48) | expected_.at("sub/deeper").inode;
  for (const MftFolder& other : {MftFolder{{"big.bin", "x"}, deeper},
                                 MftFolder{{"sub", "deeper", "gone"}, deeper}, MftFolder{{"sub"}, deeper}}) {
    EXPECT_EQ(read(dir_ + "/vol.img", ListingRule::kWindows, &why, nullptr, &other, "T:\\x"),
              TableScan::Outcome::kWalk);
    EXPECT_EQ(holder_->ptop.load(), nullptr);
  }
  EXPECT_EQ(why, "the folder the path opens is not the one the table names");
  // A junction in the folder, which the folder's walk enters wherever it leads: the walk.
  const std::string copy = dir_ + "/junction.img";
  const char* junction = R"(import os, struct, sys
s = "\\??\\T:\\elsewhere".encode("utf-16-le")
b = struct.pack("<HHHH", 0, len(s), len(s) + 2, 0) + s + bytes(4)
os.setxattr(sys.argv[1], "system.ntfs_reparse_data", struct.pack("<IHH", 0xA0000003, len(b), 0) + b))";
  ASSERT_EQ(shell("cp --sparse=always " + dir_ + "/vol.img " + copy + " && ntfs-3g " + copy + " " + dir_ +
                  "/mnt && mkdir " + dir_ + "/mnt/sub/j && /usr/bin/python3 -c '" + junction + "' " + dir_ +
                  "/mnt/sub/j && umount " + dir_ + "/mnt && echo ok"),
            "ok\n");
  folder.file_id = (1ull << 48) | sub;
  EXPECT_EQ(read(copy, ListingRule::kWindows, &why, nullptr, &folder, "T:\\SUB"), TableScan::Outcome::kWalk);
  EXPECT_EQ(why, "a link to a folder, which the folder's walk may enter");

  // Only a plain path below a drive letter is looked up in the table.
  std::vector<std::string> names;
  EXPECT_TRUE(TableScan::folder_names("T:\\sub\\deeper", names));
  EXPECT_EQ(names, (std::vector<std::string>{"sub", "deeper"}));
  for (const char* path : {"T:\\sub\\..\\x", "T:sub", "\\\\srv\\share\\sub", "T:\\sub.", "T:\\s*"})
    EXPECT_FALSE(TableScan::folder_names(path, names)) << path;
}

// The place of the first attribute of type in the record at place (its fixups not applied: the
// attributes read here lie before the end of its first 512 bytes); for a non-resident one that
// maps its stream from the start, the attribute itself (its lowest vcn's upper half is 0).
size_t attribute_value(const std::string& image, uint64_t place, uint32_t type) {
  std::ifstream in(image, std::ios::binary);
  std::vector<char> rec(1024);
  in.seekg(static_cast<std::streamoff>(place));
  in.read(rec.data(), rec.size());
  uint16_t at;
  std::memcpy(&at, rec.data() + 20, 2);
  for (;;) {
    uint32_t t, length;
    uint16_t value;
    std::memcpy(&t, rec.data() + at, 4);
    std::memcpy(&length, rec.data() + at + 4, 4);
    if (t == 0xFFFFFFFF || length == 0) return 0;
    std::memcpy(&value, rec.data() + at + 20, 2);
    if (t == type) return at + value;
    at += length;
  }
}

void patch(const std::string& image, uint64_t place, const void* bytes, size_t size) {
  std::fstream f(image, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(static_cast<std::streamoff>(place));
  f.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

TEST_F(NtfsTable, CorruptRecordsAreLeftOutAndCountedOrTheWalkRuns) {
  const std::string image = dir_ + "/corrupt.img";
  ASSERT_EQ(shell("cp --sparse=always " + dir_ + "/vol.img " + image + " && echo ok"), "ok\n");
  uint64_t sub_place, deeper_place, a_place, one_place, mft_place;
  {
    ImageVolumeReader volume(image);
    MftReader reader(volume);
    ASSERT_EQ(reader.open(), MftReader::Result::kOk);
    mft_place = reader.record_place(0);
    sub_place = reader.record_place(expected_.at("sub").inode);
    deeper_place = reader.record_place(expected_.at("sub/deeper").inode);
    a_place = reader.record_place(expected_.at("sub/a").inode);
    one_place = reader.record_place(expected_.at("one.bin").inode);
  }
  // A loop: sub's parent made sub/deeper, which is beneath sub.
  const uint64_t deeper_ref = (1ull << 48) | expected_.at("sub/deeper").inode;
  patch(image, sub_place + attribute_value(image, sub_place, 0x30), &deeper_ref, 8);
  // A file whose parent is a file: one.bin under big.bin.
  const uint64_t big_ref = (1ull << 48) | expected_.at("big.bin").inode;
  patch(image, one_place + attribute_value(image, one_place, 0x30), &big_ref, 8);
  // A parent reference with the wrong sequence number: sub/a under an earlier life of deeper.
  const uint64_t stale_ref = (7ull << 48) | expected_.at("sub/deeper").inode;
  patch(image, a_place + attribute_value(image, a_place, 0x30), &stale_ref, 8);

  uint64_t left_out = 0;
  ASSERT_EQ(read(image, ListingRule::kWindows, nullptr, &left_out), TableScan::Outcome::kTree);
  const std::map<std::string, const lobj*> got = nodes();
  // Every entry made stands where the mount shows it; none of the broken ones is made.
  for (const auto& [path, n] : got) EXPECT_TRUE(expected_.count(path)) << path << " is outside its folder";
  for (const char* gone : {"sub", "sub/deeper", "sub/deeper/empty", "sub/a", "one.bin"})
    EXPECT_FALSE(got.count(gone)) << gone;
  EXPECT_EQ(got.size(), expected_.size() - 7);
  // sub (its parent a descendant), deeper, deeper/empty and sub's two links (under the loop),
  // sub/a, one.bin.
  EXPECT_EQ(left_out, 7u);

  // A torn record (its update sequence broken at the end of its first 512 bytes): no guess,
  // the walk runs.
  const char torn[2] = {0x55, 0x55};
  patch(image, deeper_place + 510, torn, 2);
  std::string why;
  EXPECT_EQ(read(image, ListingRule::kWindows, &why), TableScan::Outcome::kWalk);
  EXPECT_EQ(holder_->ptop.load(), nullptr);
  EXPECT_NE(why.find("torn"), std::string::npos) << why;

  // A table that says it is far larger than its volume (its own $DATA's sizes): refused at
  // once, never counted through record by record.
  const uint64_t huge[2] = {1ull << 60, 1ull << 60};
  patch(image, mft_place + attribute_value(image, mft_place, 0x80) + 48, huge, sizeof huge);
  EXPECT_EQ(read(image, ListingRule::kWindows, &why), TableScan::Outcome::kWalk);
  EXPECT_EQ(why, "a layout this reader does not know");

  // Not NTFS at all.
  const char junk[8] = {'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X'};
  patch(image, 3, junk, 8);
  EXPECT_EQ(read(image, ListingRule::kWindows, &why), TableScan::Outcome::kWalk);
  EXPECT_EQ(why, "not NTFS");
}

}  // namespace
}  // namespace kelvane
#endif
