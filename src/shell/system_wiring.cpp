// Building and taking down the System. The state is declared on the ground
// (core/system.h); its construction wires every subsystem in its order, so it
// is defined here, on top of them all.
#include "core/system.h"

#include "apps/switching.h"
#include "apps/target_app.h"
#include "apps/user_apps.h"
#include "core/timer_slots.h"
#include "keys/poll.h"
#include "receiver/receiver.h"
#include "shell/key_maps.h"
#include "shell/monitor.h"
#include "shell/press_views.h"
#include "shell/tray_tip.h"

namespace rc {

namespace {

// A stick the watchdog has brought back launches the current application when
// the settings ask for it (DefaultLaunchAp 1).
void LaunchWhenReceiverBack(System& sys) {
    if (sys.bLaunchap == 1) {
        AutoLaunchCurrentApp(sys);
    }
}

}  // namespace

System::System(Platform& platform)
    : os(platform),
      userApps(std::make_unique<UserApps>()),
      monitor(std::make_unique<ButtonMonitor>()),
      keyMaps(std::make_unique<KeyMapsDialog>()) {
    // The order in which the process-wide objects come to life: five
    // application records, the three timer slots, then Pallamo's record.
    DiscoverAppsBeforeTimers(*this);
    ConstructTimerSlot(gpioTimer, kGpioTimerId, OnGpioTimer);
    ConstructTimerSlot(appWatchTimer, kAppWatchTimerId, OnAppWatchTimer);
    ConstructTimerSlot(chkUsbTimer, kChkUsbTimerId, OnChkUsbTimer);
    DiscoverAppsAfterTimers(*this);
    onReceiverBack = LaunchWhenReceiverBack;
    onPressDone = ShowPress;
    takePress = TakeKeyMapsPress;
    onReceiverChange = RefreshTrayTip;
}

System::~System() {
    DestroyTimerSlots(*this);
}

}  // namespace rc
