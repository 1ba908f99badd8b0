#include "keys/shutdown.h"

#include "core/place_dialog.h"
#include "core/system.h"
#include "platform/win_defs.h"
#include "resources/resource.h"

namespace rc {

namespace {

// Power off, letting every program save its work or object; only programs
// that do not answer are forced.
constexpr std::uint32_t kPowerOffFlags = win::kEwxPowerOff | win::kEwxForceIfHung;

// Every closing path clears the flag before the dialog ends, so the next
// KeyCode is routed normally again.
void CloseShutdownDialog(System& sys, Hwnd dlg, std::intptr_t result) {
    sys.bIsShutDownDlg = 0;
    sys.os.EndDialog(dlg, result);
}

}  // namespace

void OpenShutdownDialog(System& sys, Hwnd owner) {
    sys.bIsShutDownDlg = 1;
    sys.os.DialogBoxParamA(IDD_SHUTDOWN, owner, ShutdownDialogProc, &sys);
    // Every closing path has cleared the flag by now; only a dialog that
    // could not be created leaves it set, and the remote would then answer a
    // dialog that is not there for the rest of the run.
    sys.bIsShutDownDlg = 0;
}

std::intptr_t ShutdownDialogProc(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t) {
    System& sys = *static_cast<System*>(ctx);
    switch (msg) {
        case win::kWmInitDialog:
            sys.os.SetForegroundWindow(dlg);
            sys.os.SetActiveWindow(dlg);
            sys.shutdownDialog = dlg;
            PlaceDialog(sys, dlg);
            return 1;
        case win::kWmKeyDown:
            if (wParam == win::kVkReturn) {
                CloseShutdownDialog(sys, dlg, win::kVkReturn);
                ShutDownComputer(sys);
                return 1;
            }
            if (wParam == win::kVkEscape) {
                CloseShutdownDialog(sys, dlg, win::kVkEscape);
                return 1;
            }
            return 0;
        case win::kWmCommand:
            switch (wParam & 0xFFFF) {
                case win::kIdOk:
                    CloseShutdownDialog(sys, dlg, win::kIdOk);
                    ShutDownComputer(sys);
                    return 1;
                case win::kIdCancel:  // also the close box
                    CloseShutdownDialog(sys, dlg, win::kIdCancel);
                    return 1;
                default:
                    return 0;
            }
        default:
            return 0;
    }
}

void ShutDownComputer(System& sys) {
    OsVersion version{};
    sys.os.GetVersionExA(&version, false);
    if (version.platformId == win::kVerPlatformWin32Windows) {
        sys.os.ExitWindowsEx(win::kEwxShutdown, 0);
        return;
    }

    Handle token = 0;
    if (!sys.os.OpenProcessToken(&token)) {
        return;
    }
    if (sys.os.AdjustShutdownPrivilege(token) != 0) {
        sys.os.CloseHandle(token);
        return;
    }
    bool accepted = sys.os.ExitWindowsEx(kPowerOffFlags, 0);
    sys.os.CloseHandle(token);
    if (!accepted) {
        sys.os.MessageBoxA(0, "Can't run ExitWindowsEx.", "Remote Control", win::kMbOk);
    }
}

}  // namespace rc
