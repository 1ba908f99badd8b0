// The receiver families' own operations, used by the code readers and the
// bring-ups: starting and stopping each chip library's receiver, and the
// translation of raw scan codes into KeyCodes.
//
// An operation that needs an entry point the library does not export calls
// nothing and reports failure; a null entry point is never called.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

// af15_init (the AF9015 family also needs af15_GetIR to be of use): 1 when
// its low byte says ready.
int InitAf9015(System& sys);
void ExitAf9015(System& sys);
// af9100_init, then af9100_initIRDev if it succeeded (the family also needs
// af9100_ReadRawIR): 1 when both say ready.
int InitIt9135(System& sys);
void ExitIt9135(System& sys);
// With the RTL2832U library loaded: RTK_BDAFilterInit with the main window,
// RTK_DeviceIsOk, then RTK_InitialAPModeIRParameter if the device is working.
// 1 when both tests pass; 0 without any call when an entry point is missing.
int InitRtl2832u(System& sys, Hwnd mainWindow);

// The AF9015 table: a scan code to its KeyCode, 255 for a code not in it.
std::uint32_t Af9015KeyCode(std::uint8_t scanCode);
// The RTL2832U table: the scan byte's bits reversed give the KeyCode for
// 0-12, 14-35, 64-68 and 72-75; 0x45, 0x47 and 0xFF are exceptions; 255
// for every other scan byte.
std::uint32_t Rtl2832uKeyCode(std::uint8_t scanCode);

}  // namespace rc
