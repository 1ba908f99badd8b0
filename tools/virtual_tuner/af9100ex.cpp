// Stand-in for the IT9135 family's vendor library. A code arrives in bits 8
// to 15 of word 0; with no code word 0 keeps its preset.
#include <windows.h>

#include "tuner_state.h"

#define VT_EXPORT extern "C" __declspec(dllexport)

VT_EXPORT int VT_CALL af9100_init(void) {
    int ok = vt::IsPlugged(vt::Family::kIt9135) && !vt::MustFail("af9100_init");
    return vt::LogResult("af9100_init", ok ? 1 : 0);
}

VT_EXPORT int VT_CALL af9100_initIRDev(void) {
    int ok = vt::IsPlugged(vt::Family::kIt9135) && !vt::MustFail("af9100_initIRDev");
    if (ok) {
        vt::RestoreSetup();
    }
    return vt::LogResult("af9100_initIRDev", ok ? 1 : 0);
}

VT_EXPORT int VT_CALL af9100_ReadRawIR(unsigned int* words) {
    std::uint8_t scan = 0;
    if (words == nullptr || !vt::TakeFrame(vt::Family::kIt9135, &scan)) {
        return 0;
    }
    words[0] = static_cast<unsigned int>(scan) << 8;
    return 1;
}

VT_EXPORT int VT_CALL af9100_exit(void) {
    return vt::LogResult("af9100_exit", 1);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        vt::OnLoad();
    }
    return TRUE;
}
