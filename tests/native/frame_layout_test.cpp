#include "frame/frame_layout.h"

#include <gtest/gtest.h>

#include "views/dir_request.h"
#include "views/pane_widths.h"

namespace kelvane {
namespace {

const std::vector<PixelRect> kOneScreen = {PixelRect{0, 0, 1024, 768}};

TEST(FramePlacement, DefaultSettingsGiveTheirRectangle) {
  const Settings defaults;  // the settings table's
  const PixelRect r = frame_placement(defaults, kOneScreen);
  EXPECT_EQ(r, (PixelRect{defaults.yo, defaults.xo, defaults.xs, defaults.ys}));
  EXPECT_EQ(default_frame_rect(), r);
}

TEST(FramePlacement, XoIsTheTopAndYoTheLeftEdge) {
  Settings s;
  s.xo = 50;
  s.yo = 200;
  const PixelRect r = frame_placement(s, kOneScreen);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, s.xs);
  EXPECT_EQ(r.bottom, s.ys);
}

TEST(FramePlacement, FrameLargerThanTheWorkAreaIsKeptInsideIt) {
  // Work areas of two monitors; the taskbar takes the bottom 40 pixels of the first.
  const std::vector<PixelRect> work = {{0, 0, 1024, 728}, {1024, 0, 2048, 768}};
  // Too tall: it moves up and loses what does not fit; its width stays.
  EXPECT_EQ(fit_into_work_area(PixelRect{10, 10, 700, 2000}, work), (PixelRect{10, 0, 700, 728}));
  // Too wide and tall, mostly on the second monitor: that monitor's work area.
  EXPECT_EQ(fit_into_work_area(PixelRect{1000, 10, 3000, 900}, work), (PixelRect{1024, 0, 2048, 768}));
  // A frame that fits stays where it is, even hanging over an edge; so does one on no monitor.
  EXPECT_EQ(fit_into_work_area(PixelRect{900, 600, 1100, 760}, work), (PixelRect{900, 600, 1100, 760}));
  EXPECT_EQ(fit_into_work_area(PixelRect{5000, 0, 9000, 100}, work), (PixelRect{5000, 0, 9000, 100}));
}

TEST(FramePlacement, EmptyOrOffScreenRectangleFallsBackToTheDefault) {
  Settings empty;
  empty.xs = empty.yo;  // zero width
  EXPECT_EQ(frame_placement(empty, kOneScreen), default_frame_rect());

  Settings inverted;
  inverted.xo = 500;  // top below bottom
  EXPECT_EQ(frame_placement(inverted, kOneScreen), default_frame_rect());

  Settings far_away;
  far_away.yo = 3000;
  far_away.xs = 3600;
  EXPECT_EQ(frame_placement(far_away, kOneScreen), default_frame_rect());

  // The same rectangle is kept on a machine whose second monitor lies there.
  const std::vector<PixelRect> two = {PixelRect{0, 0, 1024, 768}, PixelRect{2900, 0, 4000, 800}};
  EXPECT_EQ(frame_placement(far_away, two), (PixelRect{3000, far_away.xo, 3600, far_away.ys}));

  // Partly visible is visible.
  Settings half;
  half.yo = -300;
  EXPECT_EQ(frame_placement(half, kOneScreen), (PixelRect{-300, half.xo, half.xs, half.ys}));

  // No monitor known: nothing counts as visible.
  EXPECT_EQ(frame_placement(far_away, {}), default_frame_rect());
}

TEST(ToolbarLayout, ClientWidth800GivesSeparator625AndFieldEnding40Short) {
  EXPECT_EQ(separator_width(800), 625);
  EXPECT_EQ(toolbar_width(800), 802);
  const PixelRect button5{115, 2, 138, 24};
  const PixelRect field = path_field_rect(button5, -11, 800);
  EXPECT_EQ(field.left, 140);
  EXPECT_EQ(field.right, 760);
  EXPECT_EQ(field.height(), 20);
  EXPECT_EQ(field.top, 13 - 10);
}

TEST(ToolbarLayout, FieldHeightFollowsTheFontWithTruncatingHalves) {
  const PixelRect button5{0, 0, 23, 22};
  EXPECT_EQ(path_field_rect(button5, -11, 800).height(), 20);  // (10 + 11) / 2 = 10
  EXPECT_EQ(path_field_rect(button5, -12, 800).height(), 22);  // 11
  EXPECT_EQ(path_field_rect(button5, -13, 800).height(), 22);  // 23 / 2 = 11
  // Middle of an odd-height button: 0 + 21 / 2 = 10.
  EXPECT_EQ(path_field_rect(PixelRect{0, 0, 23, 21}, -11, 800).top, 0);
}

TEST(ToolbarLayout, NegativeWidthsAreClampedAtZero) {
  EXPECT_EQ(separator_width(100), 0);
  EXPECT_EQ(separator_width(175), 0);
  EXPECT_EQ(separator_width(176), 1);
  const PixelRect field = path_field_rect(PixelRect{115, 2, 138, 24}, -11, 150);
  EXPECT_EQ(field.left, 140);
  EXPECT_EQ(field.width(), 0);
  // A font taller than the field rule allows gives no negative height either.
  EXPECT_EQ(path_field_rect(PixelRect{0, 0, 23, 22}, 40, 800).height(), 0);
}

TEST(ToolbarLayout, ButtonsAreResizedOnlyWhenButtonFiveTouchesTheTop) {
  EXPECT_TRUE(needs_button_resize(PixelRect{115, 0, 138, 22}));
  EXPECT_FALSE(needs_button_resize(PixelRect{115, 2, 138, 24}));
}

TEST(StatusPanes, FolderPaneStartsAtXsMinus435AndNeverBelowZero) {
  EXPECT_EQ(folder_pane_width(700), 265);
  EXPECT_EQ(folder_pane_width(435), 0);
  EXPECT_EQ(folder_pane_width(300), 0);
  EXPECT_EQ(kSizePaneWidth, 80);
}

TEST(StatusPanes, PieWidthIsSharedThreeQuartersToOneQuarter) {
  // w = 400 + 4 - 2 * 17 = 370: 277 and 92.
  PaneWidths p = pie_pane_widths(400, false, 17, 4);
  EXPECT_EQ(p.folder, 277);
  EXPECT_EQ(p.size, 92);
  // Maximized adds one scroll bar width: w = 387.
  p = pie_pane_widths(400, true, 17, 4);
  EXPECT_EQ(p.folder, 290);
  EXPECT_EQ(p.size, 96);
  // A pie narrower than two scroll bars gives no negative panes.
  p = pie_pane_widths(10, false, 17, 4);
  EXPECT_EQ(p.folder, 0);
  EXPECT_EQ(p.size, 0);
}

TEST(Commands, RescanDecisions) {
  EXPECT_TRUE(is_rescan_key(0x0D));
  EXPECT_TRUE(is_rescan_key(0x74));
  EXPECT_FALSE(is_rescan_key(0x75));
  EXPECT_FALSE(path_starts_scan(""));
  EXPECT_FALSE(path_starts_scan("D"));
  EXPECT_TRUE(path_starts_scan("D:"));
  // One letter outside ASCII is still one character, though several bytes.
  EXPECT_FALSE(path_starts_scan("\xC3\xA9"));         // e with an acute accent
  EXPECT_FALSE(path_starts_scan("\xE6\x97\xA5"));     // a CJK ideograph
  EXPECT_TRUE(path_starts_scan("\xC3\xA9\xC3\xA9"));  // two of them
}

}  // namespace
}  // namespace kelvane
