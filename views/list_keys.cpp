#include "views/list_keys.h"

namespace kelvane {

namespace {
constexpr unsigned kKeyBack = 0x08;
constexpr unsigned kKeyReturn = 0x0D;
}  // namespace

ListKeyAction list_key_action(unsigned virtual_key, int mode, bool busy, bool has_selection, int isdrv) {
  if (busy) return ListKeyAction::kNone;
  if (virtual_key == kKeyReturn && has_selection) return ListKeyAction::kOpen;
  if (virtual_key == kKeyBack && mode == kListFiles && lead_rows(isdrv) == 2) return ListKeyAction::kUp;
  return ListKeyAction::kNone;
}

}  // namespace kelvane
