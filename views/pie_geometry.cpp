#include "views/pie_geometry.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kelvane {

using namespace pie;

PixelRect chart_area(const PixelRect& client, Dpi dpi) {
  PixelRect r = client;
  r.top = client.top + band_height(dpi);
  return r;
}

PieCentre pie_centre(const PixelRect& area, Dpi dpi) {
  PieCentre c;
  c.xs = area.right - area.left;
  c.ys = area.bottom - area.top;
  c.xo = c.xs / 2;
  c.yo = c.ys / 2 + band_height(dpi);
  return c;
}

int pie_radius(int xs, int ys, Dpi dpi) {
  const int hr = xs / 3 - dpi.px(5);
  const int vr = ys / 3 - dpi.px(5);
  if (hr < dpi.px(10) || vr < dpi.px(10)) return 0;
  return hr < vr ? hr : vr;
}

PixelRect pie_box(int xo, int yo, int rd) { return PixelRect{xo - rd, yo - rd, xo + rd, yo + rd}; }

Point circle_point(int xo, int yo, int r, double a, int lift) {
  return Point{xo + static_cast<int>(r * std::cos(a)), yo - static_cast<int>(r * std::sin(a)) - lift};
}

double drawn_span(double span) { return kFullTurn - span < kNearFullMargin ? span - kNearFullMargin : span; }

double middle_angle(double start, double span) { return start - span * kHalfFactor; }

int label_room(int xo, int rd, double m, Dpi dpi) {
  const int outer = rd + rd / 4;
  return xo - std::abs(static_cast<int>(outer * std::cos(m))) - dpi.px(10);
}

LabelPlace label_place(int xo, int yo, int rd, double m, int tw, Dpi dpi) {
  const int pad = dpi.px(5);  // beside the text
  const int above = dpi.px(6);
  const int below = dpi.px(8);
  const int outer = rd + rd / 4;
  const int X = xo + static_cast<int>(outer * std::cos(m));
  const int Y = yo - static_cast<int>(outer * std::sin(m));
  LabelPlace l;
  l.inner = Point{xo + static_cast<int>(rd * std::cos(m)), yo - static_cast<int>(rd * std::sin(m))};
  l.text_bottom = Y + above;
  if (kQuarter < m && m < kThreeQuarters) {
    l.box = PixelRect{X - tw - pad, Y - above, X + pad, Y + below};
    l.text_x = X - tw;
    l.leader = m < kHalf ? Point{X + pad, Y + below} : Point{X + pad, Y - above};
  } else {
    l.box = PixelRect{X - pad, Y - above, X + tw + pad, Y + below};
    l.text_x = X;
    l.leader = m < kQuarter ? Point{X - pad, Y + below} : Point{X - pad, Y - above};
  }
  return l;
}

bool label_clear_of(const PixelRect& last, const PixelRect& box, int tw, Dpi dpi) {
  return (std::abs(last.bottom - box.top) > dpi.px(1) && std::abs(last.bottom - box.bottom) > dpi.px(12)) ||
         std::abs(last.left - box.left) > tw;
}

std::vector<Point> hatching_ends(int xo, int yo, int rd, double start, int tm) {
  std::vector<Point> ends;
  const double step = tm * kDegToRad;
  if (!(step > 0)) return ends;
  for (double a = start + step; a < kFullTurn; a += step) ends.push_back(circle_point(xo, yo, rd, a, 1));
  return ends;
}

bool on_disc(int dx, int dy, int rd) {
  const int64_t squares = static_cast<int64_t>(dx) * dx + static_cast<int64_t>(dy) * dy;
  return static_cast<int64_t>(std::sqrt(static_cast<double>(squares))) <= rd;
}

double click_angle(int dx, int dy) {
  if (dx != 0) {
    double a = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    if (a < 0) a += kFullTurn;
    return a;
  }
  if (dy > 0) return kQuarter;
  if (dy < 0) return kThreeQuarters;
  return 0;
}

int slice_at(const slice* records, int count, double a) {
  if (records == nullptr) return -1;
  for (int i = 0; i < count; ++i) {
    const slice& s = records[i];
    if (s.node != nullptr && s.start < a && a < s.start + s.span) return i;
  }
  return -1;
}

}  // namespace kelvane
