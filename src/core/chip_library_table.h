// The chip-vendor libraries as the process holds them: each library's module
// and the entry points fetched from it. The receiver binds and calls them
// (receiver/chip_libraries.h); the table itself is process state.
#pragma once

#include "platform/platform.h"

namespace rc {

// The entry points' types. Every entry point is exported undecorated and
// returns a 32-bit int.
using Af15Init = int (*)();
using Af15GetIR = int (*)(unsigned char* buffer8);
using Af15Exit = int (*)();
using Af9100Init = int (*)();
using Af9100InitIRDev = int (*)();
using Af9100ReadRawIR = int (*)(unsigned int* words8);
using Af9100Exit = int (*)();
using RtkBdaFilterInit = int (*)(Hwnd window);
using RtkDeviceIsOk = int (*)();
using RtkInitialAPModeIRParameter = int (*)();
using RtkGetAPModeIRCode = int (*)(unsigned int* count, unsigned char* buffer128,
                                   unsigned int size);

// Modules and entry points of the three libraries. A null pointer is never
// called: a missing library or entry point makes its family's bring-up fail.
struct ChipLibraries {
    Handle af15Module = 0;
    Af15Init af15_init = nullptr;
    Af15GetIR af15_GetIR = nullptr;
    Af15Exit af15_exit = nullptr;

    Handle af9100Module = 0;
    Af9100Init af9100_init = nullptr;
    Af9100InitIRDev af9100_initIRDev = nullptr;
    Af9100ReadRawIR af9100_ReadRawIR = nullptr;
    Af9100Exit af9100_exit = nullptr;

    Handle rtlModule = 0;
    // The twenty RTK_ entry points fetched at each load, in the order they are
    // fetched; only four of them are ever called.
    void* rtk[20] = {};
    RtkBdaFilterInit RTK_BDAFilterInit = nullptr;
    RtkDeviceIsOk RTK_DeviceIsOk = nullptr;
    RtkInitialAPModeIRParameter RTK_InitialAPModeIRParameter = nullptr;
    RtkGetAPModeIRCode RTK_GetAPModeIRCode = nullptr;
};

}  // namespace rc
