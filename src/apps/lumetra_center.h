// Lumetra Center: message 4024, its secondary windows, delivery rules and key
// maps (44KEY, 32KEY), and the start-up skin probe.
#pragma once

#include <cstdint>

#include "apps/app_record.h"
#include "platform/platform.h"

namespace rc {

struct System;

extern const AppRecord kLumetraCenterApp;

void LumetraCenterKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode);
// Sends one command code by the delivery rule of that code.
void LumetraCenterCommand(System& sys, std::uint32_t code);
// Decides, once at start, whether the installed skin has the playback
// toolbar image (bPlaybackBgFound).
void ProbeLumetraCenterSkin(System& sys);

}  // namespace rc
