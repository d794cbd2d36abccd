#include "app/app_pointer.h"

#include "app/mapp.h"

namespace kelvane {

mapp* pa = nullptr;

Log* app_log() { return pa ? &pa->CGUI.flog : nullptr; }

namespace detail {
app_anchor::app_anchor(mapp* self) { pa = self; }
app_anchor::~app_anchor() { pa = nullptr; }
}  // namespace detail

}  // namespace kelvane
