#pragma once
// mspw: the static splitter of the main frame, one row and two columns. Its bar is 5 pixels
// wide in a gap of 5 with a border of 1 (frame/frame_layout.h).
#include "ui/splitter.h"

namespace kelvane {

class mspw : public ui::splitter {
 public:
  mspw();
  ~mspw() override;
};

}  // namespace kelvane
