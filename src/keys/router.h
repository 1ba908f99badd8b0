// The key router: where one press goes, and what it did there.
#pragma once

#include "core/press.h"
#include "platform/platform.h"

namespace rc {

struct System;

// Routes one press, in these steps; the first step that handles it ends the
// routing. "The key" is the press's KeyCode as the key maps see it (255 for
// a repeat); "the application order" is the list of the six
// (apps/app_record.h).
//
// 1. The marks: a marked application whose window has gone (closed by
//    hand, or never up) is marked no more.
// 2. The 35-key remote: KeyCode 22 closes Pallamo and marks Media Center,
//    KeyCode 12 closes Media Center and marks Pallamo; each becomes the
//    current application (stored). The routing goes on with step 3.
// 3. The marked application: the first marked one, in the application
//    order, takes the key: its on/off button of the layout goes to its
//    ToggleApp, every other key to its map for the layout.
// 4. Nothing marked: the key is classified by the layout's special buttons:
//    the power key (step 5), the 1-3 button (step 6), any other key (step 7).
// 5. The power key: the user application in front takes it when its section
//    names it (and none of the six has a window open); else the current
//    application is launched: the others are closed in its order, then its
//    ToggleApp runs.
// 6. The 1-3 button: the six windows are searched; with none open, the user
//    application in front takes it when its section names it, else the Shut
//    Down dialog opens and is waited for. Then step 8.
// 7. Any other key: step 8.
// 8. The window search: the six windows are searched; the first open one,
//    in the application order, is marked and gets the key through its map.
//    With none open, the user application in front takes the buttons its
//    section names; every other key drives the pointer.
//
// Gives who took the press and what was sent, or why nothing was.
PressOutcome RouteKey(System& sys, const Press& press, Hwnd mainWindow);

}  // namespace rc
