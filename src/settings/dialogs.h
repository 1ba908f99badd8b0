// The Setting and About dialogs.
#pragma once

#include "platform/platform.h"

namespace rc {

struct System;

void ShowAboutDialog(System& sys, Hwnd owner);
void ShowSettingDialog(System& sys, Hwnd owner);

}  // namespace rc
