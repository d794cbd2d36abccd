#include "views/mvwl.h"

#include <commctrl.h>

#include <mutex>

#include "app/mapp.h"
#include "base/message_box.h"
#include "res/resource_ids.h"
#include "scan/item_texts.h"
#include "scan/win32_dir_source.h"
#include "ui/dc.h"
#include "ui/post_to_ui.h"
#include "ui/window_dpi.h"
#include "views/caption_band.h"
#include "views/go_to_folder.h"
#include "views/list_geometry.h"

namespace kelvane {

// The scan thread reaches the view only through this: it leaves the pattern it reads now, and
// the view's progress timer shows it. Progress is never posted: a scan reading folders faster
// than the window shows them would keep the message queue full, and posted messages go before
// the user's keys and clicks (an Exit would wait for the whole scan). Timer messages come only
// when nothing else waits. The end of the scan is posted once; calls that arrive after the view
// is gone are dropped safely.
struct mvwl::Relay : public DeleteClient, public std::enable_shared_from_this<mvwl::Relay> {
  std::mutex mutex;
  mvwl* view = nullptr;
  std::string pattern;
  bool pattern_new = false;

  // The view, or nullptr once it has gone.
  mvwl* current() {
    std::lock_guard<std::mutex> lock(mutex);
    return view;
  }
  // A call for every entry removed: the text is left for the progress timer, never posted.
  void leave_pattern(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex);
    pattern = text;
    pattern_new = true;
  }

  void delete_progress(const std::string& text) override { leave_pattern(text); }
  void delete_finished(std::shared_ptr<DeleteRun> run) override {
    std::shared_ptr<Relay> relay = shared_from_this();
    ui::post_to_ui([relay, run] {
      // Once the queue has stopped (the program is closing) this runs on the deletion thread
      // itself: the windows and the tree are no longer its to touch.
      if (!ui::on_ui_thread()) return;
      mvwl* view = relay->current();
      if (view != nullptr) view->finish_delete(*run);
    });
  }
};

namespace {

// Often enough to follow the walk, rarely enough to cost the window nothing.
constexpr UINT kProgressPeriodMs = 100;

// How long the closing window waits for a deletion to stop: the program's own stops between
// two entries well within it; the shell's deletion, which cannot be stopped, is then left to
// the end of the process, so that the program is gone within seconds of Exit.
constexpr std::chrono::milliseconds kDeleteEndWait{1500};

// The window of this thread under the pointer chooses its cursor again at once (the wait
// cursor while a deletion runs), not only at the next move of the pointer.
void refresh_cursor() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  HWND under = WindowFromPoint(p);
  if (under == nullptr || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) return;
  const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

ListContext list_context(SliceTable& slices) {
  return ListContext{pa->mdir, pa->mdrv, slices, pa->CGUI, pa->busy, pa->CGUI.flog};
}

}  // namespace

mvwl::mvwl(ViewHost* host)
    : host_(host), list_(list_context(slices_), this, this), relay_(std::make_shared<Relay>()) {
  relay_->view = this;
  pa->CGUI.flog.write("mvwl::mvwl () OK ...\n");
}

mvwl::~mvwl() {
  pa->CGUI.flog.write("mvwl::~mvwl () OK ...\n");
  {
    std::lock_guard<std::mutex> lock(relay_->mutex);
    relay_->view = nullptr;
  }
  // A walk still running calls this object for its progress and its end; the window closing
  // during a scan must not leave it calling into freed memory. Stopped, it frees what it had
  // built and lets busy go itself. The program's own deletion stops between two entries and
  // starts no other; its end is then dropped with the view. The shell's deletion cannot be
  // stopped: the window does not wait for it past a moment (it speaks only to the relay,
  // which outlives the view), and the program ends the process once its windows are gone.
  pa->mdir.stop_scan();
  if (!pa->mdir.stop_delete_within(kDeleteEndWait))
    pa->CGUI.flog.write("mvwl::~mvwl () the deletion did not stop: it ends with the process\n");
}

int mvwl::OnCreate(CREATESTRUCTW*) {
  // Posted calls from the scan thread must run here, never on the thread that posts them.
  ui::start_ui_queue();
  if (pa->mdir.source() == nullptr) pa->mdir.set_source(&win32_dir_source());
  if (!list_.create_list(hwnd(), kListId, (pa->CGUI.db & 1) == 0)) {
    show_message("Failed to create mbox !");
    return 0;
  }
  OnDrives();
  return 0;
}

void mvwl::OnSize(UINT, int cx, int cy) {
  // The caption band is centred and framed across the whole width: all of it changes with
  // the width, not only the part that was uncovered.
  const Dpi dpi = ui::dpi_of_window(hwnd());
  const RECT band{0, 0, cx, caption_band_height(dpi)};
  InvalidateRect(hwnd(), &band, TRUE);
  if (!list_.exists()) return;
  list_.move(dpi.px(1), dpi.px(23), cx, cy - dpi.px(24));
  const bool vscroll = (GetWindowLongW(list_.hwnd(), GWL_STYLE) & WS_VSCROLL) != 0;
  const ColumnWidths widths =
      column_widths(list_.mode, cx, vscroll, ui::metric_for_dpi(SM_CXHSCROLL, dpi.value));
  for (int j = 0; j < widths.count; ++j) {
    // Only a width that changes is set: under Wine each setting costs a list of 100,000 rows
    // several ms.
    if (list_.column_width(j) != widths.width[j]) list_.set_column_width(j, widths.width[j]);
  }
}

void mvwl::resize_to_client() {
  const RECT r = client_rect();
  OnSize(0, r.right - r.left, r.bottom - r.top);
}

void mvwl::OnDraw(HDC dc) {
  ui::saved_dc keep(dc);
  draw_caption_band(dc, client_rect(), list_.mode == kListDrives ? ID_STR_DRIVES : ID_STR_FILES_FOLDERS,
                    ui::dpi_of_window(hwnd()));
}

void mvwl::invalidate_frame() {
  if (host_) host_->redraw_all();
}

void mvwl::drop_tree() {
  slices_.clear();
  if (pa->mdir.ptop.load() != nullptr) pa->mdir.free_tree();
  pa->mdir.pcur = nullptr;
}

void mvwl::reset_columns(int new_mode) {
  list_.delete_all_items();
  list_.show_rows(0);
  // The columns of the mode shown already stay: inserted again they would have to be given
  // their widths anew, which under Wine costs a list of 100,000 rows about 20 ms.
  const bool same_columns = list_.mode == new_mode && list_.column_count() == list_columns(new_mode).count;
  if (!same_columns) {
    for (int j = list_.column_count() - 1; j >= 0; --j) list_.delete_column(j);
  }
  if (list_.mode != new_mode) invalidate(true);  // the caption band names the mode
  list_.mode = new_mode;
}

void mvwl::OnDrives() {
  if (pa->busy.load() != 0) return;
  list_drives();
}

void mvwl::list_drives() {
  if (!list_.exists()) {
    drop_tree();
    return;
  }
  reset_columns(kListDrives);
  drop_tree();

  std::wstring strings(4 * 26 + 2, L'\0');
  const DWORD got = GetLogicalDriveStringsW(static_cast<DWORD>(strings.size()), strings.data());
  if (got == 0) {
    show_message("GetLogicalDriveStrings failed !");
    return;
  }
  // Drive roots are "X:\\" in ASCII; the drive list reads them in slots of four characters.
  std::string roots(4 * 26 + 1, '\0');
  const size_t length = got < strings.size() ? got : strings.size();
  for (size_t i = 0; i < length && i < roots.size(); ++i) roots[i] = static_cast<char>(strings[i] & 0x7f);

  list_.insert_columns();
  const int n = pa->mdrv.enumerate(roots.data(), roots.size());
  list_.show_rows(n);
  resize_to_client();
  list_.invalidate(true);
  invalidate_frame();
}

void mvwl::OnEnumDir(const std::string& path) {
  if (pa->busy.load() != 0) return;
  go_to_folder(pa->mdir, this, FolderRequest{nullptr, path, true});
}

void mvwl::show_folder_title(const std::string& folder) {
  if (host_) host_->show_folder_title(folder);
}

void mvwl::show_from_tree() {
  OnFill();
  invalidate_frame();
}

void mvwl::scan(const std::string& path) {
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (pa->CGUI.db != 0) show_message("SCAN");
  drop_tree();
  // The old rows stay until the scan has ended; they draw blank meanwhile.
  list_.invalidate(true);
  {
    std::lock_guard<std::mutex> lock(relay_->mutex);
    relay_->pattern_new = false;
  }
  SetTimer(hwnd(), ID_TIMER_SCAN_PROGRESS, kProgressPeriodMs, nullptr);
  pa->mdir.start_scan(path, this);
}

void mvwl::OnFill() {
  if (!list_.exists()) return;
  reset_columns(kListFiles);
  list_.insert_columns();

  mdir& dir = pa->mdir;
  Log* log = pa->CGUI.vl == 1 && pa->CGUI.flog.is_open() ? &pa->CGUI.flog : nullptr;
  slices_.fill(dir.ptop.load(), dir.pcur.load(), log);
  list_.show_rows(lead_rows(dir.isdrv) + slices_.count());

  resize_to_client();
  list_.invalidate(true);
  if (host_) host_->redraw_pie();
}

void mvwl::set_unit(int unit) {
  pa->CGUI.un = unit;
  // Both panes draw their sizes anew; the rows and the slice table stay as they are.
  invalidate_frame();
}

void mvwl::set_path_field(const std::string& text) {
  if (pa->epath.exists()) pa->epath.set_text(text);
}

void mvwl::scan_progress(const std::string& pattern) { relay_->leave_pattern(pattern); }

void mvwl::show_progress() {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(relay_->mutex);
    if (!relay_->pattern_new) return;
    relay_->pattern_new = false;
    text = relay_->pattern;
  }
  if (host_) host_->show_status(text);
}

LRESULT mvwl::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == ID_TIMER_SCAN_PROGRESS) {
        show_progress();
        return 0;
      }
      break;
    case WM_DESTROY:
      // The program is closing: the walk starts to stop now, while the windows go, so that
      // collecting it later costs nothing; so does a deletion, after its current entry.
      pa->mdir.request_stop();
      pa->mdir.request_delete_stop();
      break;
  }
  return ui::view::handle(msg, wp, lp);
}

void mvwl::scan_finished(bool ok, const std::string& message) {
  std::shared_ptr<Relay> relay = relay_;
  ui::post_to_ui([relay, ok, message] {
    // Once the queue has stopped (the program is closing) this runs on the scan thread itself,
    // which can neither join itself nor touch the windows: it only lets busy go; whoever
    // closes the program collects the thread.
    if (!ui::on_ui_thread()) {
      pa->busy.store(0);
      return;
    }
    mvwl* view = relay->current();
    if (view != nullptr) {
      view->finish_scan(ok, message);
      return;
    }
    // No view to show the result in: the scan must still end, or nothing could scan again.
    pa->mdir.stop_scan();
    if (!ok && pa->mdir.ptop.load() != nullptr) pa->mdir.free_tree();
    pa->busy.store(0);
  });
}

void mvwl::finish_scan(bool ok, const std::string& message) {
  mdir& dir = pa->mdir;
  // The thread has made its last call; collect it before anything else starts one.
  dir.stop_scan();
  KillTimer(hwnd(), ID_TIMER_SCAN_PROGRESS);
  if (ok && dir.ptop.load() != nullptr) {
    if (dir.pcur.load() == nullptr) dir.pcur = dir.ptop.load();
    OnFill();
  } else {
    if (!message.empty()) show_message(message);
    list_drives();
  }
  if (host_) host_->show_ready();
  pa->busy.store(0);
  // The rows were drawn blank while busy was set.
  list_.invalidate(true);
  invalidate_frame();
}

bool mvwl::start_deletion(std::shared_ptr<DeleteRun> run) {
  if (run->targets().empty()) return false;
  if (host_) host_->show_status(deleting_text(run->targets().front().path, 0, run->total()));
  {
    std::lock_guard<std::mutex> lock(relay_->mutex);
    relay_->pattern_new = false;
  }
  // The text follows the count on the progress timer, as the scan's does.
  SetTimer(hwnd(), ID_TIMER_SCAN_PROGRESS, kProgressPeriodMs, nullptr);
  if (!start_delete_run(pa->mdir, std::move(run), relay_)) {
    KillTimer(hwnd(), ID_TIMER_SCAN_PROGRESS);
    return true;  // another run holds the flag: this one is not carried out
  }
  refresh_cursor();
  return true;
}

// The pane (and the list in it) waits for a deletion, whatever the pointer rests on.
bool mvwl::waiting() const { return pa->busy.load() == kBusyDelete; }

void mvwl::stop_deletion() {
  if (pa->busy.load() == kBusyDelete) pa->mdir.request_delete_stop();
}

std::shared_ptr<DeleteClient> mvwl::delete_client() { return relay_; }

void mvwl::finish_delete(const DeleteRun& run) {
  // The thread has made its last call; collect it before anything else starts one.
  pa->mdir.stop_delete(false);
  KillTimer(hwnd(), ID_TIMER_SCAN_PROGRESS);
  list_.finish_delete(run);
  if (host_) host_->show_ready();
  pa->busy.store(0);
  refresh_cursor();
}

}  // namespace kelvane
