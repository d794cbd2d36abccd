#include "views/slice_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/tree_builder.h"

namespace kelvane {
namespace {

using testing_tree::TreeFixture;

constexpr double kTurn = 6.283185307;

TEST(SliceTable, WorkedExampleRootMixesFilesAndFoldersBySize) {
  TreeFixture t;
  t.worked_example();
  SliceTable table;
  table.fill(t.dir.ptop, t.dir.pcur);

  ASSERT_EQ(table.count(), 4);
  const lobj* order[] = {t.f4, t.d1, t.f1, t.d2};
  const int64_t sizes[] = {8, 6, 1, 0};
  double start = 0;
  for (int i = 0; i < 4; ++i) {
    const slice* s = table.at(i);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->node, order[i]) << i;
    EXPECT_EQ(s->size, sizes[i]);
    EXPECT_EQ(s->count, 4);
    EXPECT_DOUBLE_EQ(s->span, static_cast<double>(sizes[i]) / 15.0 * kTurn);
    EXPECT_DOUBLE_EQ(s->start, start);
    start += s->span;
  }
  // The spans close the circle of the program's own constant, not the full-precision one.
  EXPECT_NEAR(start, kTurn, 1e-12);
  EXPECT_EQ(table.at(4), nullptr);
  EXPECT_EQ(table.at(-1), nullptr);
}

TEST(SliceTable, SubFolderListsOnlyItsOwnChildren) {
  TreeFixture t;
  t.worked_example();
  SliceTable table;
  table.fill(t.dir.ptop, t.d1);
  ASSERT_EQ(table.count(), 2);
  EXPECT_EQ(table.node(0), t.s);   // 4 bytes
  EXPECT_EQ(table.node(1), t.f2);  // 2 bytes
  EXPECT_DOUBLE_EQ(table.at(0)->span, 4.0 / 6.0 * kTurn);
}

TEST(SliceTable, EqualSizesSortInByteOrder) {
  TreeFixture t;
  lobj* root = t.folder(nullptr, "D:");
  t.file(root, "b", 5);
  t.file(root, "a", 5);
  t.file(root, "B", 5);
  SliceTable table;
  table.fill(t.dir.ptop, root);
  ASSERT_EQ(table.count(), 3);
  EXPECT_STREQ(table.node(0)->name, "B");
  EXPECT_STREQ(table.node(1)->name, "a");
  EXPECT_STREQ(table.node(2)->name, "b");
}

TEST(SliceTable, EmptyAndZeroSizedFolders) {
  TreeFixture t;
  lobj* root = t.folder(nullptr, "D:");
  lobj* empty = t.folder(root, "E");
  t.file(root, "z1", 0);
  t.file(root, "z2", 0);
  SliceTable table;
  table.fill(t.dir.ptop, empty);
  EXPECT_TRUE(table.empty());
  EXPECT_EQ(table.data(), nullptr);

  // Every span of a folder of size 0 is 0/0: not a number, yet every entry is listed.
  table.fill(t.dir.ptop, root);
  ASSERT_EQ(table.count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isnan(table.at(i)->span));
}

TEST(SliceTable, ForgottenEntryKeepsItsPlaceWithoutItsNode) {
  TreeFixture t;
  t.worked_example();
  SliceTable table;
  table.fill(t.dir.ptop, t.root);
  table.forget(t.d1);
  EXPECT_EQ(table.count(), 4);
  EXPECT_EQ(table.node(1), nullptr);
  EXPECT_EQ(table.node(0), t.f4);
  table.clear();
  EXPECT_EQ(table.count(), 0);
  EXPECT_EQ(table.node(0), nullptr);
  // No tree at all gives an empty table.
  table.fill(nullptr, nullptr);
  EXPECT_TRUE(table.empty());
}

TEST(SliceTable, LogLinesCarryFullSixtyFourBitSizes) {
  TreeFixture t;
  lobj* root = t.folder(nullptr, "D:");
  t.file(root, "big", 5000000000ULL);
  t.file(root, "small", 7);
  const std::string path = ::testing::TempDir() + "slice_table_log.txt";
  ASSERT_TRUE(t.log.open(path));
  SliceTable table;
  table.fill(t.dir.ptop, root, &t.log);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("  OnFill::Name: big Size: 5000000000 B\n  OnFill::Name: small Size: 7 B\n"),
            std::string::npos)
      << text.str();
  std::remove(path.c_str());
}

}  // namespace
}  // namespace kelvane
