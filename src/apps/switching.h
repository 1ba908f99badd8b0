// Switching between applications, the automatic launch and the tray menu's
// application tests.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

// Closes the others in the application's close order, then activates or
// launches it.
Hwnd SwitchToApp(System& sys, std::uint32_t appId);
// After an automatic launch: an application whose window is not up yet gets
// its pauses and first commands (its record's afterLaunch).
void AfterLaunch(System& sys, std::uint32_t appId);
void AutoLaunchCurrentApp(System& sys);
bool IsAppInstalled(System& sys, std::uint32_t appId);
bool IsAppRunning(System& sys, std::uint32_t appId);

}  // namespace rc
