// The Lumetra panel: message 4024 and its one key map.
#pragma once

#include <cstdint>

namespace rc {

struct System;

void LumetraPanelKeyMap(System& sys, std::uint32_t keyCode);
void LumetraPanelCommand(System& sys, std::uint32_t code);

}  // namespace rc
