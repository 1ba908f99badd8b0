#include "shell/osd.h"

#include <algorithm>

#include "apps/button_names.h"
#include "core/debug_trace.h"
#include "core/system.h"
#include "shell/press_trace.h"
#include "core/text.h"
#include "platform/win_defs.h"
#include "settings/user_options.h"

namespace rc {

namespace {

constexpr std::uint32_t kOsdStyles = win::kWsExLayered | win::kWsExTransparent |
                                     win::kWsExNoActivate | win::kWsExToolWindow |
                                     win::kWsExTopmost;
// Timers of the display's own window.
constexpr std::uintptr_t kShowTimerId = 1;
constexpr std::uintptr_t kFadeTimerId = 2;

constexpr char kTimes[] = " \xC3\x97";  // " ×"

void StopTimers(System& sys) {
    sys.os.KillTimer(sys.osd.window, kShowTimerId);
    sys.os.KillTimer(sys.osd.window, kFadeTimerId);
}

void Hide(System& sys) {
    StopTimers(sys);
    if (sys.osd.shown) {
        sys.os.ShowWindow(sys.osd.window, win::kSwHide);
        sys.osd.shown = false;
    }
}

void OnFadeStep(void* ctx, Hwnd, std::uintptr_t) {
    System& sys = *static_cast<System*>(ctx);
    sys.osd.alpha -= kOsdAlpha / kOsdFadeSteps;
    if (sys.osd.alpha <= 0) {
        Hide(sys);
        return;
    }
    sys.os.SetLayeredWindowAttributes(sys.osd.window, 0, static_cast<std::uint8_t>(sys.osd.alpha),
                                      win::kLwaAlpha);
}

void OnShowOver(void* ctx, Hwnd hwnd, std::uintptr_t) {
    System& sys = *static_cast<System*>(ctx);
    sys.os.KillTimer(hwnd, kShowTimerId);
    sys.os.SetTimer(hwnd, kFadeTimerId, kOsdFadeStepTime, OnFadeStep, &sys);
}

// The window is made at the first press shown and kept for the program's life.
bool HaveWindow(System& sys) {
    if (sys.osd.window != 0) {
        return true;
    }
    // Owned by the hidden main window, it gets no taskbar button.
    sys.osd.window = sys.os.CreateTextPanel(kOsdClass, kOsdStyles, sys.mainWindow);
    if (sys.osd.window == 0) {
        DebugTrace(sys, "On-screen display: the window can't be made");
    }
    return sys.osd.window != 0;
}

// The line at the bottom centre of the work area of the monitor in front:
// text 1/25 of its height, on a panel 8/5 of that, a panel's height above
// the bottom; at most 9/10 of its width.
void Show(System& sys, const std::string& line) {
    if (!HaveWindow(sys)) {
        return;
    }
    Rect work{};
    if (!sys.os.GetMonitorWorkArea(sys.os.GetForegroundWindow(), &work)) {
        return;
    }
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    const int textHeight = std::max(workHeight / 25, 12);
    const int height = textHeight * 8 / 5;
    const std::u16string text = Utf8ToUtf16(line);
    const int width = std::min(sys.os.MeasurePanelText(text.c_str(), height) + height,
                               std::max(workWidth * 9 / 10, height));
    const int x = work.left + (workWidth - width) / 2;
    const int y = work.bottom - height * 2;

    Hwnd window = sys.osd.window;
    sys.os.SetWindowTextW(window, text.c_str());
    sys.os.SetWindowPos(window, win::kHwndTopmost, x, y, width, height, win::kSwpNoActivate);
    sys.osd.alpha = kOsdAlpha;
    sys.os.SetLayeredWindowAttributes(window, 0, kOsdAlpha, win::kLwaAlpha);
    if (!sys.osd.shown) {
        sys.os.ShowWindow(window, win::kSwShowNoActivate);
        sys.osd.shown = true;
    }
    sys.os.KillTimer(window, kFadeTimerId);
    sys.os.SetTimer(window, kShowTimerId, kOsdShowTime, OnShowOver, &sys);
}

// The fade starts again from the full panel, the line unchanged.
void KeepShowing(System& sys) {
    Hwnd window = sys.osd.window;
    if (sys.osd.alpha != kOsdAlpha) {
        sys.osd.alpha = kOsdAlpha;
        sys.os.SetLayeredWindowAttributes(window, 0, kOsdAlpha, win::kLwaAlpha);
    }
    sys.os.KillTimer(window, kFadeTimerId);
    sys.os.SetTimer(window, kShowTimerId, kOsdShowTime, OnShowOver, &sys);
}

}  // namespace

std::string PressLine(const System& sys, const Press& press, const PressOutcome& outcome) {
    return PressText(ButtonLabelOf(sys.nIRKEYType, press.keyCode), press.keyCode, outcome, true);
}

void ShowOnScreen(System& sys, const Press& press, const PressOutcome& outcome) {
    if (!sys.showButtons) {
        return;
    }
    if (!press.repeat) {
        sys.osd.frames = 1;
        Show(sys, PressLine(sys, press, outcome));
        return;
    }
    if (!outcome.sent.empty()) {
        ++sys.osd.frames;  // the count says how often the button acted, not how long it was held
    }
    if (outcome.sent.empty() && sys.osd.shown) {
        KeepShowing(sys);
        return;
    }
    std::string line = PressLine(sys, press, outcome);
    if (!outcome.sent.empty()) {
        line += kTimes;
        line += std::to_string(sys.osd.frames);
    }
    Show(sys, line);
}

void SetShowButtons(System& sys, bool on) {
    sys.showButtons = on;
    SaveShowButtons(sys);
    if (!on && sys.osd.window != 0) {
        Hide(sys);
    }
}

}  // namespace rc
