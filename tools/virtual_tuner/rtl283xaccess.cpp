// Stand-in for the RTL2832U stick's access library. A code arrives as a
// non-zero result with a non-zero count and the scan byte in byte 1.
#include <windows.h>

#include "tuner_state.h"

#define VT_EXPORT extern "C" __declspec(dllexport)

VT_EXPORT int VT_CALL RTK_BDAFilterInit(HWND window) {
    (void)window;
    return vt::LogResult("RTK_BDAFilterInit", vt::MustFail("RTK_BDAFilterInit") ? 0 : 1);
}

VT_EXPORT int VT_CALL RTK_DeviceIsOk(void) {
    int ok = vt::IsPlugged(vt::Family::kRtl2832u) && !vt::MustFail("RTK_DeviceIsOk");
    return vt::LogResult("RTK_DeviceIsOk", ok ? 1 : 0);
}

VT_EXPORT int VT_CALL RTK_InitialAPModeIRParameter(void) {
    int ok = vt::IsPlugged(vt::Family::kRtl2832u) && !vt::MustFail("RTK_InitialAPModeIRParameter");
    if (ok) {
        vt::RestoreSetup();
    }
    return vt::LogResult("RTK_InitialAPModeIRParameter", ok ? 1 : 0);
}

VT_EXPORT int VT_CALL RTK_GetAPModeIRCode(unsigned int* count, unsigned char* buffer,
                                          unsigned int size) {
    std::uint8_t scan = 0;
    if (count == nullptr || buffer == nullptr || size < 4 ||
        !vt::TakeFrame(vt::Family::kRtl2832u, &scan)) {
        return 0;
    }
    buffer[0] = 0x00;
    buffer[1] = scan;
    buffer[2] = static_cast<unsigned char>(~scan);
    buffer[3] = 0xFF;
    *count = 4;
    return 1;
}

// The library's other entry points: exported so that the program finds every
// name it asks for, never expected to be called.
#define VT_UNUSED_ENTRY(name)                                \
    VT_EXPORT int VT_CALL name(void) {                       \
        return vt::LogResult(#name " (unexpected call)", 0); \
    }

VT_UNUSED_ENTRY(RTK_BDAFilterRelease)
VT_UNUSED_ENTRY(RTK_HaveAtLeastOneDevice)
VT_UNUSED_ENTRY(RTK_DeviceIsOnProcess)
VT_UNUSED_ENTRY(RTK_DeviceIsOffProcess)
VT_UNUSED_ENTRY(RTK_IR_Read)
VT_UNUSED_ENTRY(RTK_IR_Write)
VT_UNUSED_ENTRY(RTK_Get_Suspend_Status)
VT_UNUSED_ENTRY(RTK_I2C_Read)
VT_UNUSED_ENTRY(RTK_I2C_Write)
VT_UNUSED_ENTRY(RTK_USB_Byte_Read)
VT_UNUSED_ENTRY(RTK_USB_Byte_Write)
VT_UNUSED_ENTRY(RTK_SYS_Byte_Read)
VT_UNUSED_ENTRY(RTK_SYS_Byte_Write)
VT_UNUSED_ENTRY(RTK_Demod_Byte_Read)
VT_UNUSED_ENTRY(RTK_Demod_Byte_Write)
VT_UNUSED_ENTRY(RTK_GetAPModeIRCurrentIRType)

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        vt::OnLoad();
    }
    return TRUE;
}
