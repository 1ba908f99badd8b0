// Mouse emulation.
#pragma once

#include <cstdint>

namespace rc {

struct System;

void ComputePointerAreaFromMetrics(System& sys);
void ComputePointerArea(System& sys, int width, int height);
void EmulateMouse(System& sys, std::uint32_t keyCode);

}  // namespace rc
