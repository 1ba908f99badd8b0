// Receiver access: chip libraries, detection, the Conexant HID channel, the
// code readers and the device watchdog.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

constexpr int kNoKey = -1;

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

// One reader call per poll tick: a KeyCode 0 to 255, or kNoKey.
int ReadKeyCode(System& sys);

// Start-up bring-up, run while the main window is created.
void StartupBringUp(System& sys, Hwnd mainWindow);
// The ChkUSB timer's callback (ctx is the System).
void OnChkUsbTimer(void* ctx, Hwnd hwnd, std::uintptr_t id);

}  // namespace rc
