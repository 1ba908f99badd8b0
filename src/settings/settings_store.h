// The five settings under HKEY_LOCAL_MACHINE "SOFTWARE\Orvalix Multimedia\Calderin".
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

constexpr const char* kSettingsKey = "SOFTWARE\\Orvalix Multimedia\\Calderin";

int LoadSettings(System& sys);

// A registry value as a number: whatever its type, data of at most four
// bytes (little-endian, missing high bytes zero); longer data, like an
// absent value, counts as missing.
bool ReadNumber(System& sys, Handle key, const char* name, std::uint32_t* number);
// A REG_DWORD written through a key opened for writing; a refusal is traced
// ("Can't save NAME").
bool WriteNumber(System& sys, Handle key, const char* name, std::uint32_t number);
int LoadLaunchSetting(System& sys);
int SaveDefaultTVApp(System& sys);
int SaveLaunchSetting(System& sys);

}  // namespace rc
