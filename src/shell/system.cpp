#include "shell/system.h"

#include "apps/target_app.h"
#include "apps/user_apps.h"
#include "keys/poll.h"
#include "receiver/receiver.h"
#include "shell/timer_slots.h"

namespace rc {

System::System(Platform& platform) : os(platform), userApps(std::make_unique<UserApps>()) {
    // The order in which the process-wide objects come to life: five
    // application records, the three timer slots, then Pallamo's record.
    DiscoverAppsBeforeTimers(*this);
    ConstructTimerSlot(gpioTimer, kGpioTimerId, OnGpioTimer);
    ConstructTimerSlot(appWatchTimer, kAppWatchTimerId, OnAppWatchTimer);
    ConstructTimerSlot(chkUsbTimer, kChkUsbTimerId, OnChkUsbTimer);
    DiscoverAppsAfterTimers(*this);
}

System::~System() {
    DestroyTimerSlots(*this);
}

TargetApp* System::App(std::uint32_t appId) {
    switch (appId) {
        case kPowerCinema:
            return &powerCinema;
        case kPallamo:
            return &pallamo;
        case kMediaCenter:
            return &mediaCenter;
        case kTotalMedia:
            return &totalMedia;
        case kLumetraPanel:
            return &lumetraPanel;
        case kLumetraCenter:
            return &lumetraCenter;
        default:
            return nullptr;
    }
}

}  // namespace rc
