#include "frame/mtbr.h"

#include "app/mapp.h"

namespace kelvane {

mtbr::mtbr() {
  if (Log* log = app_log()) log->write("mtbr::mtbr () OK ...\n");
}

mtbr::~mtbr() {
  if (Log* log = app_log()) log->write("mtbr::~mtbr () OK ...\n");
}

}  // namespace kelvane
