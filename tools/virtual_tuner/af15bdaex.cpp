// Stand-in for the AF9015 stick's vendor library. A code arrives as result 1
// with byte 0 = 7 (a complete frame) and the scan code in byte 2.
#include <windows.h>

#include "tuner_state.h"

#define VT_EXPORT extern "C" __declspec(dllexport)

VT_EXPORT int VT_CALL af15_init(void) {
    int ok = vt::IsPlugged(vt::Family::kAf9015) && !vt::MustFail("af15_init");
    if (ok) {
        vt::RestoreSetup();
    }
    return vt::LogResult("af15_init", ok ? 1 : 0);
}

VT_EXPORT int VT_CALL af15_GetIR(unsigned char* buffer) {
    std::uint8_t scan = 0;
    if (buffer == nullptr || !vt::TakeFrame(vt::Family::kAf9015, &scan)) {
        return 0;
    }
    buffer[0] = 7;
    buffer[1] = 0x00;
    buffer[2] = scan;
    buffer[3] = static_cast<unsigned char>(~scan);
    return 1;
}

VT_EXPORT int VT_CALL af15_exit(void) {
    return vt::LogResult("af15_exit", 1);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        vt::OnLoad();
    }
    return TRUE;
}
