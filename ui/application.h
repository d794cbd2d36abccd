#pragma once
// The application: start-up through InitInstance, the message loop, idle processing after every
// burst of messages, and the last stop of a command that no window handled.
#include <windows.h>

namespace kelvane::ui {

class window;

class application {
 public:
  application();
  virtual ~application();
  application(const application&) = delete;
  application& operator=(const application&) = delete;

  // InitInstance, then the message loop until the main window is gone. Returns the exit code.
  int run();

  // Builds the main window; 0 ends the program at once.
  virtual int InitInstance() { return 1; }
  // Called when the queue has emptied, with a count that starts at 0 after every burst;
  // called again with count + 1 while it returns non-zero. The base has nothing to do.
  virtual int OnIdle(long count) {
    (void)count;
    return 0;
  }
  // After the message loop, before run() returns; the result is not used.
  virtual int ExitInstance() { return 0; }
  // Commands that reached the application (no window took them). True when handled.
  virtual bool on_command(int id) {
    (void)id;
    return false;
  }

  // The main window: it sees every message of the loop first (pre_translate), and its end
  // ends the loop.
  window* main_window() const { return main_; }
  void set_main_window(window* frame) { main_ = frame; }

  // Handles every message waiting now, then the idle processing; for tests, which must not
  // sit in a loop. Returns false once the quit message was seen.
  bool pump();

  static application* current();

 private:
  bool process(const MSG& msg);
  static bool starts_burst(const MSG& msg);

  window* main_ = nullptr;
  bool quit_ = false;
};

}  // namespace kelvane::ui
