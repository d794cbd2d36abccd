#include "frame/mwin.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "app/mapp.h"
#include "base/message_box.h"
#include "frame/command_table.h"
#include "frame/frame_layout.h"
#include "frame/mdoc.h"
#include "ui/window_dpi.h"
#include "views/dir_request.h"
#include "views/mvwl.h"
#include "views/mvwr.h"

namespace kelvane {
namespace {

BOOL CALLBACK add_monitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  reinterpret_cast<std::vector<PixelRect>*>(data)->push_back(
      PixelRect{rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

std::vector<PixelRect> monitors() {
  std::vector<PixelRect> list;
  EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&list));
  return list;
}

BOOL CALLBACK add_work_area(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcWork;
    reinterpret_cast<std::vector<PixelRect>*>(data)->push_back(PixelRect{r.left, r.top, r.right, r.bottom});
  }
  return TRUE;
}

std::vector<PixelRect> work_areas() {
  std::vector<PixelRect> list;
  EnumDisplayMonitors(nullptr, nullptr, add_work_area, reinterpret_cast<LPARAM>(&list));
  return list;
}

int font_height(HFONT font) {
  LOGFONTW lf{};
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return 0;
  return lf.lfHeight;
}

PixelRect to_pixel_rect(const RECT& r) { return PixelRect{r.left, r.top, r.right, r.bottom}; }

// Gives the window the same font at the scale to (its present one was made for from); holder
// keeps the new font and deletes the one it held, which the window has let go of by then.
void rescale_window_font(HWND window, ui::font& holder, int from, int to) {
  if (window == nullptr || !IsWindow(window)) return;
  ui::font scaled =
      ui::rescaled_font(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), from, to);
  if (!scaled) return;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), TRUE);
  holder = std::move(scaled);
}

}  // namespace

mwin::mwin() {
  if (Log* log = app_log()) log->write("mwin::mwin () OK ...\n");
}

mwin::~mwin() {
  if (Log* log = app_log()) log->write("mwin::~mwin () OK ...\n");
  // The views point into the frame's members; the window goes before they do.
  if (exists()) destroy();
}

ui::edit_control& mwin::path_field() { return pa->epath; }

ui::status_bar* mwin::status_bar() { return status_.exists() ? &status_ : nullptr; }

void mwin::show_folder_title(const std::string& folder) {
  if (doc_) doc_->SetTitle(folder);
}

void mwin::redraw_all() {
  // Every pane and bar in the window; invalidating the frame alone would leave its children
  // as they were.
  if (exists()) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void mwin::redraw_pie() {
  if (ui::view* pie = splitter_.pane(0, 1)) pie->invalidate(true);
}

// The views the frame made, while the splitter still holds them.
mvwl* mwin::left_view() const { return splitter_.pane(0, 0) != nullptr ? left_ : nullptr; }
mvwr* mwin::right_view() const { return splitter_.pane(0, 1) != nullptr ? right_ : nullptr; }

int mwin::OnCreateClient() {
  if (!splitter_.create_static(hwnd(), kSplitterId)) {
    show_message("Failed to Create Static Splitter Window !");
    return 0;
  }
  set_client(&splitter_);
  auto left = std::make_unique<mvwl>(this);
  left_ = left.get();
  if (!splitter_.create_view(0, 0, std::move(left))) {
    show_message("Failed to create pane 0 !");
    return 0;
  }
  // The pie draws the left view's slice table and acts on its list.
  auto right = std::make_unique<mvwr>(this, left_);
  right_ = right.get();
  if (!splitter_.create_view(0, 1, std::move(right))) {
    show_message("Failed to create first pane 1 !");
    return 0;
  }
  splitter_.set_column_info(0, ui::dpi_of_window(hwnd()).px(kLeftColumnIdeal), 0);
  return 1;
}

void mwin::update_marks() {
  HMENU menu = GetMenu(hwnd());
  for (const Command& command : command_table()) {
    if (command.marked == nullptr) continue;
    const bool on = command.marked(*this);
    if (menu) CheckMenuItem(menu, command.id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    if (toolbar_.exists()) toolbar_.check_button(command.id, on);
  }
}

int mwin::OnCreate(CREATESTRUCTW*) {
  const Settings& settings = pa->CGUI;
  // Everything is made for the scale of the monitor the frame starts on; the fonts the system
  // and the settings made before are at the system's.
  const int made_at = ui::system_dpi();
  dpi_ = ui::window_dpi(hwnd());
  const Dpi dpi{dpi_};
  if (dpi_ != made_at) pa->CGUI.make_font(dpi_);

  if (!OnCreateClient()) return 1;

  const int image = dpi.px(kButtonImage);
  // At 100 % the strip is the resource as it is; at other scales its images made for the scale.
  if (!toolbar_.create(hwnd(), kToolbarId, false) ||
      !(image == kButtonImage ? toolbar_.load_bitmap(ID_MAIN_FRAME, 7)
                              : toolbar_.load_scaled_bitmap(ID_MAIN_FRAME, 7, image)) ||
      !toolbar_.set_buttons({ID_CMD_ENUM_DRIVES, ID_CMD_UNIT_BYTES, ID_CMD_UNIT_KB, ID_CMD_UNIT_MB,
                             ID_CMD_UNIT_GB, ID_CMD_UNIT_TB, 0, ID_CMD_ENUM_DIR})) {
    show_message("Failed to create Toolbar !");
    return 2;
  }
  set_toolbar(&toolbar_);

  if (!status_.create(hwnd(), kStatusBarId)) {
    show_message("Failed to create Statusbar !");
    return 3;
  }
  set_status_bar(&status_);
  update_marks();
  status_.set_indicators({0, ID_PANE_FOLDER, ID_PANE_SIZE});
  status_.set_pane_info(1, ID_PANE_FOLDER, 0, folder_pane_width(settings.xs, dpi));
  status_.set_pane_info(2, ID_PANE_SIZE, 0, size_pane_width(dpi));
  show_idle_message();

  if (settings.ft) toolbar_.set_flat(true);

  // At 96 DPI the control's own size stands unless button 5 touches the top; at any other scale
  // the buttons are always sized, as the control would not scale its padding.
  const PixelRect button5 = to_pixel_rect(toolbar_.item_rect(5));
  if (needs_button_resize(button5) || dpi_ != kBaseDpi)
    toolbar_.set_button_size(dpi.px(kButtonWidth), button_height(button5, image, dpi));

  toolbar_.enable_docking(&dock_);
  dock_.dock(DockSide::top);

  const RECT nowhere{0, 0, 0, 0};
  if (!path_field().create(toolbar_.hwnd(), kPathFieldId, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                           nowhere)) {
    show_message("Failed to create Edit Field !");
  } else {
    HFONT font = toolbar_.font();
    path_field().set_font(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  }

  if (dpi_ != made_at) rescale_fonts(made_at, dpi_);

  const PixelRect place = fit_into_work_area(frame_placement(settings, monitors(), dpi), work_areas());
  move(place.left, place.top, place.width(), place.height(), true);
  return 0;
}

void mwin::rescale_fonts(int from, int to) {
  rescale_window_font(path_field().exists() ? path_field().hwnd() : nullptr, scaled_fonts_[0], from, to);
  mvwl* left = left_view();
  rescale_window_font(left && left->list().exists() ? left->list().hwnd() : nullptr, scaled_fonts_[1], from,
                      to);
  rescale_window_font(status_.exists() ? status_.hwnd() : nullptr, scaled_fonts_[2], from, to);
  mvwr* right = right_view();
  rescale_window_font(right ? right->tooltip_window() : nullptr, scaled_fonts_[3], from, to);
}

void mwin::rescale_bars(int from, int to) {
  const Dpi dpi{to};
  if (toolbar_.exists()) {
    const SIZE button = toolbar_.button_size();
    toolbar_.load_scaled_bitmap(ID_MAIN_FRAME, 7, dpi.px(kButtonImage));
    toolbar_.set_button_size(dpi.px(kButtonWidth), MulDiv(button.cy, to, from));
    toolbar_.rescale_gripper();
  }
  if (status_.exists()) status_.set_pane_info(2, ID_PANE_SIZE, 0, size_pane_width(dpi));
  splitter_.set_column_info(0, MulDiv(splitter_.column_ideal(), to, from), 0);
}

void mwin::OnDpiChanged(int dpi, const RECT& suggested) {
  const int from = dpi_;
  if (dpi > 0 && dpi != from) {
    dpi_ = dpi;
    pa->CGUI.make_font(dpi);
    rescale_fonts(from, dpi);
    rescale_bars(from, dpi);
  }
  // The new size lays the bars, the path field and the panes out again at the new scale.
  frame_window::OnDpiChanged(dpi, suggested);
  recalc_layout();
  const RECT client = client_rect();
  OnSize(SIZE_RESTORED, client.right - client.left, client.bottom - client.top);
  redraw_all();
}

void mwin::place_path_field(int cx) {
  if (!pa || !path_field().exists() || !toolbar_.exists()) return;
  // A bar docked on the left or right has no room for the field.
  path_field().show(toolbar_.vertical() ? SW_HIDE : SW_SHOW);
  if (toolbar_.vertical()) return;
  const PixelRect field =
      path_field_rect(to_pixel_rect(toolbar_.item_rect(5)), font_height(path_field().font()), cx, Dpi{dpi_});
  path_field().move(field.left, field.top, field.width(), field.height(), true);
}

void mwin::OnSize(UINT, int cx, int) {
  if (toolbar_.exists() && !toolbar_.vertical()) {
    SetWindowPos(toolbar_.hwnd(), nullptr, 0, 0, toolbar_width(cx), toolbar_.height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    toolbar_.set_separator(6, ID_CTL_PATH_FIELD_PLACE, separator_width(cx, Dpi{dpi_}));
  } else if (toolbar_.exists()) {
    toolbar_.set_separator(6, ID_CTL_PATH_FIELD_PLACE, 0);  // hidden: the buttons close up
  }
  place_path_field(cx);
}

ui::view* mwin::default_view() { return left_view(); }

void mwin::enum_dir(const std::string& path) {
  if (mvwl* left = left_view()) left->OnEnumDir(path);
}

LRESULT mwin::handle(UINT msg, WPARAM wp, LPARAM lp) {
  // A close posted while a question is up would take the views away under the code that
  // waits for its answer: the program closes once the question is answered, not before.
  if (msg == WM_CLOSE && pa->busy.load() == kBusyAsk) return 0;
  return ui::frame_window::handle(msg, wp, lp);
}

bool mwin::pre_translate(MSG& msg) {
  // Esc stops a deletion that runs, wherever the focus is in the window.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && pa->busy.load() == kBusyDelete && exists() &&
      (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd))) {
    if (mvwl* left = left_view()) left->stop_deletion();
    return true;
  }
  if (msg.message != WM_KEYDOWN || !is_rescan_key(static_cast<unsigned>(msg.wParam))) return false;
  // Keys meant for another top-level window of the thread (a message box) are left alone.
  // The floating toolbar's path field is not the frame's child but the bar's.
  if (!exists() || !(msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd) ||
                     (toolbar_.exists() && IsChild(toolbar_.hwnd(), msg.hwnd))))
    return false;
  // Enter on a selected row of the list opens it instead.
  if (mvwl* left = left_view();
      left && msg.hwnd == left->list().hwnd() &&
      left->list().key_action(static_cast<unsigned>(msg.wParam)) != ListKeyAction::kNone)
    return false;
  scan_path_field();
  return false;
}

void mwin::scan_path_field() {
  // While a scan or a deletion runs no request is taken.
  if (pa->busy.load() != 0) return;
  // The whole text: a path cut to a buffer would name another folder.
  const std::string text = path_field().exists() ? path_field().text() : std::string();
  if (path_starts_scan(text)) enum_dir(text);
}

bool mwin::route_command(int id) {
  const Command* command = find_command(id);
  if (command == nullptr) return false;
  command->run(*this);
  // Exit only asks the window to close, so it is still here.
  if (exists()) update_marks();
  return true;
}

}  // namespace kelvane
