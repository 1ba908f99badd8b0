// The five settings under HKEY_LOCAL_MACHINE "SOFTWARE\Orvalix Multimedia\Calderin".
#pragma once

namespace rc {

struct System;

constexpr const char* kSettingsKey = "SOFTWARE\\Orvalix Multimedia\\Calderin";

int LoadSettings(System& sys);
int LoadLaunchSetting(System& sys);
int SaveDefaultTVApp(System& sys);
int SaveLaunchSetting(System& sys);

}  // namespace rc
