#pragma once
// mwin: the main frame. Menu, toolbar with the size-unit buttons and the path field, status bar
// with the message pane and the two data panes, and the splitter with the left view (list) and
// the right view (pie chart).
#include <windows.h>

#include <string>

#include "frame/command_target.h"
#include "frame/mspw.h"
#include "frame/mtbr.h"
#include "frame/toolbar_dock.h"
#include "res/resource_ids.h"
#include "ui/dc.h"
#include "ui/edit_control.h"
#include "ui/frame_window.h"
#include "ui/status_bar.h"
#include "views/view_host.h"

namespace kelvane {

class mdoc;
class mvwl;
class mvwr;

class mwin : public ui::frame_window, public ViewHost, public CommandTarget {
 public:
  static constexpr int kPathFieldId = ID_CTL_PATH_FIELD;
  static constexpr int kSplitterId = ID_CTL_SPLITTER;
  static constexpr int kLeftColumnIdeal = 300;  // the drive list's ideal width in pixels

  mwin();
  ~mwin() override;

  void set_document(mdoc* doc) { doc_ = doc; }
  mdoc* document() const { return doc_; }

  int OnCreate(CREATESTRUCTW* cs) override;
  // Builds the splitter and the two views; 1 on success.
  int OnCreateClient();
  void OnSize(UINT type, int cx, int cy) override;
  // Another monitor's scale: fonts, images and bars made for it, then the suggested place.
  void OnDpiChanged(int dpi, const RECT& suggested) override;
  // The display scale the frame and its furniture are made for.
  int dpi() const { return dpi_; }
  bool pre_translate(MSG& msg) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

  mtbr& toolbar() { return toolbar_; }
  ui::status_bar& status() { return status_; }
  // The path field in the toolbar (the application object holds it).
  ui::edit_control& path_field();
  mspw& splitter() { return splitter_; }
  ToolbarDock& dock() { return dock_; }

  // CommandTarget: what the commands of the command table act on.
  mvwl* left_view() const override;
  mvwr* right_view() const override;
  ui::frame_window& window() override { return *this; }
  // The path field's request (Enter, F5, the path command): its text is the folder asked
  // for, scanned afresh when it is worth a scan.
  void scan_path_field() override;

  // ViewHost: what the views ask of the frame.
  ui::status_bar* status_bar() override;
  void show_status(const std::string& text) override { set_message(text); }
  void show_ready() override { show_idle_message(); }
  void run_command(int id) override { route_command(id); }
  void show_folder_title(const std::string& folder) override;
  void redraw_all() override;
  void redraw_pie() override;

 protected:
  // Every command of the command table; true when the id is one of them.
  bool route_command(int id) override;
  // The check marks of the menu and the pressed buttons, from the command table.
  void update_marks() override;
  ui::view* default_view() override;
  void place_toolbar(RECT& area) override { dock_.place(area); }
  // Enter or F5 with a path worth scanning: the left view's fresh scan of it.
  virtual void enum_dir(const std::string& path);

 private:
  void place_path_field(int cx);
  // The controls' fonts (made by the system at from dots per inch) and the program font
  // made anew for to.
  void rescale_fonts(int from, int to);
  // The toolbar's images and buttons, the size pane and the list's column for the scale to.
  void rescale_bars(int from, int to);

  mtbr toolbar_;
  ui::status_bar status_;
  mspw splitter_;
  ToolbarDock dock_{*this, toolbar_};
  mdoc* doc_ = nullptr;
  // The splitter owns the views; the frame keeps what it made of them.
  mvwl* left_ = nullptr;
  mvwr* right_ = nullptr;
  int dpi_ = kBaseDpi;
  // Fonts made for a scale other than the system's: the path field's, the list's, the status
  // bar's and the tooltip's; each deleted when the next one replaces it.
  ui::font scaled_fonts_[4];
};

}  // namespace kelvane
