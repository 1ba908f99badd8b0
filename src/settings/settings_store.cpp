#include "settings/settings_store.h"

#include "shell/system.h"

namespace rc {

int LoadSettings(System&) {
    return 0;
}
int LoadLaunchSetting(System&) {
    return 0;
}
int SaveDefaultTVApp(System&) {
    return 0;
}
int SaveLaunchSetting(System&) {
    return 0;
}

}  // namespace rc
