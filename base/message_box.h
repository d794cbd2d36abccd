#pragma once
// Every message box of the program goes through show_message, and the program always shows
// it: nothing outside the program hides a box or answers it. The native and Windows tests put
// their own handler in place (set_message_handler) and read what would have been shown,
// answering Yes/No questions themselves, so none of them waits on a modal window; the
// end-to-end tests answer the real boxes on the screen (tests/e2e/box_driver.cpp).
#include <functional>
#include <string>

namespace kelvane {

// Box types and answers, with the platform's values.
enum MessageType : unsigned {
  kMessageOk = 0x00,     // OK button, no icon
  kMessageYesNo = 0x04,  // Yes and No buttons
  kMessageStop = 0x10,   // stop icon, OK button
  kMessageInfo = 0x40,   // information icon, OK button
};
enum MessageAnswer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

using MessageHandler = std::function<int(const std::string& text, unsigned type)>;

// Shows text (UTF-8) with the program title as caption; returns the button pressed.
// Safe to call from any thread.
int show_message(const std::string& text, unsigned type = kMessageOk);

// Replaces the handler; an empty handler restores the platform's own box. Returns the old one.
MessageHandler set_message_handler(MessageHandler handler);

}  // namespace kelvane
