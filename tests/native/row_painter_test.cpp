#include "views/row_painter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tree_builder.h"

namespace kelvane {
namespace {

using testing_tree::TreeFixture;

// Writes every call as one line; text is 6 pixels per byte, "..." 9.
class RecordingPainter : public Painter {
 public:
  std::vector<std::string> calls;
  static std::string r(const PixelRect& x) {
    return std::to_string(x.left) + "," + std::to_string(x.top) + "," + std::to_string(x.right) + "," +
           std::to_string(x.bottom);
  }
  void set_transparent_background() override { calls.push_back("transparent"); }
  void fill_rect(const PixelRect& x, Color c) override {
    calls.push_back("fill " + r(x) + " " + std::to_string(c));
  }
  void frame_rectangle(const PixelRect& x) override { calls.push_back("frame " + r(x)); }
  void filled_rectangle(const PixelRect& x, Color c) override {
    calls.push_back("key " + r(x) + " " + std::to_string(c));
  }
  void set_text_color(Color c) override { calls.push_back("color " + std::to_string(c)); }
  void text_out(int x, int y, TextAlign a, const std::string& t) override {
    calls.push_back(std::string(a == TextAlign::kLeft ? "left " : "right ") + std::to_string(x) + "," +
                    std::to_string(y) + " " + t);
  }
  int text_width(const std::string& t) override { return t == "..." ? 9 : static_cast<int>(t.size()) * 6; }
};

constexpr Color kHighlight = 0x00C06000;
constexpr Color kWindow = 0x00FFFFFF;

RowState base_row(int mode, int row, int rows) {
  RowState s;
  s.mode = mode;
  s.row = row;
  s.row_count = rows;
  s.rect = {0, 15 * row, 400, 15 * row + 15};
  s.highlight = kHighlight;
  s.window = kWindow;
  s.unit = 0;
  return s;
}

TEST(RowPainter, DriveRowBarNameAndFigures) {
  drive_record d;
  d.name = "D:";
  d.total = 100;
  d.used = 25;
  d.free = 75;
  RowState s = base_row(kListDrives, 0, 1);
  s.text = "D:";
  s.widths = column_widths(kListDrives, 244, false, 17);  // 61 each
  s.drive = &d;
  RecordingPainter p;
  draw_item(p, s);
  const std::vector<std::string> expected = {
      "transparent",
      "fill 0,0,400,15 " + std::to_string(kWindow),
      "color 0",
      "frame 20,2,56,13",
      "fill 21,3,55,12 " + std::to_string(rgb(224, 224, 224)),
      "fill 21,3,29,12 " + std::to_string(rgb(0, 0, 255)),
      "left 5,1 D:",
      "right 117,1 100 B",
      "right 178,1 25 B",
      "right 239,1 75 B",
  };
  EXPECT_EQ(p.calls, expected);
}

TEST(RowPainter, SelectedRowsUseLightTextOnTheHighlight) {
  drive_record d;
  d.total = 0;  // no figures of its own: an empty grey bar
  RowState s = base_row(kListDrives, 2, 3);
  s.selected = true;
  s.text = "E:";
  s.widths = column_widths(kListDrives, 244, false, 17);
  s.drive = &d;
  RecordingPainter p;
  draw_item(p, s);
  ASSERT_GE(p.calls.size(), 5u);
  EXPECT_EQ(p.calls[1], "fill 0,30,400,45 " + std::to_string(kHighlight));
  EXPECT_EQ(p.calls[2], "color " + std::to_string(rgb(224, 224, 224)));
  for (const std::string& c : p.calls) EXPECT_NE(c, "fill 21,33,21,42 " + std::to_string(rgb(0, 0, 255)));
}

TEST(RowPainter, NothingButBackgroundWhileBusyOrOutsideTheRows) {
  RowState s = base_row(kListDrives, 0, 1);
  s.widths = column_widths(kListDrives, 244, false, 17);
  s.busy = true;
  RecordingPainter p;
  draw_item(p, s);
  EXPECT_EQ(p.calls.size(), 3u);  // transparent, background, text colour
  s.busy = false;
  s.row = 1;
  RecordingPainter q;
  draw_item(q, s);
  EXPECT_EQ(q.calls.size(), 3u);
  s.row = -1;
  RecordingPainter r;
  draw_row(r, s);
  EXPECT_TRUE(r.calls.empty());
}

struct FileRows : ::testing::Test {
  TreeFixture t;
  SliceTable table;
  uint32_t colors[16];
  void SetUp() override {
    t.worked_example();
    table.fill(t.dir.ptop, t.dir.pcur);
    for (int i = 0; i < 16; ++i) colors[i] = 0x100 + i;
  }
  RowState row(int r, const std::string& text) {
    RowState s = base_row(kListFiles, r, table.count() + 1);
    s.text = text;
    s.widths = column_widths(kListFiles, 300, false, 17);  // 200, 100
    s.lead = 1;
    s.slices = &table;
    s.tree_exists = true;
    s.folder_size = 15;
    s.colors = colors;
    s.unit = 2;
    return s;
  }
};

TEST_F(FileRows, EntryRowHasKeyAndFigureInTheUnit) {
  RecordingPainter p;
  draw_row(p, row(2, "D1"));  // item 1: D1, 6 of 15 bytes
  const std::vector<std::string> expected = {
      "left 5,31 D1",
      "key 185,32,195,43 " + std::to_string(0x101),
      "right 295,31 0.00 MB",
  };
  EXPECT_EQ(p.calls, expected);
}

TEST_F(FileRows, NavigationRowsShowOnlyTheirName) {
  RecordingPainter p;
  draw_row(p, row(0, "\\"));
  EXPECT_EQ(p.calls, std::vector<std::string>{"left 5,1 \\"});
}

TEST_F(FileRows, FigureIsTheNodesCurrentSize) {
  t.d1->size = 1572864;  // changed since the table was built
  RowState s = row(2, "D1");
  s.unit = 2;
  RecordingPainter p;
  draw_row(p, s);
  EXPECT_EQ(p.calls.back(), "right 295,31 1.50 MB");
}

TEST_F(FileRows, NoKeyForNarrowOrZeroSizedOrLateEntries) {
  // D2 has 0 bytes: no key, but its figure is drawn.
  RecordingPainter p;
  draw_row(p, row(4, "D2"));
  ASSERT_EQ(p.calls.size(), 2u);
  EXPECT_EQ(p.calls[1], "right 295,61 0.00 MB");
  // A folder of size 0: every entry is drawn, none with a key.
  RowState s = row(1, "F4");
  s.folder_size = 0;
  RecordingPainter q;
  draw_row(q, s);
  ASSERT_EQ(q.calls.size(), 2u);
  EXPECT_EQ(q.calls[0].rfind("left", 0), 0u);
}

TEST_F(FileRows, GoneEntriesAndMissingTreeDrawOnlyTheName) {
  table.forget(t.d1);
  RecordingPainter p;
  draw_row(p, row(2, "D1"));
  EXPECT_EQ(p.calls.size(), 1u);
  RowState s = row(1, "F4");
  s.tree_exists = false;
  RecordingPainter q;
  draw_row(q, s);
  EXPECT_EQ(q.calls.size(), 1u);
}

TEST(RowPainterKeys, SeventeenthEntryGetsNoKey) {
  TreeFixture t;
  lobj* root = t.folder(nullptr, "D:");
  for (int i = 0; i < 20; ++i) t.file(root, "f" + std::to_string(100 + i), 1000 - i);
  t.dir.pcur = root;
  SliceTable table;
  table.fill(t.dir.ptop, root);
  uint32_t colors[16] = {};
  int keys = 0;
  for (int b = 0; b < 20; ++b) {
    RowState s = base_row(kListFiles, b + 2, 22);
    s.widths = column_widths(kListFiles, 300, false, 17);
    s.text = table.node(b)->name;
    s.lead = 2;
    s.slices = &table;
    s.tree_exists = true;
    s.folder_size = static_cast<int64_t>(root->size.load());
    s.colors = colors;
    RecordingPainter p;
    draw_row(p, s);
    bool key = false;
    for (const std::string& c : p.calls) key |= c.rfind("key", 0) == 0;
    EXPECT_EQ(key, b < 16) << b;
    keys += key;
  }
  EXPECT_EQ(keys, 16);
}

TEST(RowPainterText, LongNamesAreFittedIntoTheColumn) {
  RowState s = base_row(kListFiles, 0, 1);
  s.widths = column_widths(kListFiles, 90, false, 17);  // 60, 30
  s.text = "a-rather-long-name";
  RecordingPainter p;
  draw_row(p, s);
  // Room 60 - 20 = 40: five characters (30) and "..." (9).
  EXPECT_EQ(p.calls, std::vector<std::string>{"left 5,1 a-rat..."});
  // At 200 % the name ends before the colour key begins: room 120 - 40, eleven characters.
  s.dpi = Dpi{192};
  s.widths = column_widths(kListFiles, 180, false, 34);  // 120, 60
  RecordingPainter q;
  draw_row(q, s);
  EXPECT_EQ(q.calls, std::vector<std::string>{"left 10,2 a-rather-lo..."});
  EXPECT_LE(10 + q.text_width("a-rather-lo") + q.text_width("..."), color_key_rect(0, 120, s.dpi).left);
}

}  // namespace
}  // namespace kelvane
