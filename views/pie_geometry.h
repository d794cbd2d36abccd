#pragma once
// The pie chart's arithmetic as plain functions: where the header band, the chart area, the
// centre and the radius lie, the points on the circle, the label boxes and their leaders, the
// rule that keeps labels apart, the hatching of the narrow remainder and the hit test of a
// click. Angles are radians counter-clockwise from 3 o'clock with y upwards; every real
// coordinate is truncated toward zero. Every pixel figure is written for 96 DPI and taken to
// the pane's display scale with Dpi::px (the default scale gives the figures as written).
#include <vector>

#include "views/list_geometry.h"
#include "views/slice.h"

namespace kelvane {

namespace pie {
// The program's own decimal constants, like the full turn (views/slice.h) they go with.
constexpr double kNearFullMargin = 0.02;
constexpr double kDegToRad = 0.017453292519444445;
constexpr double kQuarter = 1.57079632675;
constexpr double kHalf = 3.1415926535;
constexpr double kThreeQuarters = 4.71238898025;
constexpr double kHalfFactor = -0.5;
constexpr int kBandHeight = 22;
}  // namespace pie

// The caption band's height at a display scale.
inline int band_height(Dpi dpi) { return dpi.px(pie::kBandHeight); }

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// The chart area below the caption band.
PixelRect chart_area(const PixelRect& client, Dpi dpi = {});

// Size of the chart area and the pie's centre in client pixels.
struct PieCentre {
  int xs = 0;
  int ys = 0;
  int xo = 0;
  int yo = 0;
};
PieCentre pie_centre(const PixelRect& area, Dpi dpi = {});
// The radius for an area of xs by ys pixels, or 0 when it is too small for a disc.
int pie_radius(int xs, int ys, Dpi dpi = {});
// The bounding box of the disc.
PixelRect pie_box(int xo, int yo, int rd);

// The point at angle a on the circle of radius r around (xo, yo), raised by lift pixels
// (the sectors' and the hatching's radial points are raised by one).
Point circle_point(int xo, int yo, int r, double a, int lift);
// The span a sector is drawn with: a slice within 0.02 of a full turn is shortened by 0.02,
// so that its two radial points differ.
double drawn_span(double span);

// A label of the slice whose middle angle is m, with a text tw pixels wide.
struct LabelPlace {
  PixelRect box;
  int text_x = 0;
  int text_bottom = 0;
  Point leader;  // where the leader leaves the box: the corner facing the pie
  Point inner;   // where it meets the circle
};
double middle_angle(double start, double span);
LabelPlace label_place(int xo, int yo, int rd, double m, int tw, Dpi dpi = {});
// The pixels a label's text may take beside the pie before it is shortened.
int label_room(int xo, int rd, double m, Dpi dpi = {});
// Whether a label box keeps clear of the last label drawn (or, before the first, the chart
// area): it is drawn only then.
bool label_clear_of(const PixelRect& last, const PixelRect& box, int tw, Dpi dpi = {});

// The outer ends of the hatching lines from the centre: every tm degrees from start + tm up to
// the full turn. None for a threshold of 0, whose step would never advance.
std::vector<Point> hatching_ends(int xo, int yo, int rd, double start, int tm);

// Whether a click at (dx, dy) from the centre (y upwards) lies on a disc of radius rd, by the
// truncated distance.
bool on_disc(int dx, int dy, int rd);
// The angle of a click from the centre; the centre itself gives 0.
double click_angle(int dx, int dy);
// The record whose range holds angle a strictly inside it, or -1.
int slice_at(const slice* records, int count, double a);

}  // namespace kelvane
