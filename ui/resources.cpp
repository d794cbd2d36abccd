#include "ui/resources.h"

#include "base/utf8_path.h"

namespace kelvane::ui {

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

std::string load_string(UINT id) {
  const wchar_t* text = nullptr;
  // With a zero buffer size the call hands out a pointer into the resource itself, so the
  // string is never cut to a buffer.
  const int length = LoadStringW(instance(), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (length <= 0 || !text) return std::string();
  return narrow(text, length);
}

std::string command_prompt(UINT id) {
  std::string text = load_string(id);
  const size_t end = text.find('\n');
  if (end != std::string::npos) text.resize(end);
  return text;
}

}  // namespace kelvane::ui
