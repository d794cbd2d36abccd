// The global pointer to the application object and the log behind it (declared in app/mapp.h).
// They live here, in the application layer, and not with the rest of mapp in the program's
// start: the views and the frame read them, and a layer links with only those below it.
#include "app/mapp.h"

namespace kelvane {

mapp* pa = nullptr;

Log* app_log() { return pa ? &pa->CGUI.flog : nullptr; }

namespace detail {
app_anchor::app_anchor(mapp* self) { pa = self; }
app_anchor::~app_anchor() { pa = nullptr; }
}  // namespace detail

}  // namespace kelvane
