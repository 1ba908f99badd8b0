// Binding of the chip-vendor libraries and the calls that start and stop
// their receivers.
//
// af15bdaex.dll and af9100ex.dll are bound when the process starts, by name,
// so that a PC with only one stick family (or none) still starts: a missing
// library or entry point leaves a null pointer, and the family's bring-up then
// fails like any other and is retried by the watchdog. RTL283XACCESS.dll is
// loaded each time an RTL2832U is brought up and never unloaded.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "core/debug_trace.h"
#include "core/system.h"
#include "platform/win_defs.h"
#include "receiver/chip_family.h"
#include "receiver/chip_libraries.h"
#include "receiver/receiver.h"

namespace rc {

#if defined(__i386__)
// int CallEntryWords(const void* entry, const std::uint32_t* words,
//                    std::uint32_t count), cdecl. The stack is aligned to 16
// bytes at the call, which any callee accepts. %ebp is kept by callees of
// either convention, so it brings the stack pointer back.
asm(R"(
    .text
    .globl rc_CallEntryWords
    .p2align 4
rc_CallEntryWords:
    pushl %ebp
    movl %esp, %ebp
    movl 16(%ebp), %ecx
    movl 12(%ebp), %edx
    leal 0(,%ecx,4), %eax
    subl %eax, %esp
    andl $-16, %esp
    addl %eax, %esp
1:
    testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%edx,%ecx,4)
    jmp 1b
2:
    call *8(%ebp)
    movl %ebp, %esp
    popl %ebp
    ret
)");
#endif

namespace {

template <typename Fn>
Fn Fetch(System& sys, Handle module, const char* name) {
    if (module == 0) {
        return nullptr;
    }
    return reinterpret_cast<Fn>(sys.os.GetProcAddress(module, name));
}

// The RTL2832U library's entry points, in the order they are fetched.
constexpr const char* kRtkNames[20] = {
    "RTK_BDAFilterInit",
    "RTK_BDAFilterRelease",
    "RTK_HaveAtLeastOneDevice",
    "RTK_DeviceIsOk",
    "RTK_DeviceIsOnProcess",
    "RTK_DeviceIsOffProcess",
    "RTK_IR_Read",
    "RTK_IR_Write",
    "RTK_Get_Suspend_Status",
    "RTK_I2C_Read",
    "RTK_I2C_Write",
    "RTK_USB_Byte_Read",
    "RTK_USB_Byte_Write",
    "RTK_SYS_Byte_Read",
    "RTK_SYS_Byte_Write",
    "RTK_Demod_Byte_Read",
    "RTK_Demod_Byte_Write",
    "RTK_InitialAPModeIRParameter",
    "RTK_GetAPModeIRCode",
    "RTK_GetAPModeIRCurrentIRType",
};
constexpr std::size_t kRtkBdaFilterInit = 0;
constexpr std::size_t kRtkDeviceIsOk = 3;
constexpr std::size_t kRtkInitialAPModeIRParameter = 17;
constexpr std::size_t kRtkGetAPModeIRCode = 18;
// A load starts by clearing this many of the entry points.
constexpr std::size_t kRtkClearedAtLoad = 9;

// The four entry points the system calls, taken from the fetched list.
void SyncRtkCalls(ChipLibraries& libs) {
    libs.RTK_BDAFilterInit = reinterpret_cast<RtkBdaFilterInit>(libs.rtk[kRtkBdaFilterInit]);
    libs.RTK_DeviceIsOk = reinterpret_cast<RtkDeviceIsOk>(libs.rtk[kRtkDeviceIsOk]);
    libs.RTK_InitialAPModeIRParameter =
        reinterpret_cast<RtkInitialAPModeIRParameter>(libs.rtk[kRtkInitialAPModeIRParameter]);
    libs.RTK_GetAPModeIRCode = reinterpret_cast<RtkGetAPModeIRCode>(libs.rtk[kRtkGetAPModeIRCode]);
}

// A folder read into buffer; "?" when it can't be had or does not fit.
template <std::size_t N>
void ReadFolder(char (&buffer)[N], std::uint32_t length) {
    if (length == 0 || length >= N) {
        std::snprintf(buffer, N, "?");
    }
}

// A family's library was not found: the trace says where the program looked.
// Libraries named without a folder are looked for beside the program and in
// the system folder only (the safe search set at start).
void TraceMissingLibrary(System& sys, const char* name) {
    char program[win::kMaxPath] = {};
    std::uint32_t length = sys.os.GetModuleFileNameA(program, sizeof program);
    ReadFolder(program, length);
    if (char* slash = std::strrchr(program, '\\'); slash != nullptr) {
        *slash = '\0';
    }
    char system[win::kMaxPath] = {};
    ReadFolder(system, sys.os.GetSystemDirectoryA(system, sizeof system));
    std::string text = name;
    text += " not found: looked beside the program (";
    text += program;
    text += ") and in the system folder (";
    text += system;
    text += ")";
    DebugTrace(sys, text.c_str());
}

}  // namespace

void BindChipLibraries(System& sys) {
    ChipLibraries& libs = sys.libs;

    libs.af15Module = sys.os.LoadLibraryA("af15bdaex.dll");
    libs.af15_init = Fetch<Af15Init>(sys, libs.af15Module, "af15_init");
    libs.af15_GetIR = Fetch<Af15GetIR>(sys, libs.af15Module, "af15_GetIR");
    libs.af15_exit = Fetch<Af15Exit>(sys, libs.af15Module, "af15_exit");

    libs.af9100Module = sys.os.LoadLibraryA("af9100ex.dll");
    libs.af9100_init = Fetch<Af9100Init>(sys, libs.af9100Module, "af9100_init");
    libs.af9100_initIRDev = Fetch<Af9100InitIRDev>(sys, libs.af9100Module, "af9100_initIRDev");
    libs.af9100_ReadRawIR = Fetch<Af9100ReadRawIR>(sys, libs.af9100Module, "af9100_ReadRawIR");
    libs.af9100_exit = Fetch<Af9100Exit>(sys, libs.af9100Module, "af9100_exit");
}

int LoadRtlLibrary(System& sys) {
    ChipLibraries& libs = sys.libs;
    for (std::size_t i = 0; i < kRtkClearedAtLoad; ++i) {
        libs.rtk[i] = nullptr;
    }
    SyncRtkCalls(libs);

    Handle module = sys.os.LoadLibraryA("RTL283XACCESS.dll");
    if (module == 0) {
        TraceMissingLibrary(sys, "RTL283XACCESS.dll");
        return 0;
    }
    libs.rtlModule = module;
    // A name the library does not export simply stays null.
    for (std::size_t i = 0; i < std::size(kRtkNames); ++i) {
        libs.rtk[i] = sys.os.GetProcAddress(module, kRtkNames[i]);
    }
    SyncRtkCalls(libs);
    return 1;
}

int InitAf9015(System& sys) {
    const ChipLibraries& libs = sys.libs;
    if (libs.af15Module == 0) {
        TraceMissingLibrary(sys, "af15bdaex.dll");
    }
    if (libs.af15_init == nullptr || libs.af15_GetIR == nullptr) {
        return 0;
    }
    return (CallEntry(libs.af15_init) & 0xFF) != 0 ? 1 : 0;
}

void ExitAf9015(System& sys) {
    if (sys.libs.af15_exit != nullptr) {
        CallEntry(sys.libs.af15_exit);
    }
}

int InitIt9135(System& sys) {
    const ChipLibraries& libs = sys.libs;
    if (libs.af9100Module == 0) {
        TraceMissingLibrary(sys, "af9100ex.dll");
    }
    if (libs.af9100_init == nullptr || libs.af9100_initIRDev == nullptr ||
        libs.af9100_ReadRawIR == nullptr) {
        return 0;
    }
    if ((CallEntry(libs.af9100_init) & 0xFF) == 0) {
        return 0;
    }
    return (CallEntry(libs.af9100_initIRDev) & 0xFFFF) != 0 ? 1 : 0;
}

void ExitIt9135(System& sys) {
    if (sys.libs.af9100_exit != nullptr) {
        CallEntry(sys.libs.af9100_exit);
    }
}

int InitRtl2832u(System& sys, Hwnd mainWindow) {
    const ChipLibraries& libs = sys.libs;
    if (libs.RTK_BDAFilterInit == nullptr || libs.RTK_DeviceIsOk == nullptr ||
        libs.RTK_InitialAPModeIRParameter == nullptr || libs.RTK_GetAPModeIRCode == nullptr) {
        return 0;
    }
    CallEntry(libs.RTK_BDAFilterInit, mainWindow);
    if (CallEntry(libs.RTK_DeviceIsOk) == 0) {
        return 0;
    }
    return CallEntry(libs.RTK_InitialAPModeIRParameter) != 0 ? 1 : 0;
}

}  // namespace rc
