#include "frame/mdoc.h"

#include "app/mapp.h"
#include "res/resource_ids.h"
#include "ui/frame_window.h"
#include "ui/resources.h"

namespace kelvane {

mdoc::mdoc() {
  if (Log* log = app_log()) log->write("mdoc::mdoc () OK ...\n");
}

mdoc::~mdoc() {
  if (Log* log = app_log()) log->write("mdoc::~mdoc () OK ...\n");
}

int mdoc::OnNewDocument() {
  title_ = "Untitled";
  return 1;
}

std::string mdoc::frame_title() const {
  const std::string program = ui::load_string(ID_MAIN_FRAME);
  return title_ + " - " + (program.empty() ? std::string("Kelvane") : program);
}

void mdoc::SetTitle(const std::string& title) {
  title_ = title;
  if (frame_ && frame_->exists()) frame_->set_text(frame_title());
}

}  // namespace kelvane
