#pragma once
// pa: the global pointer through which every part reaches the one application object, and the
// log behind it. Defined here, in the application layer, so that the views and the frame, which
// read them, link without the program's start (which makes the document and the frame).
namespace kelvane {

class Log;
class mapp;

// The one application object; set before its first member is made, cleared after its last
// one is gone.
extern mapp* pa;

// The log of the application object, or nullptr when there is none (yet).
Log* app_log();

namespace detail {
// First base of mapp: points pa at the object before CGUI's constructor runs.
struct app_anchor {
  explicit app_anchor(mapp* self);
  ~app_anchor();
};
}  // namespace detail

}  // namespace kelvane
