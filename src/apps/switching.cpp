#include "apps/switching.h"

#include "apps/app_record.h"
#include "apps/target_app.h"
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

}  // namespace

Hwnd SwitchToApp(System& sys, std::uint32_t appId) {
    for (const CloseOrder& order : kCloseOrders) {
        if (order.target == appId) {
            for (std::uint32_t other : order.others) {
                CloseApp(sys, other);
            }
            return ActivateOrLaunchApp(sys, appId);
        }
    }
    return 0;
}

void AfterLaunch(System& sys, std::uint32_t appId) {
    // An application that is already up gets nothing; a fresh one is given
    // time to come up before its first commands.
    const AppRecord* app = FindAppRecord(appId);
    if (app != nullptr && FindAppWindowElsewhere(sys, appId) == 0) {
        app->afterLaunch(sys);
    }
}

void AutoLaunchCurrentApp(System& sys) {
    DebugTrace(sys, "Launch Ap");
    if (!sys.bDeviceReady) {
        DebugTrace(sys, "NOT bLaunchap");
        return;
    }
    DebugTrace(sys, "Find Device than Launch Ap");
    const AppRecord* app = FindAppRecord(sys.nCurRemoteTV);
    if (app == nullptr) {
        return;
    }
    SwitchToApp(sys, app->appId);
    DebugTrace(sys, app->launchTrace);
    AfterLaunch(sys, app->appId);
}

bool IsAppInstalled(System& sys, std::uint32_t appId) {
    const AppRecord* app = FindAppRecord(appId);
    if (app == nullptr) {
        return false;
    }
    return app->isInstalled != nullptr ? app->isInstalled(sys) != 0 : StateOf(sys, *app).bInstalled;
}

bool IsAppRunning(System& sys, std::uint32_t appId) {
    const AppRecord* app = FindAppRecord(appId);
    if (app != nullptr && app->findRunning != nullptr) {
        return app->findRunning(sys) != 0;
    }
    return FindAppWindowElsewhere(sys, appId) != 0;
}

}  // namespace rc
