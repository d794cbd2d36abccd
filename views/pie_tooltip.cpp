#include "views/pie_tooltip.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include "base/utf8_path.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kToolId = 1;

// The one tool: the whole view.
TTTOOLINFOW tool(HWND view) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = view;
  info.uId = kToolId;
  return info;
}

}  // namespace

PieTooltip::~PieTooltip() {
  if (tip_ != nullptr && IsWindow(tip_)) DestroyWindow(tip_);
}

bool PieTooltip::create(HWND view) {
  view_ = view;
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, view, nullptr,
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(view, GWLP_HINSTANCE)), nullptr);
  if (tip_ == nullptr) return false;
  TTTOOLINFOW info = tool(view_);
  info.uFlags = TTF_SUBCLASS;
  info.lpszText = const_cast<wchar_t*>(L"");
  GetClientRect(view, &info.rect);
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  // Long names stay readable: the tip stays up while the pointer rests.
  SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(30000, 0));
  return true;
}

void PieTooltip::set_area(const RECT& area) {
  if (tip_ == nullptr) return;
  TTTOOLINFOW info = tool(view_);
  info.rect = area;
  SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void PieTooltip::set_text(const std::string& text) {
  if (tip_ == nullptr || text == text_) return;
  text_ = text;
  SendMessageW(tip_, TTM_POP, 0, 0);
  std::wstring wide = widen(text);
  TTTOOLINFOW info = tool(view_);
  info.lpszText = wide.data();
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void PieTooltip::hide() { set_text(std::string()); }

}  // namespace kelvane
