#include "views/fit_text.h"

namespace kelvane {

namespace {

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string fit_text(TextMeasure& measure, const std::string& text, int width) {
  const size_t n = text.size();
  if (n == 0) return text;
  if (measure.text_width(text) <= width) return text;
  const int dots = measure.text_width("...");

  // The length of the first character: a one-character text is never cut.
  size_t first = 1;
  while (first < n && is_continuation(static_cast<unsigned char>(text[first]))) ++first;

  size_t keep = first;
  for (size_t k = n - 1; k > first; --k) {
    if (is_continuation(static_cast<unsigned char>(text[k]))) continue;
    if (measure.text_width(text.substr(0, k)) + dots <= width) {
      keep = k;
      break;
    }
  }
  return text.substr(0, keep) + "...";
}

}  // namespace kelvane
