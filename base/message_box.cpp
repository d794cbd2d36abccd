#include "base/message_box.h"

#include <cstdio>
#include <mutex>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "base/utf8_path.h"
#endif

namespace kelvane {
namespace {

std::mutex handler_mutex;
MessageHandler current_handler;

// Every box is shown and answered by the user. Nothing outside the program (its environment,
// the registry, the command line) may hide a box or answer a question for the user: a
// program that deletes must ask the person in front of it. Tests replace the handler instead.
int platform_box(const std::string& text, unsigned type) {
#ifdef _WIN32
  HWND owner = GetActiveWindow();
  return MessageBoxW(owner, widen(text).c_str(), L"Kelvane", type);
#else
  // Without a window system there is no one to ask: the text goes to the error stream and a
  // question gets No, the answer that changes nothing.
  std::fprintf(stderr, "Kelvane: %s\n", text.c_str());
  return (type & 0x0F) == kMessageYesNo ? kAnswerNo : kAnswerOk;
#endif
}

}  // namespace

int show_message(const std::string& text, unsigned type) {
  MessageHandler handler;
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    handler = current_handler;
  }
  return handler ? handler(text, type) : platform_box(text, type);
}

MessageHandler set_message_handler(MessageHandler handler) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  MessageHandler old = std::move(current_handler);
  current_handler = std::move(handler);
  return old;
}

}  // namespace kelvane
