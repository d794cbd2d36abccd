#include "ui/status_bar.h"

#include <commctrl.h>

#include "base/utf8_path.h"

namespace kelvane::ui {

bool status_bar::create(HWND parent, int id) {
  return create_control(STATUSCLASSNAMEW, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, 0, parent,
                        id);
}

void status_bar::set_indicators(const std::vector<int>& ids) {
  panes_.clear();
  for (int id : ids) panes_.push_back(pane{id, 0, 0});
  layout();
}

void status_bar::set_pane_info(int index, int id, unsigned style, int width) {
  if (index < 0 || index >= pane_count()) return;
  panes_[index] = pane{id, style, width < 0 ? 0 : width};
  layout();
}

int status_bar::pane_index(int id) const {
  for (int i = 0; i < pane_count(); ++i)
    if (panes_[i].id == id) return i;
  return -1;
}

int status_bar::pane_width(int index) const {
  return (index >= 0 && index < pane_count()) ? panes_[index].width : 0;
}

void status_bar::layout() {
  if (!exists() || panes_.empty()) return;
  const RECT client = client_rect();
  int fixed = 0;
  for (size_t i = 1; i < panes_.size(); ++i) fixed += panes_[i].width;
  std::vector<int> edges;
  int x = client.right - fixed;
  if (x < 0) x = 0;
  edges.push_back(x);
  for (size_t i = 1; i < panes_.size(); ++i) {
    x += panes_[i].width;
    edges.push_back(x);
  }
  send(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int status_bar::height() const {
  const RECT r = window_rect();
  return r.bottom - r.top;
}

void status_bar::set_pane_text(int index, const std::string& text, bool repaint_now) {
  if (!exists() || index < 0 || index >= pane_count()) return;
  send(SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(widen(text).c_str()));
  if (repaint_now) UpdateWindow(hwnd());
}

bool status_bar::set_text_by_id(int id, const std::string& text, bool repaint_now) {
  const int index = pane_index(id);
  if (index < 0) return false;
  set_pane_text(index, text, repaint_now);
  return true;
}

std::string status_bar::pane_text(int index) const {
  if (!exists() || index < 0 || index >= pane_count()) return std::string();
  const int length = LOWORD(send(SB_GETTEXTLENGTHW, index));
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  send(SB_GETTEXTW, index, reinterpret_cast<LPARAM>(buffer.data()));
  return narrow(buffer.c_str(), length);
}

LRESULT status_bar::handle(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = window::handle(msg, wp, lp);
  if (msg == WM_SIZE) layout();
  return result;
}

}  // namespace kelvane::ui
