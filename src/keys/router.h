// The key router: where one KeyCode goes.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

// Where nothing is marked and none of the six applications' windows is
// open, a user application in front (apps/user_apps.h) takes the buttons its
// section names, before the power key's launch, the 1-3 button's shutdown
// offer and the mouse; the buttons it does not name go on as before.
void RouteKey(System& sys, std::uint32_t keyCode, Hwnd mainWindow);

}  // namespace rc
