// The geometry rules at 150 % and 200 %: each figure written for 96 DPI grows by the scale,
// rounded as MulDiv rounds, and lines of one pixel stay one pixel.
#include <gtest/gtest.h>

#include "base/dpi.h"
#include "frame/dock_layout.h"
#include "frame/frame_layout.h"
#include "frame/help_rules.h"
#include "ui/pixel_map_scale.h"
#include "ui/splitter_layout.h"
#include "views/list_geometry.h"
#include "views/pie_geometry.h"

namespace kelvane {
namespace {

TEST(Dpi, RoundsAsMulDivAndKeepsTheFiguresAt96) {
  EXPECT_EQ(Dpi{}.px(23), 23);
  EXPECT_EQ(Dpi{144}.px(1), 2);    // 1.5 rounds away from zero
  EXPECT_EQ(Dpi{144}.px(-5), -8);  // -7.5 too
  EXPECT_EQ(Dpi{120}.px(22), 28);  // 27.5
  EXPECT_EQ(Dpi{192}.px(435), 870);
  EXPECT_EQ(dpi_of(0), Dpi{});
}

// One case per scale: what each rule gives there.
struct ScaleCase {
  int dpi;
  PixelRect frame;  // the default placement
  int folder_pane;  // xs 700
  int size_pane;
  int separator;  // client width 800
  PixelRect field;
  PixelRect splitter_bar;
  int band;
  int radius;  // chart area of 300 x 300 at 96
  PixelRect label_box;
  int room;
  PixelRect key;
  PixelRect bar_outline;
  int reach;
  int button_cell;
};

class AtScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(AtScale, EveryRuleGrowsWithTheScale) {
  const ScaleCase& c = GetParam();
  const Dpi dpi{c.dpi};
  const std::vector<PixelRect> screen = {PixelRect{0, 0, 4000, 3000}};
  EXPECT_EQ(frame_placement(Settings{}, screen, dpi), c.frame);
  EXPECT_EQ(folder_pane_width(700, dpi), c.folder_pane);
  EXPECT_EQ(size_pane_width(dpi), c.size_pane);
  EXPECT_EQ(separator_width(800, dpi), c.separator);
  // Button 5 of the scaled toolbar and the 8-point font at that scale (-11 at 96).
  const PixelRect button5{dpi.px(115), 0, dpi.px(138), dpi.px(22)};
  EXPECT_EQ(path_field_rect(button5, -dpi.px(11), 800, dpi), c.field);
  EXPECT_EQ(splitter_layout(800, 400, 300, 0, dpi).bar, c.splitter_bar);
  EXPECT_EQ(band_height(dpi), c.band);
  const PieCentre centre =
      pie_centre(chart_area(PixelRect{0, 0, dpi.px(300), dpi.px(300) + c.band}, dpi), dpi);
  EXPECT_EQ(pie_radius(centre.xs, centre.ys, dpi), c.radius);
  // A pane too narrow for a disc at 96 DPI (radius 9) is too narrow at every scale.
  EXPECT_EQ(pie_radius(dpi.px(44), dpi.px(300), dpi), 0);
  // A label straight right of a pie of radius 100 around (200, 200), text 40 wide.
  EXPECT_EQ(label_place(200, 200, 100, 0.0, 40, dpi).box, c.label_box);
  EXPECT_EQ(label_room(200, 100, 0.0, dpi), c.room);
  EXPECT_EQ(color_key_rect(0, 100, dpi), c.key);
  EXPECT_EQ(usage_bar(0, 0, 100, 0, 0, dpi).outline, c.bar_outline);
  EXPECT_EQ(dpi.px(kDockReach), c.reach);
  EXPECT_EQ(dpi.px(kButtonImage), c.button_cell);
  // The control pads the scaled image by 6 pixels at any scale; the button is 22 high at 96.
  EXPECT_EQ(button_height(PixelRect{0, 2, 0, 8 + c.button_cell}, c.button_cell, dpi), dpi.px(22));
}

INSTANTIATE_TEST_SUITE_P(Scales, AtScale,
                         testing::Values(ScaleCase{96,
                                                   {10, 10, 700, 400},
                                                   265,
                                                   80,
                                                   625,
                                                   {140, 1, 760, 21},
                                                   {301, 1, 306, 399},
                                                   22,
                                                   95,
                                                   {320, 194, 370, 208},
                                                   65,
                                                   {85, 2, 95, 13},
                                                   {20, 2, 95, 13},
                                                   32,
                                                   16},
                                         ScaleCase{144,
                                                   {15, 15, 1050, 600},
                                                   398,
                                                   120,
                                                   537,
                                                   {210, 0, 740, 32},
                                                   {301, 1, 309, 399},
                                                   33,
                                                   142,
                                                   {317, 191, 373, 212},
                                                   60,
                                                   {77, 3, 92, 20},
                                                   {30, 3, 92, 20},
                                                   48,
                                                   24},
                                         ScaleCase{192,
                                                   {20, 20, 1400, 800},
                                                   530,
                                                   160,
                                                   450,
                                                   {280, 1, 720, 43},
                                                   {301, 1, 311, 399},
                                                   44,
                                                   190,
                                                   {315, 188, 375, 216},
                                                   55,
                                                   {70, 4, 90, 26},
                                                   {40, 4, 90, 26},
                                                   64,
                                                   32}));

TEST(AtScale, LabelsKeepApartAndTheLinkGrowsByTheScale) {
  // A box 12 pixels below the last one collides at 96 and at 150 % (where 18 would not).
  const PixelRect last{0, 0, 50, 20};
  EXPECT_FALSE(label_clear_of(last, PixelRect{0, 8, 50, 32}, 40));
  EXPECT_FALSE(label_clear_of(last, PixelRect{0, 8, 50, 38}, 40, Dpi{144}));
  EXPECT_TRUE(label_clear_of(last, PixelRect{0, 8, 50, 39}, 40, Dpi{144}));
  // The link zone: 68 < x < 182 and 48 < y < 54 at 96; 136 < x < 364, 96 < y < 108 at 200 %.
  EXPECT_TRUE(in_link_zone(137, 97, Dpi{192}));
  EXPECT_TRUE(in_link_zone(363, 107, Dpi{192}));
  EXPECT_FALSE(in_link_zone(136, 100, Dpi{192}));
  EXPECT_FALSE(in_link_zone(200, 108, Dpi{192}));
}

TEST(PixelMapScale, NearestPixelsNeverMixed) {
  // Two 2 x 2 images: a, b / c, d and e, f / g, h.
  const std::vector<uint32_t> src = {1, 2, 5, 6, 3, 4, 7, 8};
  // Cell 4: each pixel becomes 2 x 2.
  const std::vector<uint32_t> doubled = scale_pixel_strip(src, 2, 2, 4, 0);
  ASSERT_EQ(doubled.size(), 32u);
  EXPECT_EQ((std::vector<uint32_t>(doubled.begin(), doubled.begin() + 8)),
            (std::vector<uint32_t>{1, 1, 2, 2, 5, 5, 6, 6}));
  EXPECT_EQ(doubled[3 * 8 + 7], 8u);
  // Cell 3 (150 %): the first pixel of each row and column drawn twice, none mixed.
  const std::vector<uint32_t> wider = scale_pixel_strip(src, 2, 2, 3, 9);
  EXPECT_EQ((std::vector<uint32_t>(wider.begin(), wider.begin() + 6)),
            (std::vector<uint32_t>{1, 1, 2, 5, 5, 6}));
  EXPECT_EQ((std::vector<uint32_t>(wider.begin() + 12, wider.end())),
            (std::vector<uint32_t>{3, 3, 4, 7, 7, 8}));
}

}  // namespace
}  // namespace kelvane
