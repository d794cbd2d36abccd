#include "app/mapp.h"

#include "base/size_format.h"
#include "frame/cinf.h"
#include "frame/help_viewer.h"
#include "frame/mdoc.h"
#include "frame/mwin.h"
#include "res/resource_ids.h"
#include "scan/item_texts.h"
#include "ui/status_bar.h"

namespace kelvane {

mapp::mapp() : mapp(CguiSources{}) {}

mapp::mapp(const CguiSources& sources)
    : detail::app_anchor(this), CGUI(sources), mdrv(CGUI.flog), mdir(CGUI.flog, CGUI, busy) {
  busy = 0;
  CGUI.flog.write("mapp::mapp () OK ...\n");
}

mapp::~mapp() {
  // The frame normally went with the message loop; one left over must not outlive the members
  // its views point at.
  free_main_window();
  CGUI.flog.write("mapp::~mapp () OK ...\n");
}

int mapp::create_main_window(std::unique_ptr<mwin> frame) {
  if (!doc_ && !create_document()) return 0;
  frame_ = std::move(frame);
  frame_->set_document(doc_.get());
  if (!frame_->create_frame(doc_->frame_title(), ID_MAIN_FRAME, ID_MAIN_FRAME)) {
    frame_.reset();
    return 0;
  }
  doc_->set_frame(frame_.get());
  set_main_window(frame_.get());
  return 1;
}

void mapp::free_main_window() {
  if (frame_ && frame_->exists()) frame_->destroy();
  frame_.reset();
  doc_.reset();
}

// The document comes first, then the frame that shows it.
int mapp::create_document() {
  doc_ = std::make_unique<mdoc>();
  if (doc_->OnNewDocument()) return 1;
  doc_.reset();
  return 0;
}

int mapp::InitInstance() {
  if (!create_document() || !create_main_window(std::make_unique<mwin>())) return 0;
  frame_->show(SW_SHOW);
  UpdateWindow(frame_->hwnd());
  return 1;
}

int mapp::ExitInstance() {
  free_main_window();
  return 0;
}

namespace {

// Unchanged texts are not written again: each write repaints the pane.
void write_pane(ui::status_bar& bar, int id, const std::string& text) {
  if (bar.pane_text(bar.pane_index(id)) != text) bar.set_text_by_id(id, text, true);
}

}  // namespace

int mapp::OnIdle(long count) {
  const int result = ui::application::OnIdle(count);
  ui::status_bar* bar = frame_ && frame_->exists() ? frame_->status_bar() : nullptr;
  lobj* top = mdir.ptop.load();
  lobj* cur = mdir.pcur.load();
  if (top && cur) {
    shown_size_ = static_cast<int64_t>(cur->size.load(std::memory_order_relaxed));
    if (bar) write_pane(*bar, ID_PANE_FOLDER, status_folder_text(*cur));
  }
  // Without a tree the panes keep the folder shown last, but its size is written in the unit
  // of now, as the list beside it shows the drives.
  if (bar && shown_size_) write_pane(*bar, ID_PANE_SIZE, status_size_text(*shown_size_, CGUI.un));
  return result;
}

bool mapp::on_command(int id) {
  switch (id) {
    case ID_CMD_HELP:
      OnHelp();
      return true;
    case ID_CMD_INFO:
      OnInfo();
      return true;
    default:
      return false;
  }
}

void mapp::OnHelp() { show_help(CGUI.program_path()); }

void mapp::OnInfo() {
  CInf info;
  info.DoModal();
}

}  // namespace kelvane
