// PowerCinema: its commands and its one key map.
#pragma once

#include <cstdint>

#include "apps/app_record.h"
#include "platform/platform.h"

namespace rc {

struct System;

extern const AppRecord kPowerCinemaApp;

void PowerCinemaKeyMap(System& sys, std::uint32_t keyCode);
void PowerCinemaCtrlT(System& sys);
// PowerCinema's main window: any class, title "PowerCinema".
Hwnd FindPowerCinemaWindow(System& sys);

}  // namespace rc
