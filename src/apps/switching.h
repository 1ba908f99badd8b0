// Switching between applications, the automatic launch and the tray menu's
// application tests.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

Hwnd SwitchToApp(System& sys, std::uint32_t appId);
Hwnd AfterLaunch(System& sys, std::uint32_t appId);
void AutoLaunchCurrentApp(System& sys);
int IsAppInstalled(System& sys, std::uint32_t appId);
int IsAppRunning(System& sys, std::uint32_t appId);

}  // namespace rc
