#pragma once
// Shortening a text with "..." so that it fits a pixel width. The list and the pie chart both
// use it; the measuring is behind an interface so that tests can give widths of their own.
#include <string>

namespace kelvane {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // Width in pixels of a UTF-8 text in the font that will draw it.
  virtual int text_width(const std::string& text) = 0;
};

// The text itself when it fits width; otherwise its longest head that fits together with "...",
// followed by "...". The head is never shorter than the first character, so a text that cannot
// fit at all still comes back as its first character and "...". Cuts fall between characters,
// never inside a multi-byte one.
std::string fit_text(TextMeasure& measure, const std::string& text, int width);

}  // namespace kelvane
