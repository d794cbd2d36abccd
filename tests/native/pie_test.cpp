// The pie chart: the exact drawing calls of a paint, and what clicks, the context menu and
// the tooltip do with the slice table.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/size_format.h"
#include "base/size_sum.h"
#include "res/resource_ids.h"
#include "scan/shell.h"
#include "tests/support/fake_shell.h"
#include "tests/support/memory_dir_source.h"
#include "tests/support/message_capture.h"
#include "tests/support/tree_builder.h"
#include "views/pie_actions.h"
#include "views/pie_geometry.h"
#include "views/pie_painter.h"

namespace kelvane {
namespace {

std::string pt(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string rc(const PixelRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// Writes every call as one line; text is 6 pixels per byte ("..." 9) and 13 high.
class RecordingPie : public PiePainter {
 public:
  std::vector<std::string> calls;
  void set_transparent_background() override { calls.push_back("transparent"); }
  void fill_rect(const PixelRect& r, Color c) override {
    calls.push_back("fill " + rc(r) + " " + std::to_string(c));
  }
  void frame_rectangle(const PixelRect& r) override { calls.push_back("frame " + rc(r)); }
  void filled_rectangle(const PixelRect& r, Color c) override {
    calls.push_back("key " + rc(r) + std::to_string(c));
  }
  void set_text_color(Color c) override { calls.push_back("color " + std::to_string(c)); }
  void text_out(int x, int y, TextAlign, const std::string& t) override {
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + t);
  }
  int text_width(const std::string& t) override { return t == "..." ? 9 : static_cast<int>(t.size()) * 6; }
  int text_height(const std::string&) override { return 13; }
  void caption_band(const PixelRect& r, int id) override {
    calls.push_back("band " + rc(r) + " " + std::to_string(id));
  }
  void select_font(PieFont f) override { calls.push_back("font " + std::to_string(static_cast<int>(f))); }
  void draw_3d_rect(const PixelRect& r, Color a, Color b) override {
    calls.push_back("3d " + rc(r) + " " + std::to_string(a) + " " + std::to_string(b));
  }
  void bottom_text(int x, int y, const std::string& t) override {
    calls.push_back("label " + std::to_string(x) + "," + std::to_string(y) + " " + t);
  }
  void select_pen(Color c) override { calls.push_back("pen " + std::to_string(c)); }
  void select_brush(Color c) override { calls.push_back("brush " + std::to_string(c)); }
  void select_null_pen_brush() override { calls.push_back("null"); }
  void ellipse(const PixelRect& r) override { calls.push_back("ellipse " + rc(r)); }
  void pie(const PixelRect& r, Point a, Point b) override {
    calls.push_back("pie " + rc(r) + " " + pt(a) + " " + pt(b));
  }
  void line(Point a, Point b) override { calls.push_back("line " + pt(a) + " " + pt(b)); }
  void frame_box(const PixelRect& r) override { calls.push_back("framebox " + rc(r)); }

  std::vector<std::string> starting(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& c : calls) {
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    }
    return out;
  }
  int index_of(const std::string& call) const {
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i] == call) return static_cast<int>(i);
    }
    return -1;
  }
};

constexpr double kDeg = pie::kDegToRad;

// A folder drawn in a 400 x 322 pane: area 400 x 300 below the band, centre (200, 172),
// radius 95. Items are given by their angles in degrees, largest first.
struct Scene {
  std::deque<lobj> nodes;
  std::vector<slice> records;
  uint32_t colors[16];
  PieScene scene;
  RecordingPie painter;

  explicit Scene(const std::vector<double>& degrees, int tm = 3) {
    for (int i = 0; i < 16; ++i) colors[i] = static_cast<uint32_t>(100 + i);
    double start = 0;
    for (size_t i = 0; i < degrees.size(); ++i) {
      lobj& n = nodes.emplace_back();
      n.name = names[i % 26];
      slice s;
      s.node = &n;
      s.start = start;
      s.span = degrees[i] * kDeg;
      start += s.span;
      records.push_back(s);
    }
    for (slice& s : records) s.count = static_cast<int>(records.size());
    scene.client = PixelRect{0, 0, 400, 322};
    scene.highlight = 1;
    scene.shadow = 2;
    scene.info = 4;
    scene.tree = true;
    scene.records = records.data();
    scene.count = static_cast<int>(records.size());
    scene.folder_size = 1000;
    scene.tm = tm;
    scene.colors = colors;
  }
  PieDrawn draw() { return draw_pie(painter, scene); }
  static constexpr const char* names[26] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
                                            "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z"};
};

TEST(PieDrawing, SingleItemIsShortenedAndLabelledAtItsMiddle) {
  Scene s({360});
  s.records[0].span = kFullTurn;
  s.nodes[0].name = "only";
  const PieDrawn drawn = s.draw();
  EXPECT_TRUE(drawn.disc);
  EXPECT_EQ(drawn.xo, 200);
  EXPECT_EQ(drawn.yo, 172);
  EXPECT_EQ(drawn.rd, 95);
  // Middle angle 3.13159...: left of the centre, just above the centre line.
  const std::vector<std::string> expected = {
      "transparent", "band 0,0,400,322 " + std::to_string(ID_STR_PIE_CHART), "fill 0,22,400,322 16777215",
      "3d 0,22,400,322 1 2", "font 0", "ellipse 105,77,295,267",
      // the label: shadow brush and pen, leader from the box's lower right corner, box, text
      "brush 2", "pen 2", "line 88,179 106,172", "fill 54,165,88,179 4", "framebox 54,165,88,179",
      "label 59,177 only", "null",
      // the sector from angle 0 to 0.02 short of the full turn, in colour 0
      "brush 100", "pen 0", "pie 105,77,295,267 295,171 294,172", "null", "font 1", "null"};
  EXPECT_EQ(s.painter.calls, expected);
}

TEST(PieDrawing, LargestAtMostTmIsHatchingOnly) {
  std::vector<double> small(120, 3.0);
  Scene s(small, 3);
  s.draw();
  EXPECT_TRUE(s.painter.starting("pie ").empty());
  const std::vector<std::string> lines = s.painter.starting("line ");
  // From 3 degrees on, every 3 degrees below the full turn (the last at 357), then angle 0.
  ASSERT_EQ(lines.size(), 120u);
  EXPECT_EQ(lines.front(), "line 200,172 294,167");  // 94.87, 4.97 truncated, one up
  EXPECT_EQ(lines[lines.size() - 2], "line 200,172 294,175");
  EXPECT_EQ(lines.back(), "line 200,172 295,172");
  EXPECT_EQ(s.painter.calls[s.painter.index_of(lines.front()) - 1], "pen 0");
}

TEST(PieDrawing, ThresholdDecidesLabelSectorAndHatching) {
  Scene s({180, 7, 5, 3, 165}, 3);
  s.draw();
  EXPECT_EQ(s.painter.starting("pie ").size(), 3u);  // 180, 7 and 5 degrees
  const std::vector<std::string> labels = s.painter.starting("label ");
  ASSERT_EQ(labels.size(), 2u);  // 180 and 7 degrees
  EXPECT_NE(labels[1].find(" b"), std::string::npos);
  // The hatching starts at the 3-degree item (at 192 degrees) and the rest gets nothing.
  const std::vector<std::string> lines = s.painter.starting("line ");
  const double first = (192 + 3) * kDeg;
  EXPECT_EQ(lines[2], "line 200,172 " + pt(circle_point(200, 172, 95, first, 1)));
  EXPECT_EQ(lines.back(), "line 200,172 295,172");
}

TEST(PieDrawing, SeventeenthSectorTakesColourZeroAgain) {
  Scene s(std::vector<double>(18, 20.0), 3);
  s.draw();
  const std::vector<std::string> brushes = s.painter.starting("brush 1");
  std::vector<std::string> sector_brushes;
  for (size_t i = 0; i + 2 < s.painter.calls.size(); ++i) {
    if (s.painter.calls[i].rfind("brush ", 0) == 0 && s.painter.calls[i + 2].rfind("pie ", 0) == 0)
      sector_brushes.push_back(s.painter.calls[i]);
  }
  ASSERT_EQ(sector_brushes.size(), 18u);
  EXPECT_EQ(sector_brushes[15], "brush 115");
  EXPECT_EQ(sector_brushes[16], "brush 100");
  EXPECT_EQ(sector_brushes[17], "brush 101");
}

TEST(PieDrawing, EmptyOrSizelessFolderAndNoTreeAndSmallPanes) {
  Scene zero({180, 180});
  zero.scene.folder_size = 0;
  zero.draw();
  EXPECT_EQ(zero.painter.calls[5], "ellipse 105,77,295,267");
  EXPECT_EQ(zero.painter.calls.size(), 8u);  // the white disc, then the stock objects

  Scene none({180, 180});
  none.scene.tree = false;
  EXPECT_FALSE(none.draw().disc);
  EXPECT_TRUE(none.painter.starting("ellipse").empty());

  // A 44-pixel area: header and white area only, and no new radius.
  Scene small({360});
  small.scene.client = PixelRect{0, 0, 44, 322};
  const PieDrawn a = small.draw();
  EXPECT_EQ(a.rd, 0);
  EXPECT_FALSE(a.disc);
  EXPECT_EQ(small.painter.calls.size(), 4u);
  EXPECT_EQ(pie_radius(45, 300), 10);
  EXPECT_EQ(pie_radius(300, 44), 0);

  Scene busy({360});
  busy.scene.busy = true;
  EXPECT_FALSE(busy.draw().painted);
  EXPECT_TRUE(busy.painter.calls.empty());
}

TEST(PieDrawing, CollidingLabelIsLeftOutButItsSectorStays) {
  // b and cc at 78.5 and 83.5 degrees: boxes 2 pixels apart in height, 10 in their left
  // edges, less than cc's 12-pixel text.
  Scene s({76, 5, 5, 274}, 2);
  s.nodes[2].name = "cc";
  s.draw();
  EXPECT_EQ(s.painter.starting("pie ").size(), 4u);
  const std::vector<std::string> labels = s.painter.starting("label ");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_NE(labels[0].find(" a"), std::string::npos);
  EXPECT_NE(labels[1].find(" b"), std::string::npos);
  EXPECT_NE(labels[2].find(" d"), std::string::npos);  // cc collided with b
}

TEST(PieDrawing, LongNamesAreShortenedToTheRoom) {
  Scene s({180, 180});
  std::string long_name(60, 'x');
  s.nodes[0].name = long_name.c_str();
  s.scene.client = PixelRect{0, 0, 200, 322};  // xo 100; at 90 degrees the room is 100 - 0 - 10
  s.draw();
  const std::vector<std::string> labels = s.painter.starting("label ");
  ASSERT_FALSE(labels.empty());
  // 13 characters and "..." take 87 pixels, 14 would take 93.
  EXPECT_EQ(labels[0].substr(labels[0].find(' ', 6) + 1), std::string(13, 'x') + "...");
}

TEST(PieDrawing, LabelRoomShrinksAwayFromTheVertical) {
  // xo 200, rd 95: labels stand on the radius 118; the room is what is left of xo beside them.
  EXPECT_EQ(label_room(200, 95, pie::kQuarter), 190);
  EXPECT_EQ(label_room(200, 95, 0), 72);
  EXPECT_EQ(label_room(200, 95, 120 * kDeg), 132);  // 118 * cos 120 = -58.99..., truncated
  EXPECT_EQ(label_room(200, 95, 180 * kDeg), 72);
  // A long name at 20 degrees: 118 * cos 20 = 110.9, room 80 for 11 characters and "...".
  Scene s({40, 320});
  const std::string long_name(60, 'x');
  s.nodes[0].name = long_name.c_str();
  s.draw();
  const std::vector<std::string> labels = s.painter.starting("label ");
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0], "label 310,138 " + std::string(11, 'x') + "...");
}

TEST(PieDrawing, LabelNeedsMoreThanTwiceTheThreshold) {
  // a's label at 3 degrees is far from b's at 183: only the threshold decides.
  for (double degrees : {6.0, 6.0001}) {
    Scene s({degrees, 360 - degrees}, 3);
    s.draw();
    EXPECT_EQ(s.painter.starting("pie ").size(), 2u) << degrees;
    EXPECT_EQ(s.painter.starting("label ").size(), degrees > 6 ? 2u : 1u) << degrees;
  }
}

TEST(PieGeometry, LabelsKeepClearByMoreThanTheirEdgesAllow) {
  // Boxes are 14 high; the last one drawn ends at 100 and starts at 10 with a 12-pixel text.
  const PixelRect last{10, 86, 40, 100};
  const auto clear = [&](int left, int top, int bottom) {
    return label_clear_of(last, PixelRect{left, top, left + 30, bottom}, 12);
  };
  EXPECT_FALSE(clear(10, 99, 150));  // tops 1 apart from last's bottom
  EXPECT_FALSE(clear(10, 101, 150));
  EXPECT_TRUE(clear(10, 98, 150));
  EXPECT_TRUE(clear(10, 102, 150));
  EXPECT_FALSE(clear(10, 50, 112));  // bottoms 12 apart
  EXPECT_FALSE(clear(10, 50, 88));
  EXPECT_TRUE(clear(10, 50, 113));
  EXPECT_TRUE(clear(10, 50, 87));
  // Overlapping in height, the left edges must be more than the text's width apart.
  EXPECT_FALSE(clear(22, 100, 114));
  EXPECT_FALSE(clear(-2, 100, 114));
  EXPECT_TRUE(clear(23, 100, 114));
  EXPECT_TRUE(clear(-3, 100, 114));
}

TEST(PieDrawing, ZeroThresholdAndOnePixelSectors) {
  // tm 0: an item of size 0 reaches the hatching, which draws only the angle-0 radius.
  Scene s({360, 0}, 0);
  s.records[0].span = kFullTurn;
  s.draw();
  EXPECT_EQ(s.painter.starting("line 200,172").size(), 1u);
  EXPECT_EQ(s.painter.starting("line 200,172").front(), "line 200,172 295,172");

  // A sector whose radial points fall on one pixel is not drawn (it would fill the disc), but
  // the next sector still takes the next colour.
  Scene t({2.1, 0.2, 357.7}, 0);  // 2.1 and 2.3 degrees both end at (294, 168)
  t.draw();
  const std::vector<std::string> pies = t.painter.starting("pie ");
  EXPECT_EQ(pies.size(), 2u);
  EXPECT_NE(t.painter.index_of("brush 102"), -1);
  EXPECT_EQ(t.painter.index_of("brush 101"), -1);
}

// A sparse file of 2^63 - 1 bytes beside 1 byte, 20 TiB and 5 TiB: the walk's sums stop at the
// largest figure instead of turning negative, the folder's pie is drawn, and a deletion takes
// the right amount off again.
TEST(PieDrawing, HugeSizesNeverWrapAndTheFoldersPieIsDrawn) {
  MemoryDirSource fs;
  const uint64_t tib = 1ull << 40;
  fs.add_file("C:\\R\\big\\huge", kMaxSize);
  fs.add_file("C:\\R\\big\\one", 1);
  fs.add_file("C:\\R\\big\\t20", 20 * tib);
  fs.add_file("C:\\R\\big\\t5", 5 * tib);
  fs.add_file("C:\\R\\three", 3);
  fs.add_file("C:\\R\\beyond", ~0ull);  // more than a size can be: taken as the largest
  testing_tree::TreeFixture t;
  t.dir.set_source(&fs);
  t.dir.read_mdir("C:\\R", nullptr);
  lobj* root = t.dir.ptop;
  ASSERT_NE(root, nullptr);
  lobj* big = root->next;
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->size.load(), kMaxSize);
  EXPECT_EQ(root->size.load(), kMaxSize);
  EXPECT_EQ(format_size(static_cast<int64_t>(big->size.load()), 0), "9223372036854775807 B");

  SliceTable table;
  table.fill(root, big);
  ASSERT_EQ(table.count(), 4);
  double turn = 0;
  for (int i = 0; i < 4; ++i) {
    EXPECT_GT(table.at(i)->span, 0) << i;
    turn += table.at(i)->span;
  }
  EXPECT_NEAR(turn, 6.283185307, 1e-9);
  Scene scene({});
  scene.scene.records = table.at(0);
  scene.scene.count = table.count();
  scene.scene.folder_size = static_cast<int64_t>(big->size.load());
  scene.draw();
  EXPECT_EQ(scene.painter.starting("pie ").size(), 1u);  // the huge file; the rest is hatched

  lobj* file = big->first;
  while (file && std::string(file->name) != "one") file = file->next;
  ASSERT_NE(file, nullptr);
  t.dir.take_off_ancestors(file);
  EXPECT_EQ(big->size.load(), kMaxSize);
  t.dir.remv_lobj(file, 0);
  t.dir.take_off_ancestors(big->first);  // huge
  t.dir.remv_lobj(big->first, 0);
  EXPECT_EQ(big->size.load(), 25 * tib);
  EXPECT_EQ(root->size.load(), kMaxSize);  // beyond is still there
  lobj* beyond = root->first;
  while (beyond && std::string(beyond->name) != "beyond") beyond = beyond->next;
  ASSERT_NE(beyond, nullptr);
  EXPECT_EQ(beyond->size.load(), kMaxSize);  // capped as listed, not wrapped to a negative figure
  t.dir.take_off_ancestors(beyond);
  EXPECT_EQ(root->size.load(), 25 * tib + 3);
}

TEST(PieGeometry, HitTestAndAngles) {
  EXPECT_TRUE(on_disc(95, 0, 95));
  EXPECT_TRUE(on_disc(67, 67, 95));  // 94.75 truncates to 94
  EXPECT_FALSE(on_disc(96, 0, 95));  // one pixel outside
  EXPECT_TRUE(on_disc(68, 67, 95));  // 95.46 truncates to 95
  EXPECT_EQ(click_angle(0, 0), 0.0);
  EXPECT_EQ(click_angle(0, 5), pie::kQuarter);
  EXPECT_EQ(click_angle(0, -5), pie::kThreeQuarters);
  EXPECT_EQ(click_angle(-5, 0), std::atan2(0.0, -5.0));
  EXPECT_NEAR(click_angle(5, -5), 7 * kFullTurn / 8, 1e-9);

  slice r[2];
  lobj a, b;
  r[0] = slice{1, &a, 0, 1.0, 2};
  r[1] = slice{1, &b, 1.0, 5.283185307, 2};
  EXPECT_EQ(slice_at(r, 2, 0), -1);    // the centre and angle 0
  EXPECT_EQ(slice_at(r, 2, 1.0), -1);  // on the boundary
  EXPECT_EQ(slice_at(r, 2, 0.5), 0);
  EXPECT_EQ(slice_at(r, 2, 1.5), 1);
  r[1].node = nullptr;  // an entry that has gone
  EXPECT_EQ(slice_at(r, 2, 1.5), -1);
}

class FakeHost : public PieHost, public FolderHost {
 public:
  SliceTable* table = nullptr;
  std::vector<std::string> calls;
  const SliceTable* slice_table() override { return table; }
  FolderHost* folder_host() override { return this; }
  void set_path_field(const std::string& t) override { calls.push_back("path " + t); }
  void show_folder_title(const std::string&) override {}
  // Each way go_to_folder shows a folder: from the tree, the drives again, a scan.
  void show_from_tree() override { calls.push_back("dirs"); }
  void show_drives() override { calls.push_back("dirs"); }
  void scan(const std::string&) override { calls.push_back("dirs"); }
  void select_only_row(int row) override { calls.push_back("select " + std::to_string(row)); }
  void delete_selection() override { calls.push_back("delete"); }
};

// D:\DATA with a (40), b (30), c (20), sub (10) and d (5), drawn in a
// 400 x 322 pane (centre 200,172, radius 95).
struct PieClicks : ::testing::Test {
  testing_tree::TreeFixture t;
  SliceTable table;
  FakeHost host;
  testing_fakes::FakeShell shell;
  testing_fakes::ScopedShell shell_scope{shell};
  testing_fakes::MessageCapture shown;
  PieActions pie{t.dir, t.settings, t.busy, host};
  lobj* data = nullptr;
  lobj* sub = nullptr;

  void SetUp() override {
    data = t.folder(nullptr, "D:\\DATA");
    t.file(data, "a", 40);
    t.file(data, "b", 30);
    t.file(data, "c", 20);
    sub = t.folder(data, "sub");
    t.file(sub, "x", 10);
    t.file(data, "d", 5);
    t.dir.pcur = data;
    t.dir.isdrv = 0;
    t.dir.path = t.dir.cdir = "D:\\DATA";
    table.fill(t.dir.ptop, t.dir.pcur);
    host.table = &table;
    PieDrawn drawn;
    drawn.painted = true;
    drawn.xo = 200;
    drawn.yo = 172;
    drawn.rd = 95;
    drawn.disc = true;
    pie.painted(drawn);
  }
  // A client point at angle degrees, r pixels from the centre.
  static Point at(double degrees, double r) {
    const double a = degrees * kDeg;
    return Point{200 + static_cast<int>(std::lround(r * std::cos(a))),
                 172 - static_cast<int>(std::lround(r * std::sin(a)))};
  }
};

TEST_F(PieClicks, ClicksThatHitNothing) {
  pie.OnLButtonDown(200, 172);              // the centre: angle 0 is no slice's inside
  pie.OnLButtonDown(296, 172);              // one pixel outside the radius
  pie.OnSlice(kPieProperties);              // the stored click: still outside
  EXPECT_FALSE(pie.OnContextMenu(-1, -1));  // the keyboard's (-1, -1) on a view at the origin
  EXPECT_FALSE(pie.OnContextMenu(296, 172));
  EXPECT_TRUE(host.calls.empty());
  EXPECT_TRUE(shown.texts.empty());
  EXPECT_TRUE(shell.lookups.empty());
  EXPECT_EQ(pie.tip_text(296, 172), "");
}

TEST_F(PieClicks, OpenPropertiesAndDeleteOnTheSliceUnderTheClick) {
  // Slices: a 0-137, b 137-240, c 240-309, sub 309-343, d 343-360 degrees.
  pie.OnLButtonDown(200, 100);  // straight above: 90 degrees, a file
  ASSERT_EQ(shell.lookups.size(), 1u);
  EXPECT_EQ(shell.lookups[0], "D:\\DATA\\a");

  const Point left = at(180, 50);  // b
  ASSERT_TRUE(pie.OnContextMenu(left.x, left.y));
  pie.OnSlice(kPieProperties);
  ASSERT_EQ(shown.texts.size(), 2u);  // the failed open said so first
  EXPECT_EQ(shown.texts[1], "D:\\DATA\\b\n0.00 MB");

  const Point below = at(270, 50);  // straight below: c, the third slice
  EXPECT_EQ(pie.slice_under(200, 222), 2);
  EXPECT_EQ(pie.slice_under(below.x, below.y), 2);
  ASSERT_TRUE(pie.OnContextMenu(below.x, below.y));
  pie.OnSlice(kPieDelete);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"select 4", "delete"}));
  t.dir.isdrv = 1;
  pie.OnSlice(kPieDelete);
  EXPECT_EQ(host.calls[2], "select 3");

  host.calls.clear();
  const Point folder = at(336, 50);
  pie.OnLButtonDown(folder.x, folder.y);
  EXPECT_EQ(t.dir.pcur.load(), sub);
  EXPECT_EQ(t.dir.cdir, "D:\\DATA\\sub");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"path D:\\DATA\\sub", "dirs"}));
}

TEST_F(PieClicks, OnlyWhereTheLastPaintDrewAPieOfThisTree) {
  const Point p = at(90, 50);
  EXPECT_EQ(pie.tip_text(p.x, p.y), "a: 0.00 MB, 38.1 %");
  t.busy = 1;
  EXPECT_EQ(pie.tip_text(p.x, p.y), "");
  EXPECT_FALSE(pie.OnContextMenu(p.x, p.y));
  t.busy = 0;

  // A pane too small for a disc keeps the old radius but no pie to hit.
  PieDrawn small;
  small.painted = true;
  small.xo = 20;
  small.yo = 172;
  pie.painted(small);
  EXPECT_EQ(pie.rd, 95);
  EXPECT_EQ(pie.xo, 20);
  EXPECT_FALSE(pie.OnContextMenu(20, 150));

  // A pie drawn, then the tree freed (the drive list): nothing is hit.
  PieDrawn full;
  full.painted = true;
  full.xo = 200;
  full.yo = 172;
  full.rd = 95;
  full.disc = true;
  pie.painted(full);
  EXPECT_TRUE(pie.OnContextMenu(p.x, p.y));
  table.clear();
  t.dir.free_tree();
  t.dir.pcur = nullptr;
  EXPECT_FALSE(pie.OnContextMenu(p.x, p.y));
  pie.OnLButtonDown(p.x, p.y);
  EXPECT_TRUE(shell.lookups.empty());
}

}  // namespace
}  // namespace kelvane
