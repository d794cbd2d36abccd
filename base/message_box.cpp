#include "base/message_box.h"

#include <cstdio>
#include <cstdlib>
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

int answer_for(unsigned type, const char* scripted) {
  if ((type & 0x0F) != kMessageYesNo) return kAnswerOk;
  return (scripted && (scripted[0] == 'y' || scripted[0] == 'Y')) ? kAnswerYes : kAnswerNo;
}

// The answer a script keeps in a file, so that one run can answer No and later Yes: the
// file's first word, read at each question; empty when there is no such file.
std::string answer_from_file(const char* path) {
  std::string word;
  if (path == nullptr || *path == 0) return word;
  if (std::FILE* f = std::fopen(path, "r")) {
    for (int c = std::fgetc(f); c != EOF && c > ' '; c = std::fgetc(f)) word += static_cast<char>(c);
    std::fclose(f);
  }
  return word;
}

// A run driven by a script (end-to-end tests) names a file in KELVANE_MESSAGE_LOG: boxes are
// then written there, one line each, instead of being shown, and questions get the answer
// in the file named by KELVANE_MESSAGE_ANSWER_FILE, else in KELVANE_MESSAGE_ANSWER ("yes" or
// "no"; no answer means No, the safe one).
int scripted_box(const std::string& text, unsigned type, const char* log_path) {
  std::string line;
  for (char c : text) line += (c == '\n') ? std::string("\\n") : std::string(1, c);
  if (std::FILE* f = std::fopen(log_path, "a")) {
    std::fprintf(f, "%u|%s\n", type, line.c_str());
    std::fclose(f);
  }
  const std::string from_file = answer_from_file(std::getenv("KELVANE_MESSAGE_ANSWER_FILE"));
  return answer_for(type, from_file.empty() ? std::getenv("KELVANE_MESSAGE_ANSWER") : from_file.c_str());
}

int platform_box(const std::string& text, unsigned type) {
  if (const char* log_path = std::getenv("KELVANE_MESSAGE_LOG"); log_path && *log_path)
    return scripted_box(text, type, log_path);
#ifdef _WIN32
  HWND owner = GetActiveWindow();
  return MessageBoxW(owner, widen(text).c_str(), L"Kelvane", type);
#else
  std::fprintf(stderr, "Kelvane: %s\n", text.c_str());
  return answer_for(type, nullptr);
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
