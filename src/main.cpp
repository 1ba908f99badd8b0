// RemoteControl.exe: the process entry.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "core/system.h"
#include "platform/win32_platform.h"
#include "shell/main_window.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    rc::Win32Platform platform(reinterpret_cast<rc::Handle>(hInstance));
    // Building the System discovers the controlled applications: that must
    // happen before the entry proper runs.
    rc::System sys(platform);
    sys.instance = platform.Instance();
    return rc::RunRemoteControl(sys);
}
