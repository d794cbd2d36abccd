#include "tests/support/memory_dir_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane {
namespace {

struct Seen {
  std::string name;
  bool is_dir;
  bool is_link;
  uint64_t size;
  bool operator==(const Seen& o) const {
    return name == o.name && is_dir == o.is_dir && is_link == o.is_link && size == o.size;
  }
};

std::vector<Seen> list(MemoryDirSource& fs, const std::string& pattern, bool* found = nullptr) {
  std::vector<Seen> seen;
  const bool ok = fs.list(pattern, [&](const DirEntry& e) {
    seen.push_back({std::string(e.name), e.is_dir, e.is_link, e.size});
    return true;
  });
  if (found) *found = ok;
  return seen;
}

TEST(MemoryDirSource, ListsFoldersLikeWindows) {
  MemoryDirSource fs;
  fs.add_file("D:\\Data\\b.txt", 5ull << 30);
  fs.add_folder("D:\\Data\\Sub");
  fs.add_link("D:\\Data\\up", "D:\\");
  fs.add_file_link("D:\\Data\\ln");
  bool found = false;
  EXPECT_EQ(list(fs, "D:\\DATA\\*.*", &found), (std::vector<Seen>{{".", true, false, 0},
                                                                  {"..", true, false, 0},
                                                                  {"b.txt", false, false, 5ull << 30},
                                                                  {"Sub", true, false, 0},
                                                                  {"up", true, true, 0},
                                                                  {"ln", false, true, 0}}));
  EXPECT_TRUE(found);
  // A bare path names the one entry, spelt as the file system has it.
  EXPECT_EQ(list(fs, "D:\\data"), (std::vector<Seen>{{"Data", true, false, 0}}));
  EXPECT_EQ(list(fs, "D:\\Data\\*.txt"), (std::vector<Seen>{{"b.txt", false, false, 5ull << 30}}));
  EXPECT_EQ(list(fs, "D:\\Data\\S?b"), (std::vector<Seen>{{"Sub", true, false, 0}}));
  // Through the link the drive's top folder is read.
  EXPECT_EQ(list(fs, "D:\\Data\\up\\D*"), (std::vector<Seen>{{"Data", true, false, 0}}));
}

TEST(MemoryDirSource, MissingAndUnreadableFoldersFindNothing) {
  MemoryDirSource fs;
  fs.add_folder("C:\\locked");
  fs.set_unreadable("C:\\locked");
  fs.add_folder("C:\\empty");
  bool found = true;
  EXPECT_TRUE(list(fs, "C:\\missing\\*.*", &found).empty());
  EXPECT_FALSE(found);
  EXPECT_TRUE(list(fs, "C:\\locked\\*.*", &found).empty());
  EXPECT_FALSE(found);
  EXPECT_TRUE(list(fs, "C:\\nothing", &found).empty());
  EXPECT_FALSE(found);
  EXPECT_TRUE(list(fs, "C:X", &found).empty());
  EXPECT_FALSE(found);
  // A folder that can be read but is empty still has its dots.
  EXPECT_EQ(list(fs, "C:\\empty\\*.*", &found).size(), 2u);
  EXPECT_TRUE(found);
  EXPECT_EQ(fs.list_calls(), 5u);
}

TEST(MemoryDirSource, SinkCanStopTheListing) {
  MemoryDirSource fs;
  for (int i = 0; i < 5; ++i) fs.add_file("C:\\f\\" + std::to_string(i), 1);
  int calls = 0;
  EXPECT_TRUE(fs.list("C:\\f\\*.*", [&](const DirEntry&) { return ++calls < 3; }));
  EXPECT_EQ(calls, 3);
}

TEST(MemoryDirSource, LinkHasItsTargetsIdentity) {
  MemoryDirSource fs;
  fs.add_folder("C:\\R\\A");
  fs.add_link("C:\\R\\A\\up", "C:\\R");
  fs.add_link("C:\\loop1", "C:\\loop2");
  fs.add_link("C:\\loop2", "C:\\loop1");
  FolderId r, up, a;
  ASSERT_TRUE(fs.identity("C:\\R", r));
  ASSERT_TRUE(fs.identity("C:\\r\\a\\UP", up));
  ASSERT_TRUE(fs.identity("C:\\R\\A", a));
  EXPECT_EQ(r, up);
  EXPECT_FALSE(r == a);
  FolderId drive, drive_slash;
  ASSERT_TRUE(fs.identity("C:", drive));
  ASSERT_TRUE(fs.identity("C:\\", drive_slash));
  EXPECT_EQ(drive, drive_slash);
  FolderId none;
  EXPECT_FALSE(fs.identity("C:\\loop1", none));  // links in a ring name nothing
  EXPECT_FALSE(fs.identity("C:\\missing", none));
}

TEST(MemoryDirSource, WildcardMatch) {
  EXPECT_TRUE(wildcard_match("*.*", "noext"));
  EXPECT_TRUE(wildcard_match("*", ""));
  EXPECT_TRUE(wildcard_match("a*c", "ABBC"));
  EXPECT_TRUE(wildcard_match("a?c", "abc"));
  EXPECT_FALSE(wildcard_match("a?c", "ac"));
  EXPECT_FALSE(wildcard_match("*.txt", "a.txt.bak"));
  EXPECT_TRUE(wildcard_match("*.txt", "a.bak.TXT"));
}

}  // namespace
}  // namespace kelvane
