#pragma once
// The 32-bit program on 64-bit Windows sees a rewritten file system: the system folder
// "<windows>\System32" is redirected to "<windows>\SysWOW64" for every path it opens, lists or
// deletes, so a scan would show SysWOW64 under System32's name (and count it twice) and an
// action would reach another file than the listed one. This guard turns that redirection off
// for the calling thread while it lives, and back as it was when it goes.
//
// Redirection off also applies to the DLLs the thread loads: a 64-bit System32 DLL cannot load
// into a 32-bit process. So the guard is only taken where no DLL can be loaded inside it: for
// the whole life of a thread that only reads and removes files (the scan, the read-ahead
// readers, the permanent deletion), and around single file calls on other threads. A call that
// may load DLLs (the shell's deletion, the association lookup, starting a program) runs with
// Paused in place, and gets the path's Sysnative form instead (scan/sysnative_path.h).
//
// A no-op in the 64-bit program and on 32-bit Windows (nothing is redirected there), and where
// the system lacks the calls (looked up at run time, so the program still starts there).
namespace kelvane {

class RedirectionOff {
 public:
  RedirectionOff();
  ~RedirectionOff();
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;

  // Whether this process is redirected at all: a 32-bit program on 64-bit Windows.
  static bool process_is_redirected();

  // Redirection as the system sets it again for the scope, inside a RedirectionOff of the
  // same thread (nothing otherwise): for a call that may load DLLs.
  class Paused {
   public:
    Paused();
    ~Paused();
    Paused(const Paused&) = delete;
    Paused& operator=(const Paused&) = delete;

   private:
    bool paused_ = false;
  };

 private:
  bool outermost_ = false;
};

}  // namespace kelvane
