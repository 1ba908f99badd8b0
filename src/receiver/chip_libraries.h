// The chip-vendor libraries' entry points, as the receiver calls them.
// Every entry point is exported undecorated and returns a 32-bit int.
//
// Nothing documents their calling convention. A __stdcall entry point removes
// its arguments from the stack, a cdecl one leaves them there; calling a cdecl
// one as __stdcall goes unnoticed in an unoptimised build (the frame pointer
// puts the stack back) and breaks an optimised one at once. So every entry
// point is called through CallEntry, which puts the stack pointer back after
// the call: both conventions work in every build type. 64-bit Windows and the
// host have one convention only.
#pragma once

#include <cstdint>
#include <type_traits>

#include "platform/platform.h"

namespace rc {

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

#if defined(__i386__)
// Pushes count 32-bit words (words[0] last, so that it is the first argument),
// calls entry, and puts the stack pointer back where it was before the
// pushes, whatever the entry point removed. Written in assembly
// (chip_libraries.cpp) so that no compiler optimisation can use the stack
// pointer between the call and its restoration.
extern "C" int CallEntryWords(const void* entry, const std::uint32_t* words,
                              std::uint32_t count) asm("rc_CallEntryWords");

// One argument as the 32-bit word pushed for it.
template <typename P>
std::uint32_t EntryWord(P value) {
    static_assert(sizeof(P) == 4, "32-bit arguments only");
    if constexpr (std::is_pointer_v<P>) {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
    } else {
        return static_cast<std::uint32_t>(value);
    }
}
#endif

// Calls a vendor entry point with its arguments, in either convention.
template <typename... Params, typename... Args>
int CallEntry(int (*entry)(Params...), Args... args) {
    static_assert(sizeof...(Params) == sizeof...(Args), "one argument per parameter");
#if defined(__i386__)
    const std::uint32_t words[sizeof...(Params) + 1] = {EntryWord(static_cast<Params>(args))..., 0};
    return CallEntryWords(reinterpret_cast<const void*>(entry), words, sizeof...(Params));
#else
    return entry(static_cast<Params>(args)...);
#endif
}

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
