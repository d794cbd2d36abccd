#include "ui/post_to_ui.h"

#include <windows.h>

#include <deque>
#include <mutex>

#include "ui/resources.h"

namespace kelvane::ui {
namespace {

const wchar_t kQueueClass[] = L"kelvane.ui_queue";
const UINT kRunPosted = WM_APP + 0x51;

std::mutex queue_mutex;
std::deque<std::function<void()>> queue;
HWND queue_window = nullptr;
DWORD ui_thread = 0;

LRESULT CALLBACK queue_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRunPosted) {
    run_posted();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

bool start_ui_queue() {
  if (queue_window) return true;
  WNDCLASSW wc{};
  wc.lpfnWndProc = queue_proc;
  wc.hInstance = instance();
  wc.lpszClassName = kQueueClass;
  if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  HWND h = CreateWindowExW(0, kQueueClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance(), nullptr);
  if (!h) return false;
  std::lock_guard<std::mutex> lock(queue_mutex);
  queue_window = h;
  ui_thread = GetCurrentThreadId();
  return true;
}

void stop_ui_queue() {
  HWND h;
  {
    std::lock_guard<std::mutex> lock(queue_mutex);
    h = queue_window;
    queue_window = nullptr;
    ui_thread = 0;
    queue.clear();
  }
  if (h) DestroyWindow(h);
}

void post_to_ui(std::function<void()> fn) {
  if (!fn) return;
  {
    std::lock_guard<std::mutex> lock(queue_mutex);
    if (queue_window) {
      queue.push_back(std::move(fn));
      // One wake-up per call; a wake-up that finds the queue already drained does nothing.
      PostMessageW(queue_window, kRunPosted, 0, 0);
      return;
    }
  }
  fn();
}

bool on_ui_thread() {
  std::lock_guard<std::mutex> lock(queue_mutex);
  return ui_thread != 0 && ui_thread == GetCurrentThreadId();
}

void run_posted() {
  for (;;) {
    std::function<void()> fn;
    {
      std::lock_guard<std::mutex> lock(queue_mutex);
      if (queue.empty()) return;
      fn = std::move(queue.front());
      queue.pop_front();
    }
    fn();
  }
}

}  // namespace kelvane::ui
