// Pallamo: message 3000, its secondary forms, delivery rules and key maps
// (44KEY, 35KEY, 32KEY).
#pragma once

#include <cstdint>

#include "apps/app_record.h"
#include "platform/platform.h"

namespace rc {

struct System;

extern const AppRecord kPallamoApp;

void PallamoKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode);
// Sends one command code by the delivery rule of that code.
void PallamoCommand(System& sys, std::uint32_t code);
// Pallamo's main window: any class, title "Tessaryn".
Hwnd FindPallamoWindow(System& sys);

}  // namespace rc
