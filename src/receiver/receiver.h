// Receiver access: chip libraries, detection, the Conexant HID channel, the
// code readers and the device watchdog.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace rc {

struct System;

// The DirectShow device categories the tuner filters are listed in.
constexpr Guid kBdaNetworkTunerCategory{// KSCATEGORY_BDA_NETWORK_TUNER
                                        0x71985F48,
                                        0x1CA1,
                                        0x11D3,
                                        {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
constexpr Guid kCrossbarCategory{// AM_KSCATEGORY_CROSSBAR
                                 0xA799A801,
                                 0xA46D,
                                 0x11D0,
                                 {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};
constexpr Guid kVideoInputDeviceCategory{// CLSID_VideoInputDeviceCategory
                                         0x860BB310,
                                         0x5D01,
                                         0x11D0,
                                         {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

// Binds af15bdaex.dll and af9100ex.dll (process start).
void BindChipLibraries(System& sys);
// Loads RTL283XACCESS.dll and fetches its entry points; gives 1 or 0.
int LoadRtlLibrary(System& sys);

int FindFilter(System& sys);
void ReleaseFilter(System& sys);

Handle OpenDeviceInterface(System& sys);
int GetFeatureCode(System& sys, Handle hidHandle, std::uint8_t* code);
void DestroyHidDeviceInfoSet(System& sys);
void CloseHidHandle(System& sys);

// One reader call per poll tick: the KeyCode read (kNoKey for a scan code
// missing from its table), or nothing.
using KeyRead = std::optional<std::uint32_t>;
KeyRead ReadKeyCode(System& sys);

// Tells the System's onReceiverChange that the receiver may have come or
// gone.
void NoteReceiverChange(System& sys);
// Start-up bring-up, run while the main window is created.
void StartupBringUp(System& sys, Hwnd mainWindow);
// The ChkUSB timer's callback (ctx is the System).
void OnChkUsbTimer(void* ctx, Hwnd hwnd, std::uintptr_t id);

// Lets go of the receiver: polling and the watchdog stop, so that no timer
// calls a chip library, the Conexant channel closes and bDeviceReady is 0,
// as on a removal but without the watchdog. Nothing uses the receiver again
// until BringUpReceiver.
void ReleaseReceiver(System& sys);
// Brings the receiver up from scratch, as after a re-plug: it is let go,
// then the watchdog takes over and, at the tick that finds the stick, runs
// the chip's initialisation, the receiver-back hook when launch is true
// (the automatic launch), and the hand-over to the poll. Its ticks come
// every 3000 ms; RunWatchdogNow runs one at once.
void BringUpReceiver(System& sys, bool launch);
// A watchdog tick now, when the watchdog is on (ChkUSB armed); nothing
// otherwise.
void RunWatchdogNow(System& sys, Hwnd mainWindow);

}  // namespace rc
