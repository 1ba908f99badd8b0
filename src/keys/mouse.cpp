#include "keys/mouse.h"

#include "shell/system.h"

namespace rc {

void ComputePointerAreaFromMetrics(System&) {}
void ComputePointerArea(System&, int, int) {}
void EmulateMouse(System&, std::uint32_t) {}

}  // namespace rc
