// TotalMedia: its commands and its key maps (44KEY, 32KEY, 50KEY).
#pragma once

#include <cstdint>

namespace rc {

struct System;

void TotalMediaKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode);
void TotalMediaCtrlT(System& sys);

}  // namespace rc
