// What shows the presses: the on-screen display and the button monitor.
#pragma once

#include "core/press.h"

namespace rc {

struct System;

// Each press read, once it has been handled, with what it did (the poll
// calls it through System::onPressDone).
void ShowPress(System& sys, const Press& press, const PressOutcome& outcome);

}  // namespace rc
