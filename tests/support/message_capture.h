#pragma once
// Records every message box instead of showing it, for as long as it lives: Yes/No questions
// get `answer`, every other box OK.
#include <string>
#include <vector>

#include "base/message_box.h"
#include "tests/support/scoped_replace.h"

namespace kelvane::testing_fakes {

class MessageCapture {
 public:
  std::vector<std::string> texts;
  std::vector<unsigned> types;
  int answer = kAnswerYes;

  void clear() {
    texts.clear();
    types.clear();
  }

 private:
  ScopedMessageHandler scope_{[this](const std::string& text, unsigned type) {
    texts.push_back(text);
    types.push_back(type);
    return type == kMessageYesNo ? answer : static_cast<int>(kAnswerOk);
  }};
};

}  // namespace kelvane::testing_fakes
