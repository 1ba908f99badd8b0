#include "receiver/receiver.h"

#include "shell/system.h"

namespace rc {

void BindChipLibraries(System&) {}
int LoadRtlLibrary(System&) {
    return 0;
}
int FindFilter(System&) {
    return 0;
}
void ReleaseFilter(System&) {}
Handle OpenDeviceInterface(System&) {
    return 0;
}
int GetFeatureCode(System&, Handle, std::uint8_t*) {
    return 0;
}
void DestroyHidDeviceInfoSet(System&) {}
void CloseHidHandle(System&) {}
int ReadKeyCode(System&) {
    return kNoKey;
}
void StartupBringUp(System&, Hwnd) {}
void OnChkUsbTimer(void*, Hwnd, std::uintptr_t) {}

}  // namespace rc
