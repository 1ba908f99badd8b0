// The key router: where one KeyCode goes.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

void RouteKey(System& sys, std::uint32_t keyCode, Hwnd mainWindow);

}  // namespace rc
