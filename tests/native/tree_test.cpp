#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "base/strf.h"
#include "scan/mdir.h"
#include "scan/node_store.h"
#include "tests/support/text_file.h"
#include "tests/support/tree_builder.h"
#include "views/slice.h"

namespace kelvane {
namespace {

using testing_tree::TreeBuilder;

// A holder with its own log file, and helpers that build a tree the way a walk does.
class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(log_opened_); }
  void TearDown() override { std::remove(log_path_.c_str()); }

  lobj* folder(lobj* parent, const char* name) { return build_.folder(parent, name); }
  lobj* file(lobj* parent, const char* name, uint64_t size) { return build_.file(parent, name, size); }
  std::vector<std::string> folder_names() const {
    std::vector<std::string> out;
    for (lobj* f = dir_.ptop; f; f = f->next) out.push_back(f->name);
    return out;
  }
  static std::vector<std::string> file_names(const lobj* folder) {
    std::vector<std::string> out;
    for (lobj* f = folder->first; f; f = f->next) out.push_back(f->name);
    return out;
  }
  std::vector<std::string> log_lines() {
    std::vector<std::string> out;
    std::string line;
    for (char c : read_text_file(log_path_)) {
      line += c;
      if (c == '\n') {
        out.push_back(line);
        line.clear();
      }
    }
    if (!line.empty()) out.push_back(line);
    return out;
  }

  // The log opens before the holder is built, so that its construction line is in the file.
  std::string log_path_ =
      ::testing::TempDir() +
      strf("kelvane_tree_%s.log", ::testing::UnitTest::GetInstance()->current_test_info()->name());
  Log log_;
  bool log_opened_ = log_.open(log_path_);
  Settings settings_;
  std::atomic<int> busy_{0};
  mdir dir_{log_, settings_, busy_};
  TreeBuilder build_{dir_, TreeBuilder::Totals::kDirect};
};

TEST_F(TreeTest, StartsEmptyAndLogsItsConstruction) {
  EXPECT_EQ(dir_.path, "");
  EXPECT_EQ(dir_.ptop.load(), nullptr);
  EXPECT_EQ(dir_.pcur.load(), nullptr);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"mdir::mdir () OK ...\n"});
}

TEST_F(TreeTest, DestructionFreesTheTreeAndLogsLast) {
  {
    mdir other(log_, settings_, busy_);
    lobj* root = [&] {
      lobj* f = other.new_node();
      f->isdir = 1;
      f->name = other.copy_text("C:");
      return other.add_lobj(f, nullptr);
    }();
    lobj* f = other.new_node();
    f->name = other.copy_text("x");
    other.add_lobj(f, root);
  }
  const std::vector<std::string> lines = log_lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "mdir::mdir () OK ...\n");
  EXPECT_EQ(lines[2], "mdir::~mdir () OK ...\n");
}

TEST_F(TreeTest, AddLobjAppendsFoldersAndFilesInOrder) {
  lobj* root = folder(nullptr, "C:");
  EXPECT_EQ(dir_.ptop.load(), root);
  EXPECT_EQ(dir_.ptail, root);
  lobj* d1 = folder(root, "D1");
  lobj* d2 = folder(root, "D2");
  EXPECT_EQ(dir_.ptail, d2);
  EXPECT_EQ(d1->next, d2);
  EXPECT_EQ(d2->next, nullptr);
  lobj* f1 = file(root, "F1", 1);
  lobj* f4 = file(root, "F4", 8);
  EXPECT_EQ(root->first, f1);
  EXPECT_EQ(root->last, f4);
  EXPECT_EQ(f1->next, f4);
  EXPECT_EQ(f4->prev, f1);
  // add_lobj touches only the links it owns, and empty input changes nothing.
  EXPECT_EQ(f4->parent, root);
  EXPECT_EQ(dir_.add_lobj(nullptr, root), nullptr);
  EXPECT_EQ(root->last, f4);
  // A node that carried a stale next starts its new place at the end of the list.
  lobj* extra = dir_.new_node();
  extra->next = root;
  dir_.add_lobj(extra, root);
  EXPECT_EQ(extra->next, nullptr);
}

TEST_F(TreeTest, FreeTreeEmptiesTopButLeavesCurrentToTheCaller) {
  dir_.free_tree();  // an empty tree: nothing to do, nothing breaks
  EXPECT_EQ(dir_.ptop.load(), nullptr);

  lobj* root = folder(nullptr, "C:");
  folder(root, "D1");
  file(root, "F1", 1);
  dir_.pcur = root;
  dir_.free_tree();
  EXPECT_EQ(dir_.ptop.load(), nullptr);
  EXPECT_EQ(dir_.pcur.load(), root);
  dir_.pcur = nullptr;
  // A new tree after the old one was freed starts a fresh folder list.
  lobj* again = folder(nullptr, "D:");
  EXPECT_EQ(dir_.ptop.load(), again);
  EXPECT_EQ(again->next, nullptr);
  EXPECT_EQ(log_lines().size(), 1u);  // freeing logs nothing
}

TEST_F(TreeTest, RemovingTheLastFolderRunEmptiesThePredecessorsNext) {
  lobj* root = folder(nullptr, "C:");
  lobj* d1 = folder(root, "D1");
  lobj* d2 = folder(root, "D2");
  lobj* s = folder(d2, "S");
  file(s, "F3", 4);
  dir_.remv_lobj(d2, 0);
  EXPECT_EQ(d1->next, nullptr);
  EXPECT_EQ(folder_names(), (std::vector<std::string>{"C:", "D1"}));
  // The list can grow again after its tail went.
  lobj* d3 = folder(root, "D3");
  EXPECT_EQ(d1->next, d3);
}

TEST_F(TreeTest, RemovingAMiddleRunRelinksBothNeighbours) {
  lobj* root = folder(nullptr, "C:");
  lobj* d1 = folder(root, "D1");
  lobj* s = folder(d1, "S");
  folder(s, "T");
  lobj* d2 = folder(root, "D2");
  file(d1, "F2", 2);
  file(s, "F3", 4);
  dir_.remv_lobj(d1, 0);
  EXPECT_EQ(root->next, d2);
  EXPECT_EQ(d2->prev, root);
  EXPECT_EQ(folder_names(), (std::vector<std::string>{"C:", "D2"}));
  // Sizes and counts are the caller's to adjust.
  EXPECT_EQ(root->ndir.load(), 2);
}

TEST_F(TreeTest, RemovingTheRootLeavesNoTree) {
  lobj* root = folder(nullptr, "C:");
  folder(root, "D1");
  file(root, "F1", 1);
  dir_.remv_lobj(root, 0);
  EXPECT_EQ(dir_.ptop.load(), nullptr);
}

TEST_F(TreeTest, RemovingFilesUnlinksThemFromTheirFolder) {
  lobj* root = folder(nullptr, "C:");
  lobj* d1 = folder(root, "D1");
  lobj* only = file(d1, "only", 5);
  dir_.remv_lobj(only, 0);
  EXPECT_EQ(d1->first, nullptr);
  EXPECT_EQ(d1->last, nullptr);

  lobj* a = file(root, "a", 1);
  lobj* b = file(root, "b", 2);
  lobj* c = file(root, "c", 3);
  dir_.remv_lobj(b, 0);
  EXPECT_EQ(file_names(root), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(c->prev, a);
  dir_.remv_lobj(a, 0);
  EXPECT_EQ(root->first, c);
  EXPECT_EQ(c->prev, nullptr);
  dir_.remv_lobj(c, 0);
  EXPECT_EQ(root->first, nullptr);
  dir_.remv_lobj(nullptr, 0);  // nothing to remove
}

TEST_F(TreeTest, RemovalLogsEveryFileBeforeAnyFolderAtLevelTwo) {
  settings_.vl = 2;
  lobj* root = folder(nullptr, "C:");
  lobj* d1 = folder(root, "D1");
  lobj* s = folder(d1, "S");
  folder(d1, "E");
  lobj* d2 = folder(root, "D2");
  file(d1, "F2", 2);
  file(s, "F3", 4);
  file(s, "F5", 4);
  file(d2, "F9", 1);
  dir_.remv_lobj(d1, 0);
  std::vector<std::string> lines = log_lines();
  lines.erase(lines.begin());  // the construction line
  const std::vector<std::string> expected = {
      "    File: F2 in C:\\D1 to delete ...\n",    "    File: F2 deleted ... OK\n",
      "    File: F3 in C:\\D1\\S to delete ...\n", "    File: F3 deleted ... OK\n",
      "    File: F5 in C:\\D1\\S to delete ...\n", "    File: F5 deleted ... OK\n",
      "    Directory to delete: C:\\D1 ...\n",     "    Directory to delete: C:\\D1\\S ...\n",
      "    Directory to delete: C:\\D1\\E ...\n",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(file_names(d2), std::vector<std::string>{"F9"});
}

TEST_F(TreeTest, RemovalLogsOnlyTheCompletionAboveLevelTwo) {
  settings_.vl = 3;
  lobj* root = folder(nullptr, "C:");
  lobj* d1 = folder(root, "D1");
  file(d1, "F2", 2);
  dir_.remv_lobj(d1, 0);
  std::vector<std::string> lines = log_lines();
  EXPECT_EQ(lines, (std::vector<std::string>{"mdir::mdir () OK ...\n", "OK\n"}));
  settings_.vl = 1;
  lobj* f = file(root, "F1", 1);
  dir_.remv_lobj(f, 0);
  EXPECT_EQ(log_lines().size(), 2u);
}

TEST_F(TreeTest, RemovedNodesAreReusedByTheStore) {
  lobj* root = folder(nullptr, "C:");
  lobj* f = file(root, "F1", 1);
  dir_.remv_lobj(f, 0);
  lobj* again = dir_.new_file();
  EXPECT_EQ(again, f);
  EXPECT_EQ(again->next, nullptr);
  EXPECT_EQ(again->size.load(), 0u);
  EXPECT_STREQ(again->name, "");
}

slice record(lobj* node, int64_t size) {
  slice s;
  s.node = node;
  s.size = size;
  return s;
}

TEST_F(TreeTest, CmpItemSortsLargestFirstThenByNameBytes) {
  lobj* big = file(folder(nullptr, "C:"), "big", 0);
  lobj* b = file(dir_.ptop, "B", 0);
  lobj* a = file(dir_.ptop, "a", 0);
  lobj* a_again = file(dir_.ptop, "a", 0);
  lobj* umlaut = file(dir_.ptop, "\xc3\xa4", 0);

  const slice above4g = record(big, 5368709120LL);  // 5 GiB
  const slice below4g = record(a, 4294967295LL);    // 4 GiB - 1: the lower half is larger
  EXPECT_EQ(cmp_item(&above4g, &below4g), -1);
  EXPECT_EQ(cmp_item(&below4g, &above4g), 1);
  const slice sa = record(a, 7), sb = record(b, 7), sa2 = record(a_again, 7), su = record(umlaut, 7);
  EXPECT_EQ(cmp_item(&sb, &sa), -1);  // upper case before lower case
  EXPECT_EQ(cmp_item(&sa, &sb), 1);
  EXPECT_EQ(cmp_item(&sa, &sa2), 0);
  EXPECT_EQ(cmp_item(&sa, &su), -1);  // bytes above 0x7F count as large, not negative
  EXPECT_EQ(cmp_item(&sa, nullptr), 0);
  EXPECT_EQ(cmp_item(nullptr, &sa), 0);

  // The worked example's root entries, sorted as the list does.
  lobj* root = dir_.ptop;
  std::vector<slice> table = {record(file(root, "F1", 1), 1), record(folder(root, "D1"), 6),
                              record(folder(root, "D2"), 0), record(file(root, "F4", 8), 8)};
  std::qsort(table.data(), table.size(), sizeof(slice), cmp_item);
  std::vector<std::string> order;
  for (const slice& s : table) order.push_back(s.node->name);
  EXPECT_EQ(order, (std::vector<std::string>{"F4", "D1", "F1", "D2"}));
}

TEST(NodeStore, CopiesTextsExactlyAndKeepsThemUntilCleared) {
  NodeStore store;
  const std::string long_path(300000, 'p');  // bigger than a block
  const char* a = store.copy_text("abc");
  const char* empty = store.copy_text("");
  const char* big = store.copy_text(long_path);
  const char* b = store.copy_text(std::string_view("xyz123", 3));
  EXPECT_STREQ(a, "abc");
  EXPECT_STREQ(empty, "");
  EXPECT_EQ(std::string(big), long_path);
  EXPECT_STREQ(b, "xyz");
  EXPECT_EQ(b, a + 5);  // exact length and terminator, nothing in between
  store.clear();
  EXPECT_EQ(store.bytes_reserved(), 0u);
  EXPECT_STREQ(store.copy_text("again"), "again");
}

TEST(NodeStore, CostsLittleMoreThanTheNodeAndItsNamePerEntry) {
  NodeStore store;
  constexpr int kEntries = 300000;
  for (int i = 0; i < kEntries; ++i) {
    lobj* node = store.new_node();
    node->name = store.copy_text(strf("file%08d", i));  // 12 characters
  }
  const double per_entry = static_cast<double>(store.bytes_reserved()) / kEntries;
  EXPECT_LE(per_entry, static_cast<double>(sizeof(lobj) + 13 + 3));
  if (sizeof(void*) == 4) {
    EXPECT_EQ(sizeof(lobj), 56u);
    EXPECT_LE(per_entry, 96.0);
  }
}

}  // namespace
}  // namespace kelvane
