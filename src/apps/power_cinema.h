// PowerCinema: its commands and its one key map.
#pragma once

#include <cstdint>

namespace rc {

struct System;

void PowerCinemaKeyMap(System& sys, std::uint32_t keyCode);
void PowerCinemaCtrlT(System& sys);

}  // namespace rc
