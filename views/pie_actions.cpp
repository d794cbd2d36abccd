#include "views/pie_actions.h"

#include "base/message_box.h"
#include "base/size_format.h"
#include "base/strf.h"
#include "scan/item_texts.h"
#include "views/list_geometry.h"
#include "views/pie_geometry.h"

namespace kelvane {

void PieActions::painted(const PieDrawn& drawn) {
  if (drawn.painted) {
    xo = drawn.xo;
    yo = drawn.yo;
  }
  if (drawn.rd > 0) rd = drawn.rd;
  // A pane too small for a disc, the drive list or a paint skipped during a scan leaves no
  // disc to hit, whatever centre and radius an earlier paint left.
  disc_ = drawn.disc;
  painted_tree_ = drawn.disc ? dir_.ptop.load() : nullptr;
}

bool PieActions::pie_shown() const {
  return busy_.load() == 0 && disc_ && dir_.ptop.load() != nullptr && dir_.ptop.load() == painted_tree_;
}

int PieActions::record_at(int rx, int ry) const {
  if (!pie_shown() || !on_disc(rx, ry, rd)) return -1;
  const SliceTable* table = host_.slice_table();
  if (table == nullptr || table->empty()) return -1;
  return slice_at(table->data(), table->count(), click_angle(rx, ry));
}

void PieActions::OnLButtonDown(int x, int y) {
  if (busy_.load() != 0) return;
  dx = x - xo;
  dy = yo - y;
  if (pie_shown() && on_disc(dx, dy, rd)) OnSlice(kPieOpen);
}

bool PieActions::OnContextMenu(int x, int y) {
  if (busy_.load() != 0) return false;
  dx = x - xo;
  dy = yo - y;
  return pie_shown() && on_disc(dx, dy, rd);
}

void PieActions::OnSlice(int action) {
  if (busy_.load() != 0 || dir_.ptop.load() == nullptr) return;
  const int i = record_at(dx, dy);
  if (i < 0) return;
  lobj* node = host_.slice_table()->node(i);
  if (node == nullptr) return;
  switch (action) {
    case kPieProperties:
      show_message(item_properties_text(*node, settings_.un), kMessageInfo);
      return;
    case kPieOpen:
      if (!node->isdir) {
        dir_.open_lobj(node);
        return;
      }
      go_to_folder(dir_, host_.folder_host(), {node, node->fpath()});
      return;
    case kPieDelete:
      // Only the slice's own entry: rows the list still had selected would be deleted too.
      host_.select_only_row(row_of_item(i, lead_rows(dir_.isdrv)));
      host_.delete_selection();
      return;
  }
}

int PieActions::slice_under(int x, int y) const { return record_at(x - xo, yo - y); }

std::string PieActions::tip_text(int x, int y) const {
  const int i = slice_under(x, y);
  if (i < 0) return std::string();
  const lobj* node = host_.slice_table()->node(i);
  const lobj* folder = dir_.pcur.load();
  if (node == nullptr || folder == nullptr) return std::string();
  return pie_tip_text(*node, static_cast<int64_t>(folder->size.load()), settings_.un);
}

std::string pie_tip_text(const lobj& node, int64_t folder_size, int unit) {
  const auto size = static_cast<int64_t>(node.size.load());
  const double share =
      folder_size > 0 ? static_cast<double>(size) * 100.0 / static_cast<double>(folder_size) : 0;
  return strf("%s: %s, %0.1f %%", node.name, format_size(size, unit).c_str(), share);
}

}  // namespace kelvane
