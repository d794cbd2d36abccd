#pragma once
// Handing work from another thread (the scan thread) to the user-interface thread.
// start_ui_queue() is called once on the user-interface thread before the first post; it makes
// a hidden message-only window that runs the posted calls, in order, from the message loop.
#include <functional>

namespace kelvane::ui {

// Makes the receiving window on the calling thread (idempotent). False when it cannot be made.
bool start_ui_queue();
// Destroys it; calls still queued are dropped (the program is closing).
void stop_ui_queue();

// Queues fn to run on the user-interface thread and returns at once. Safe from any thread.
// Before start_ui_queue() (or after stop_ui_queue()) fn is run at once on the calling thread,
// so no work is ever lost silently.
void post_to_ui(std::function<void()> fn);

// True on the thread that called start_ui_queue().
bool on_ui_thread();

// Runs every call queued so far on the calling (user-interface) thread. Tests use it instead of
// waiting in a message loop.
void run_posted();

}  // namespace kelvane::ui
