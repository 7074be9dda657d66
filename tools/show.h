// show.h - the rig as 'simboard show' prints it: boards and ports, wiring,
// analog signals and outputs, gain queues, the bench.
#ifndef DAQGATE_TOOLS_SHOW_H
#define DAQGATE_TOOLS_SHOW_H

#include "rig.h"

namespace daqgate::tools {

// Prints what the rig holds as it is; what is invalid says so.
void show_rig(const sim::Rig &rig);

}  // namespace daqgate::tools

#endif
