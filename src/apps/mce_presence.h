// Whether Windows Media Center is present, and how its window is found.
#pragma once

#include "platform/platform.h"

namespace rc {

struct System;

int IsMceInstalled(System& sys);
Hwnd FindMceWindow(System& sys);

}  // namespace rc
