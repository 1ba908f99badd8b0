// Whether Windows Media Center is present, and how its window is found.
#pragma once

#include "platform/platform.h"

namespace rc {

struct System;

// The class of Media Center's main window.
constexpr const char* kMceWindowClass = "eHome Render Window";

int IsMceInstalled(System& sys);
Hwnd FindMceWindow(System& sys);

}  // namespace rc
