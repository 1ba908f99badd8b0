#include "keys/shutdown.h"

#include "core/debug_trace.h"
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
    sys.bIsShutDownDlg = false;
    sys.os.EndDialog(dlg, result);
}

// The KeyCodes that may confirm the shutdown, whatever the layout.
bool IsPowerKeyOfSomeLayout(std::uint32_t keyCode) {
    return keyCode == 12 || keyCode == 13 || keyCode == 50 || keyCode == 67;
}

bool ConfirmsShutdown(std::uint32_t layout, std::uint32_t keyCode) {
    switch (layout) {
        case k44Key:
            return keyCode == 12;
        case k32Key:
            return keyCode == 67;
        case k50Key:
            return keyCode == 13 || keyCode == 50;
        case k35Key:
            return keyCode == 12;
        default:
            return false;
    }
}

// A key pressed on the dialog, after bringing it in front.
void PressOnDialog(System& sys, std::uint8_t vk, const char* text) {
    Hwnd dialog = sys.shutdownDialog;
    sys.os.SetForegroundWindow(dialog);
    sys.os.SetActiveWindow(dialog);
    sys.os.SendMessageA(dialog, win::kWmKeyDown, vk, 0);
    NoteSent(sys, text);
}

}  // namespace

PressOutcome AnswerShutdownDialog(System& sys, const Press& press) {
    PressOutcome outcome;
    PressScope scope(sys, outcome);
    NoteTaker(sys, PressTaker::kShutdownDialog);
    DebugTrace(sys, "bIsShutDownDlg");
    // The frames of a held button are no answer: the 1-3 button that opened
    // the confirmation goes on sending them for as long as it is held, and
    // they would otherwise cancel it at once. Only a fresh press answers.
    if (press.repeat) {
        NoteNotSent(sys, "a held button does not answer the Shut Down dialog");
        return outcome;
    }
    if (!IsPowerKeyOfSomeLayout(press.keyCode)) {
        PressOnDialog(sys, win::kVkEscape, "Esc");
    } else if (ConfirmsShutdown(sys.nIRKEYType, press.keyCode)) {
        PressOnDialog(sys, win::kVkReturn, "Enter");
    } else {
        NoteNotSent(sys, "the power key of another remote does not answer the Shut Down dialog");
    }
    return outcome;
}

void OpenShutdownDialog(System& sys, Hwnd owner) {
    sys.bIsShutDownDlg = true;
    sys.os.DialogBoxParamA(IDD_SHUTDOWN, owner, ShutdownDialogProc, &sys);
    // Every closing path has cleared the flag by now; only a dialog that
    // could not be created leaves it set, and the remote would then answer a
    // dialog that is not there for the rest of the run.
    sys.bIsShutDownDlg = false;
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
