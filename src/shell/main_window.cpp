#include "shell/main_window.h"

#include "shell/system.h"

namespace rc {

int RunRemoteControl(System&) {
    return 0;
}

std::intptr_t MainWindowProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    return static_cast<System*>(ctx)->os.DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace rc
