#include "views/pie_painter.h"

#include <cmath>
#include <cstdlib>

#include "res/resource_ids.h"
#include "views/fit_text.h"

namespace kelvane {

using namespace pie;

namespace {

struct Disc {
  int xo;
  int yo;
  int rd;
  PixelRect box;
};

// The label of a wide slice, unless it would lie on the last one drawn (last is then left as
// it was).
void draw_label(PiePainter& p, const PieScene& scene, const Disc& d, const slice& record, double start,
                double span, PixelRect& last) {
  const double m = middle_angle(start, span);
  std::string text = record.node->name;
  int tw = p.text_width(text);
  const int room = label_room(d.xo, d.rd, m, scene.dpi);
  if (tw > room) {
    text = fit_text(p, text, room);
    tw = p.text_width(text);
  }
  const LabelPlace place = label_place(d.xo, d.yo, d.rd, m, tw, scene.dpi);
  p.select_brush(scene.shadow);
  p.select_pen(scene.shadow);
  if (label_clear_of(last, place.box, tw, scene.dpi)) {
    p.line(place.leader, place.inner);
    p.fill_rect(place.box, scene.info);
    p.frame_box(place.box);
    p.bottom_text(place.text_x, place.text_bottom, text);
    last = place.box;
  }
  p.select_null_pen_brush();
}

void draw_hatching(PiePainter& p, const Disc& d, double start, int tm) {
  p.select_pen(kBlack);
  const Point centre{d.xo, d.yo};
  for (const Point& end : hatching_ends(d.xo, d.yo, d.rd, start, tm)) p.line(centre, end);
  p.line(centre, Point{d.xo + d.rd, d.yo});
  p.select_null_pen_brush();
}

void draw_slices(PiePainter& p, const PieScene& scene, const Disc& d, const PixelRect& area) {
  if (scene.records == nullptr || scene.count <= 0 || scene.records[0].count <= 0) return;
  const int n = scene.records[0].count < scene.count ? scene.records[0].count : scene.count;
  int k = 0;
  PixelRect last = area;
  // The label font stays selected for the whole disc: its letter is measured once, not twice
  // for every slice.
  const int tw = p.text_width("T");
  const int th = p.text_height("T");
  for (int i = 0; i < n; ++i) {
    const slice& r = scene.records[i];
    if (r.node == nullptr || scene.folder_size <= 0) continue;
    if (scene.trace != nullptr) {
      scene.trace->write("    mvwr::OnDraw Color:%02i, %s, ph:%0.2f, th:%0.2f\n", k, r.node->name, r.start,
                         r.span);
    }
    const double s = r.start;
    const double w = drawn_span(r.span);
    const Point p1 = circle_point(d.xo, d.yo, d.rd, s, 1);
    const Point p2 = circle_point(d.xo, d.yo, d.rd, s + w, 1);
    if (!wide_slice(w, scene.tm)) {
      // Sorted by size: this and every later record make up the hatched remainder.
      draw_hatching(p, d, s, scene.tm);
      return;
    }
    const double deg = w * kRadToDeg;
    if (deg > 2.0 * scene.tm && d.rd > 2 * th && d.rd > 2 * tw) draw_label(p, scene, d, r, s, w, last);
    // Two radial points on one pixel would make the platform fill the whole disc.
    if (!(p1 == p2)) {
      p.select_brush(scene.colors != nullptr ? scene.colors[k] : kBlack);
      p.select_pen(kBlack);
      p.pie(d.box, p1, p2);
      p.select_null_pen_brush();
    }
    k = (k + 1) % 16;
  }
}

}  // namespace

PieDrawn draw_pie(PiePainter& p, const PieScene& scene) {
  PieDrawn out;
  if (scene.busy || scene.db > 1) return out;
  out.painted = true;

  p.set_transparent_background();
  p.caption_band(scene.client, ID_STR_PIE_CHART);

  const PixelRect area = chart_area(scene.client, scene.dpi);
  p.fill_rect(area, kChartWhite);
  p.draw_3d_rect(area, scene.highlight, scene.shadow);

  const PieCentre c = pie_centre(area, scene.dpi);
  out.xo = c.xo;
  out.yo = c.yo;
  if (scene.trace != nullptr) {
    scene.trace->write("    xs: %i\n", c.xs);
    scene.trace->write("    ys: %i\n", c.ys);
    scene.trace->write("    xo: %i\n", c.xo);
    scene.trace->write("    yo: %i\n", c.yo);
  }
  const int rd = pie_radius(c.xs, c.ys, scene.dpi);
  if (rd == 0) return out;
  out.rd = rd;

  p.select_font(PieFont::kProgram);
  if (scene.tree) {
    const Disc d{c.xo, c.yo, rd, pie_box(c.xo, c.yo, rd)};
    p.ellipse(d.box);
    out.disc = true;
    draw_slices(p, scene, d, area);
  }
  p.select_font(PieFont::kSystem);
  p.select_null_pen_brush();
  return out;
}

}  // namespace kelvane
