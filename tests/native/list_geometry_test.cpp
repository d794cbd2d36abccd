#include "views/list_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "scan/typed_path.h"
#include "views/dir_request.h"
#include "views/fit_text.h"

namespace kelvane {
namespace {

TEST(ListGeometry, ColumnWidthsGiveTheRemainderToTheNameColumn) {
  ColumnWidths d = column_widths(kListDrives, 10, false, 17);
  ASSERT_EQ(d.count, 4);
  EXPECT_EQ(d.width[0], 4);
  EXPECT_EQ(d.width[1], 2);
  EXPECT_EQ(d.width[2], 2);
  EXPECT_EQ(d.width[3], 2);
  ColumnWidths f = column_widths(kListFiles, 10, false, 17);
  ASSERT_EQ(f.count, 2);
  EXPECT_EQ(f.width[0], 7);
  EXPECT_EQ(f.width[1], 3);
  // A vertical scroll bar takes its width off first: 417 - 17 = 400.
  ColumnWidths s = column_widths(kListFiles, 417, true, 17);
  EXPECT_EQ(s.width[0], 267);
  EXPECT_EQ(s.width[1], 133);
  ColumnWidths z = column_widths(kListDrives, 0, false, 17);
  EXPECT_EQ(z.width[0] + z.width[1] + z.width[2] + z.width[3], 0);
}

TEST(ListGeometry, RowsMapToItemsBehindTheNavigationRows) {
  EXPECT_EQ(lead_rows(1), 1);
  EXPECT_EQ(lead_rows(0), 2);
  EXPECT_EQ(item_of_row(1, 1), 0);  // drive root: only "\\" leads
  EXPECT_EQ(item_of_row(2, 2), 0);  // folder: "\\" and ".."
  EXPECT_EQ(item_of_row(1, 2), -1);
  EXPECT_EQ(row_of_item(3, 2), 5);
  EXPECT_EQ(row_of_item(3, 1), 4);
}

TEST(ListGeometry, UsageBar) {
  // 25 of 100 bytes used in a 61-pixel name column: interior 21..55, 34 pixels, 8 of them blue.
  UsageBar bar = usage_bar(0, 30, 61, 25, 100);
  EXPECT_EQ(bar.outline, (PixelRect{20, 32, 56, 43}));
  EXPECT_EQ(bar.interior, (PixelRect{21, 33, 55, 42}));
  EXPECT_EQ(bar.used, (PixelRect{21, 33, 29, 42}));
  // A drive without a total shows an empty bar.
  UsageBar none = usage_bar(0, 0, 61, 25, 0);
  EXPECT_EQ(none.used.right, none.used.left);
  // Terabyte figures do not overflow: 3 of 4 TB used.
  const uint64_t tb = 1ULL << 40;
  UsageBar big = usage_bar(0, 0, 61, 3 * tb, 4 * tb);
  EXPECT_EQ(big.used.right - big.used.left, 25);  // 34 * 3 / 4
  UsageBar full = usage_bar(0, 0, 61, 4 * tb, 4 * tb);
  EXPECT_EQ(full.used.right, full.interior.right);
}

TEST(ListGeometry, ColorKeyDecision) {
  const double deg = 1 / 57.29577951471995;
  EXPECT_EQ(color_key_rect(10, 100), (PixelRect{85, 12, 95, 23}));
  EXPECT_FALSE(has_color_key(0, 100, 3 * deg, 3));  // exactly 3 degrees: no key
  EXPECT_TRUE(has_color_key(0, 100, 3.01 * deg, 3));
  EXPECT_TRUE(has_color_key(15, 100, 90 * deg, 3));
  EXPECT_FALSE(has_color_key(16, 100, 90 * deg, 3));  // the 17th entry
  EXPECT_FALSE(has_color_key(-1, 100, 90 * deg, 3));
  EXPECT_FALSE(has_color_key(0, 0, std::numeric_limits<double>::quiet_NaN(), 3));
  EXPECT_FALSE(has_color_key(0, 0, 90 * deg, 3));
}

// Every character is 10 pixels wide; "..." is 6.
class FixedMeasure : public TextMeasure {
 public:
  int calls = 0;
  int text_width(const std::string& text) override {
    ++calls;
    if (text == "...") return 6;
    int chars = 0;
    for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
    return chars * 10;
  }
};

TEST(FitText, ShortensWithDots) {
  FixedMeasure m;
  EXPECT_EQ(fit_text(m, "", 0), "");
  EXPECT_EQ(fit_text(m, "abcd", 40), "abcd");
  EXPECT_EQ(fit_text(m, "abcdef", 40), "abc...");  // 30 + 6 <= 40
  EXPECT_EQ(fit_text(m, "abcdef", 46), "abcd...");
  EXPECT_EQ(fit_text(m, "abcdef", 5), "a...");  // nothing fits: the first character stays
  EXPECT_EQ(fit_text(m, "x", 5), "x...");
}

TEST(FitText, NeverCutsInsideACharacter) {
  FixedMeasure m;
  // "Grüße" is five characters, seven bytes.
  EXPECT_EQ(fit_text(m, "Grüße", 36), "Grü...");
  EXPECT_EQ(fit_text(m, "日本語", 5), "日...");
  EXPECT_EQ(fit_text(m, "日", 5), "日...");
}

TEST(DirRequest, DriveRootsAndUpperCase) {
  EXPECT_EQ(upper_case("d:\\data\\grüße"), "D:\\DATA\\GRüßE");
  EXPECT_TRUE(is_drive_root("D:"));
  EXPECT_TRUE(is_drive_root("D:\\"));
  EXPECT_FALSE(is_drive_root("D:\\X"));
  EXPECT_FALSE(is_drive_root("DX"));
  EXPECT_FALSE(is_drive_root("D"));
}

TEST(DirRequest, InsideTheScannedTree) {
  EXPECT_TRUE(inside_tree("D:\\DATA", "D:\\DATA"));
  EXPECT_TRUE(inside_tree("D:\\DATA\\SUB", "D:\\DATA"));
  EXPECT_FALSE(inside_tree("D:", "D:\\DATA"));         // "\\" below a folder scan rescans the drive
  EXPECT_FALSE(inside_tree("D:\\DATA2", "D:\\DATA"));  // a sibling with the same beginning
  EXPECT_TRUE(inside_tree("D:", "D:"));
  EXPECT_TRUE(inside_tree("D:\\X", "D:"));
  // A drive scanned as typed with its backslash.
  EXPECT_TRUE(inside_tree("D:", "D:\\"));
  EXPECT_TRUE(inside_tree("D:\\X", "D:\\"));
  EXPECT_FALSE(inside_tree("E:", "D:\\"));
  EXPECT_FALSE(inside_tree("D:", ""));
}

TEST(ListGeometry, TypedPrefixFindsTheNextMatchingRow) {
  const std::vector<std::string> names = {"\\", "..", "big.bin", "Beta", "mid.txt"};
  const auto name = [&](int r) { return names[static_cast<size_t>(r)]; };
  const int n = static_cast<int>(names.size());
  EXPECT_EQ(find_row(n, 0, "b", true, true, name), 2);
  EXPECT_EQ(find_row(n, 3, "B", true, true, name), 3);  // case does not matter
  EXPECT_EQ(find_row(n, 4, "b", true, true, name), 2);  // round to the top
  EXPECT_EQ(find_row(n, 4, "b", true, false, name), -1);
  EXPECT_EQ(find_row(n, 0, "MID", true, true, name), 4);
  EXPECT_EQ(find_row(n, 0, "beta", false, true, name), 3);
  EXPECT_EQ(find_row(n, 0, "bet", false, true, name), -1);  // whole names only
  EXPECT_EQ(find_row(n, 0, "zz", true, true, name), -1);    // never the first row by default
  EXPECT_EQ(find_row(n, 0, "", true, true, name), -1);
  EXPECT_EQ(find_row(n, n, "..", true, true, name), 1);  // start past the end
  EXPECT_EQ(find_row(0, 0, "b", true, true, name), -1);
}

}  // namespace
}  // namespace kelvane
