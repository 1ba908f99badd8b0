#include "apps/switching.h"

#include "shell/system.h"

namespace rc {

Hwnd SwitchToApp(System&, std::uint32_t) {
    return 0;
}
Hwnd AfterLaunch(System&, std::uint32_t) {
    return 0;
}
void AutoLaunchCurrentApp(System&) {}
int IsAppInstalled(System&, std::uint32_t) {
    return 0;
}
int IsAppRunning(System&, std::uint32_t) {
    return 0;
}

}  // namespace rc
