// Lumetra Center: message 4024, its secondary windows, delivery rules and
// key maps (44KEY, 32KEY), and the start-up skin probe.
#pragma once

#include <cstdint>

namespace rc {

struct System;

void LumetraCenterKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode);
// Sends one command code by the delivery rule of that code.
void LumetraCenterCommand(System& sys, std::uint32_t code);
void ProbeLumetraCenterSkin(System& sys);

}  // namespace rc
