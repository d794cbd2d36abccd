#pragma once
// mtbr: the main frame's toolbar. The framework's toolbar does the work; this class only
// marks its life in the log.
#include "ui/toolbar.h"

namespace kelvane {

class mtbr : public ui::toolbar {
 public:
  mtbr();
  ~mtbr() override;
};

}  // namespace kelvane
