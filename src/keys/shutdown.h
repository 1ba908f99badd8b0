// The shutdown confirmation (dialog 107).
#pragma once

#include "platform/platform.h"

namespace rc {

struct System;

void OpenShutdownDialog(System& sys, Hwnd owner);
void ShutDownComputer(System& sys);

}  // namespace rc
