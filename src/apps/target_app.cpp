#include "apps/target_app.h"

#include "shell/system.h"

namespace rc {

void DiscoverAppsBeforeTimers(System&) {}
void DiscoverAppsAfterTimers(System&) {}
int ReadAppRegistry(System&, TargetApp&, const char*, const char*, const char*) {
    return 0;
}
Hwnd ScanForAppWindow(System&, TargetApp&) {
    return 0;
}
Hwnd LaunchApp(System&, TargetApp&) {
    return 0;
}
Hwnd ActivateOrLaunchApp(System&, TargetApp&) {
    return 0;
}
Hwnd FindAppWindow(System&, std::uint32_t) {
    return 0;
}
int CloseApp(System&, std::uint32_t) {
    return 0;
}
int ToggleApp(System&, std::uint32_t) {
    return 0;
}
Hwnd FindAppWindowElsewhere(System&, std::uint32_t) {
    return 0;
}
void OnAppWatchTimer(void*, Hwnd, std::uintptr_t) {}

}  // namespace rc
