// Where the user last left a window of the program, per user: four DWORDs
// (NAMELeft, NAMETop, NAMERight, NAMEBottom, the screen rectangle) under
// HKEY_CURRENT_USER\Software\Orvalix Multimedia\Remote Control, which a
// standard user may write.
#pragma once

#include "platform/platform.h"

namespace rc {

struct System;

// The rectangle saved for the window, when there is one and it still
// reaches onto the screen (a monitor unplugged since leaves it off). False
// otherwise, with *rect untouched.
bool LoadWindowPlacement(System& sys, const char* name, Rect* rect);
// Saves the rectangle; a failure leaves the window where Windows puts it
// next time.
void SaveWindowPlacement(System& sys, const char* name, const Rect& rect);

}  // namespace rc
