#include "apps/switching.h"

#include "apps/lumetra_center.h"
#include "apps/mce_presence.h"
#include "apps/media_center.h"
#include "apps/pallamo.h"
#include "apps/power_cinema.h"
#include "apps/target_app.h"
#include "apps/total_media.h"
#include "core/debug_trace.h"
#include "core/system.h"

namespace rc {

namespace {

// Which applications a switch closes, in order, before the target is brought up.
struct CloseOrder {
    std::uint32_t target;
    std::uint32_t others[5];
};

constexpr CloseOrder kCloseOrders[] = {
    {kPowerCinema, {kMediaCenter, kPallamo, kLumetraPanel, kTotalMedia, kLumetraCenter}},
    {kPallamo, {kPowerCinema, kMediaCenter, kLumetraPanel, kTotalMedia, kLumetraCenter}},
    {kMediaCenter, {kPowerCinema, kPallamo, kLumetraPanel, kTotalMedia, kLumetraCenter}},
    {kTotalMedia, {kPowerCinema, kPallamo, kMediaCenter, kLumetraPanel, kLumetraCenter}},
    {kLumetraPanel, {kPowerCinema, kPallamo, kMediaCenter, kTotalMedia, kLumetraCenter}},
    {kLumetraCenter, {kPowerCinema, kPallamo, kMediaCenter, kLumetraPanel, kTotalMedia}},
};

// The automatic launch's trace line for each application.
struct LaunchTrace {
    std::uint32_t appId;
    const char* text;
};

constexpr LaunchTrace kLaunchTraces[] = {
    {kPowerCinema, "Launch PowerCinema"},
    {kPallamo, "Launch Pallamo"},
    {kMediaCenter, "Launch Media Center Edition"},
    {kTotalMedia, "Launch TotalMedia "},
    {kLumetraPanel, " Launch Lumetra"},
    {kLumetraCenter, "Launch Lumetra Center"},
};

}  // namespace

Hwnd SwitchToApp(System& sys, std::uint32_t appId) {
    for (const CloseOrder& order : kCloseOrders) {
        if (order.target == appId) {
            for (std::uint32_t other : order.others) {
                CloseApp(sys, other);
            }
            return ActivateOrLaunchApp(sys, *sys.App(appId));
        }
    }
    return 0;
}

Hwnd AfterLaunch(System& sys, std::uint32_t appId) {
    // An application that is already up gets nothing; a fresh one is given
    // time to come up before its first commands.
    Hwnd window = FindAppWindowElsewhere(sys, appId);
    if (window != 0) {
        return window;
    }
    switch (appId) {
        case kPowerCinema:
            sys.os.Sleep(4500);
            PowerCinemaCtrlT(sys);
            sys.os.Sleep(4500);
            PowerCinemaCtrlT(sys);
            break;
        case kPallamo:
            sys.os.Sleep(4500);
            PallamoCommand(sys, 207);
            sys.os.Sleep(4500);
            break;
        case kMediaCenter:
            sys.os.Sleep(6500);
            MediaCenterCtrlT(sys);
            break;
        case kTotalMedia:
            sys.os.Sleep(2500);
            TotalMediaCtrlT(sys);
            sys.os.Sleep(2500);
            TotalMediaCtrlT(sys);
            break;
        case kLumetraPanel:
            sys.os.Sleep(6500);
            break;
        case kLumetraCenter:
            sys.os.Sleep(3500);
            LumetraCenterCommand(sys, 35005);
            sys.os.Sleep(1000);
            LumetraCenterCommand(sys, 23);
            break;
        default:
            break;
    }
    return 0;
}

void AutoLaunchCurrentApp(System& sys) {
    DebugTrace(sys, "Launch Ap");
    if (sys.bDeviceReady == 0) {
        DebugTrace(sys, "NOT bLaunchap");
        return;
    }
    DebugTrace(sys, "Find Device than Launch Ap");
    for (const LaunchTrace& launch : kLaunchTraces) {
        if (launch.appId == sys.nCurRemoteTV) {
            SwitchToApp(sys, launch.appId);
            DebugTrace(sys, launch.text);
            AfterLaunch(sys, launch.appId);
            return;
        }
    }
}

int IsAppInstalled(System& sys, std::uint32_t appId) {
    if (appId == kMediaCenter) {
        return IsMceInstalled(sys) != 0 ? 1 : 0;
    }
    TargetApp* app = sys.App(appId);
    return app != nullptr && app->bInstalled == 1 ? 1 : 0;
}

int IsAppRunning(System& sys, std::uint32_t appId) {
    if (appId == kPowerCinema) {
        return sys.os.FindWindowA(nullptr, "PowerCinema") != 0 ? 1 : 0;
    }
    return FindAppWindowElsewhere(sys, appId) != 0 ? 1 : 0;
}

}  // namespace rc
