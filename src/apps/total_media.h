// TotalMedia: its commands and its key maps (44KEY, 32KEY, 50KEY).
#pragma once

#include <cstdint>

#include "apps/app_record.h"

namespace rc {

struct System;

extern const AppRecord kTotalMediaApp;

void TotalMediaKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode);
void TotalMediaCtrlT(System& sys);

}  // namespace rc
