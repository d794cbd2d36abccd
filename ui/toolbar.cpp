#include "ui/toolbar.h"

#include "ui/dc.h"
#include "ui/pixel_map_scale.h"
#include "ui/resources.h"

namespace kelvane::ui {

bool toolbar::create(HWND parent, int id, bool flat) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                CCS_NOPARENTALIGN | CCS_NODIVIDER | CCS_TOP;
  if (flat) style |= TBSTYLE_FLAT;
  if (!create_control(TOOLBARCLASSNAMEW, "", style, 0, 0, 0, 0, 0, parent, id)) return false;
  send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  send(TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  return true;
}

bool toolbar::load_bitmap(int resource_id, int count) {
  if (!FindResourceW(instance(), MAKEINTRESOURCEW(resource_id), MAKEINTRESOURCEW(2) /* RT_BITMAP */))
    return false;
  TBADDBITMAP bitmap{instance(), static_cast<UINT_PTR>(resource_id)};
  if (send(TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&bitmap)) < 0) return false;
  images_ = count;
  return true;
}

namespace {

// The header of a 32-bit top-down bitmap: one pixel a 32-bit word, 0x00RRGGBB, the top row first.
BITMAPINFO top_down_32(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// The pixels of a bitmap resource, top-down, as 0x00RRGGBB; empty when it cannot be read.
std::vector<uint32_t> resource_pixels(int resource_id, int& width, int& height) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(instance(), MAKEINTRESOURCEW(resource_id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return {};
  const gdi_object<HBITMAP> owner(bitmap);
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return {};
  width = info.bmWidth;
  height = info.bmHeight;
  BITMAPINFO bi = top_down_32(width, height);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  const window_dc screen(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS) !=
      height)
    return {};
  for (uint32_t& p : pixels) p &= 0x00FFFFFF;
  return pixels;
}

// A 32-bit top-down bitmap of the pixels (0x00RRGGBB).
HBITMAP make_bitmap(const std::vector<uint32_t>& pixels, int width, int height) {
  BITMAPINFO bi = top_down_32(width, height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr && bits != nullptr)
    std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
  return bitmap;
}

// The pixel maps' button face, which the control shows in the face colour of the system.
constexpr uint32_t kFaceRgb = 0x00C0C0C0;

}  // namespace

toolbar::~toolbar() {
  // The window goes after this part of the object: it lets go of the list first.
  if (scaled_ != nullptr && exists()) send(TB_SETIMAGELIST, 0, 0);
  on_destroyed();
}

void toolbar::on_destroyed() {
  if (scaled_ != nullptr) {
    ImageList_Destroy(scaled_);
    scaled_ = nullptr;
  }
}

bool toolbar::load_scaled_bitmap(int resource_id, int count, int cell) {
  int width = 0;
  int height = 0;
  const std::vector<uint32_t> source = resource_pixels(resource_id, width, height);
  if (source.empty() || count <= 0 || width < count * height || cell <= 0) return false;
  std::vector<uint32_t> strip = scale_pixel_strip(source, height, count, cell, kFaceRgb);
  if (images_ == 0) {
    // The first images: added as the resource's would be, the face pixels shown in the system's
    // face colour (the control masks that colour out of a bitmap handed to it).
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t face_rgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    for (uint32_t& p : strip)
      if (p == kFaceRgb) p = face_rgb;
    added_.reset(make_bitmap(strip, cell * count, cell));
    if (!added_) return false;
    send(TB_SETBITMAPSIZE, 0, MAKELPARAM(cell, cell));
    TBADDBITMAP bitmap{nullptr, reinterpret_cast<UINT_PTR>(added_.get())};
    if (send(TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&bitmap)) < 0) return false;
    images_ = count;
    image_size_ = cell;
    return true;
  }
  // Images shown already (another monitor's scale): the whole list is replaced.
  HIMAGELIST list = ImageList_Create(cell, cell, ILC_COLOR24 | ILC_MASK, count, 0);
  if (list == nullptr) return false;
  const gdi_object<HBITMAP> bitmap(make_bitmap(strip, cell * count, cell));
  // The face pixels become the mask: the control paints its own face colour behind them.
  if (!bitmap || ImageList_AddMasked(list, bitmap.get(), RGB(0xC0, 0xC0, 0xC0)) < 0) {
    ImageList_Destroy(list);
    return false;
  }
  // The list first: the control sizes its image room only while the list it has fits it.
  send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  send(TB_SETBITMAPSIZE, 0, MAKELPARAM(cell, cell));
  if (scaled_ != nullptr) ImageList_Destroy(scaled_);
  scaled_ = list;
  images_ = count;
  image_size_ = cell;
  return true;
}

bool toolbar::set_buttons(const std::vector<int>& ids) {
  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (int id : ids) {
    TBBUTTON b{};
    b.idCommand = id;
    b.fsState = TBSTATE_ENABLED;
    if (id == 0) {
      b.fsStyle = BTNS_SEP;
      b.iBitmap = 0;
    } else {
      b.fsStyle = BTNS_BUTTON;
      b.iBitmap = image++;
    }
    buttons.push_back(b);
  }
  if (image > images_) return false;
  return send(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

bool toolbar::set_separator(int index, int id, int width) {
  if (index < 0 || index >= button_count()) return false;
  // A separator's width is its image index; it is made anew rather than edited in place.
  TBBUTTON b{};
  b.idCommand = id;
  b.fsStyle = BTNS_SEP;
  // The control gives a separator of width 0 its default width; one with no room is hidden.
  b.fsState = width > 0 ? TBSTATE_ENABLED : (TBSTATE_ENABLED | TBSTATE_HIDDEN);
  b.iBitmap = width > 0 ? width : 0;
  send(WM_SETREDRAW, FALSE);
  send(TB_DELETEBUTTON, index);
  const bool ok = send(TB_INSERTBUTTONW, index, reinterpret_cast<LPARAM>(&b)) != 0;
  send(WM_SETREDRAW, TRUE);
  invalidate();
  return ok;
}

bool toolbar::set_button_size(int width, int height) {
  send(TB_SETBITMAPSIZE, 0, MAKELPARAM(image_size_, image_size_));
  return send(TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height)) != 0;
}

void toolbar::set_flat(bool flat) {
  LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  style = flat ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
  SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
  invalidate();
}

bool toolbar::is_flat() const { return (GetWindowLongPtrW(hwnd(), GWL_STYLE) & TBSTYLE_FLAT) != 0; }

RECT toolbar::item_rect(int index) const {
  RECT r{};
  send(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

int toolbar::button_count() const { return static_cast<int>(send(TB_BUTTONCOUNT)); }

int toolbar::command_at(int index) const {
  TBBUTTON b{};
  if (!send(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b))) return -1;
  return b.idCommand;
}

bool toolbar::check_button(int id, bool checked) {
  return send(TB_CHECKBUTTON, id, MAKELPARAM(checked, 0)) != 0;
}

bool toolbar::is_checked(int id) const { return send(TB_ISBUTTONCHECKED, id) != 0; }

int toolbar::height() const {
  int bottom = 0;
  for (int i = 0; i < button_count(); ++i) {
    const RECT r = item_rect(i);
    if (r.bottom > bottom) bottom = r.bottom;
  }
  return bottom + 3;
}

void toolbar::set_indent(int pixels) { send(TB_SETINDENT, pixels); }

void toolbar::set_stacked(bool stacked) {
  for (int i = 0; i < button_count(); ++i) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STATE | TBIF_BYINDEX;
    if (send(TB_GETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info)) < 0) continue;
    info.fsState = stacked ? (info.fsState | TBSTATE_WRAP) : (info.fsState & ~TBSTATE_WRAP);
    send(TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
  }
  invalidate();
}

SIZE toolbar::button_size() const {
  const auto size = static_cast<DWORD>(send(TB_GETBUTTONSIZE));
  return SIZE{LOWORD(size), HIWORD(size)};
}

int toolbar::button_at(POINT client_point) const {
  for (int i = 0; i < button_count(); ++i) {
    TBBUTTON b{};
    if (!send(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)) || (b.fsStyle & BTNS_SEP) ||
        (b.fsState & TBSTATE_HIDDEN))
      continue;
    const RECT r = item_rect(i);
    if (PtInRect(&r, client_point)) return i;
  }
  return -1;
}

}  // namespace kelvane::ui
