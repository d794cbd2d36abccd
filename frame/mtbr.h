#pragma once
// mtbr: the main frame's toolbar. The framework's docking toolbar does the work; this class
// only marks its life in the log.
#include "ui/dock_bar.h"

namespace kelvane {

class mtbr : public ui::dock_bar {
 public:
  mtbr();
  ~mtbr() override;
};

}  // namespace kelvane
