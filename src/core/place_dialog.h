// The place every dialog of the system takes: the Setting and About dialogs
// and the Shut Down confirmation.
#pragma once

#include "platform/platform.h"

namespace rc {

struct System;

// Moves a dialog to its fixed place for the common screen widths and keeps it
// on top; on any other width it stays where the dialog manager put it.
void PlaceDialog(System& sys, Hwnd dlg);

}  // namespace rc
