#pragma once
// mapp: the application object, the root of the program. One exists for the whole process;
// every part reaches its members through the global pointer pa.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/cgui.h"
#include "scan/mdir.h"
#include "scan/mdrv.h"
#include "ui/application.h"
#include "ui/edit_control.h"

namespace kelvane {

class mapp;
class mdoc;
class mwin;

// pa, app_log and the anchor are defined in the application layer (app_pointer.cpp), so that
// the views and the frame, which read them, link without the program's start.

// The one application object; set before its first member is made, cleared after its last
// one is gone.
extern mapp* pa;

// The log of the application object, or nullptr when there is none (yet).
Log* app_log();

namespace detail {
// First base of mapp: points pa at the object before CGUI's constructor runs.
struct app_anchor {
  explicit app_anchor(mapp* self);
  ~app_anchor();
};
}  // namespace detail

class mapp : private detail::app_anchor, public ui::application {
 public:
  mapp();
  // Tests give the CGUI a key, program path and TEMP of their own.
  explicit mapp(const CguiSources& sources);
  ~mapp() override;

  kelvane::CGUI CGUI;
  kelvane::mdrv mdrv;
  kelvane::mdir mdir;
  ui::edit_control epath;  // the path field; its window is made by the frame
  std::atomic<int> busy{0};

  int InitInstance() override;
  int OnIdle(long count) override;
  int ExitInstance() override;
  // Help and Info: the commands that reach the application object (no window takes them).
  bool on_command(int id) override;

  void OnHelp();
  void OnInfo();

  mwin* frame() const { return frame_.get(); }
  mdoc* document() const { return doc_.get(); }
  // Makes the document (unless made already) and a frame of the caller's kind (tests).
  int create_main_window(std::unique_ptr<mwin> frame);
  int create_document();
  // Drops the frame and the document (after the main window has closed).
  void free_main_window();

 private:
  std::unique_ptr<mdoc> doc_;
  std::unique_ptr<mwin> frame_;
  // The size of the folder the status bar shows, kept for the idle update once the tree is
  // gone; none before the first.
  std::optional<int64_t> shown_size_;
};

}  // namespace kelvane
