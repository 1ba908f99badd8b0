// Windows Media Center: its commands and its four key maps.
#pragma once

#include <cstdint>

#include "apps/app_record.h"

namespace rc {

struct System;

extern const AppRecord kMediaCenterApp;

// Runs the map of the given layout (k44Key, k35Key, k50Key, k32Key).
void MediaCenterKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode);
void MediaCenterCtrlT(System& sys);

}  // namespace rc
