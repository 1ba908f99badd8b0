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
// The sizes of a window of ours at 96 DPI: its default size, no more than
// the given share of the screen (percent), and the smallest size the user
// may drag it to.
struct WindowSizes {
    int width;
    int height;
    int screenWidthPercent;
    int screenHeightPercent;
    int minWidth;
    int minHeight;
};
// Where such a window opens and how small it may be made, at the DPI: where
// the user last left it (when that is not below the smallest size), else
// the default size where Windows puts it (x is CW_USEDEFAULT). The default
// and the smallest size are kept within the screen (a small screen at a
// high DPI).
struct WindowOpening {
    int x;
    int y;
    int width;
    int height;
    int minWidth;
    int minHeight;
};
WindowOpening PlaceOpeningWindow(System& sys, const char* name, const WindowSizes& sizes, int dpi);

// Saves the rectangle; a failure leaves the window where Windows puts it
// next time.
void SaveWindowPlacement(System& sys, const char* name, const Rect& rect);

}  // namespace rc
