// Mouse emulation.
#pragma once

#include <cstdint>

#include "core/press.h"

namespace rc {

struct System;

void ComputePointerAreaFromMetrics(System& sys);
void ComputePointerArea(System& sys, int width, int height);
// KeyCodes 0 to 10 drive the pointer: 0 left click, 10 right click, 5 holds
// or lets go the button, the others move by the keypad layout (a held one
// goes on and speeds up). Every other KeyCode does nothing.
void EmulateMouse(System& sys, const Press& press);

}  // namespace rc
