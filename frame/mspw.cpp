#include "frame/mspw.h"

#include "app/mapp.h"

namespace kelvane {

mspw::mspw() {
  if (Log* log = app_log()) log->write("mspw::mspw () OK ...\n");
}

mspw::~mspw() {
  if (Log* log = app_log()) log->write("mspw::~mspw () OK ...\n");
}

}  // namespace kelvane
