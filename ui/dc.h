#pragma once
// Device-context helpers that give back what they take: painting begun is ended, an object
// selected is deselected, a pen, brush or font made is deleted.
#include <windows.h>

#include <utility>

namespace kelvane::ui {

// BeginPaint in the constructor, EndPaint in the destructor, whatever happens in between.
class paint_dc {
 public:
  explicit paint_dc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd_, &ps_); }
  ~paint_dc() { EndPaint(hwnd_, &ps_); }
  paint_dc(const paint_dc&) = delete;
  paint_dc& operator=(const paint_dc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// GetDC / ReleaseDC.
class window_dc {
 public:
  explicit window_dc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~window_dc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  window_dc(const window_dc&) = delete;
  window_dc& operator=(const window_dc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Owns one GDI object (pen, brush, font, bitmap) and deletes it.
template <typename Handle>
class gdi_object {
 public:
  gdi_object() = default;
  explicit gdi_object(Handle h) : h_(h) {}
  ~gdi_object() { reset(); }
  gdi_object(gdi_object&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  gdi_object& operator=(gdi_object&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = std::exchange(other.h_, nullptr);
    }
    return *this;
  }
  gdi_object(const gdi_object&) = delete;
  gdi_object& operator=(const gdi_object&) = delete;
  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(Handle h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

using pen = gdi_object<HPEN>;
using brush = gdi_object<HBRUSH>;
using font = gdi_object<HFONT>;

inline brush solid_brush(COLORREF colour) { return brush(CreateSolidBrush(colour)); }
// A font of a point size in tenths of a point (85 = 8.5 points) for a display scale (dots per
// inch; 0: the screen's).
font point_font(int tenths, const wchar_t* face, int dpi = 0);
// The font with the same face and style as base (a stock font when base is nullptr), its height
// taken from the scale from_dpi to to_dpi.
font rescaled_font(HFONT base, int from_dpi, int to_dpi);

// Selects an object into a DC for the life of this guard and puts the old one back after.
class selection {
 public:
  selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~selection() {
    if (old_) SelectObject(dc_, old_);
  }
  selection(const selection&) = delete;
  selection& operator=(const selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves the DC's whole state (objects, modes, colours) and restores it.
class saved_dc {
 public:
  explicit saved_dc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~saved_dc() {
    if (id_) RestoreDC(dc_, id_);
  }
  saved_dc(const saved_dc&) = delete;
  saved_dc& operator=(const saved_dc&) = delete;

 private:
  HDC dc_;
  int id_;
};

}  // namespace kelvane::ui
