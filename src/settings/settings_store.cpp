#include "settings/settings_store.h"

#include <cstdint>

#include "platform/win_defs.h"
#include "shell/system.h"

namespace rc {

namespace {

constexpr char kDefaultTVApp[] = "DefaultTVAPP";
constexpr char kAlwaysRemoteOff[] = "AlwaysRemoteOff";
constexpr char kDefault44KeyIR[] = "Default44keyIR";
constexpr char kDbm[] = "DBM";
constexpr char kDefaultLaunchAp[] = "DefaultLaunchAp";

long OpenKey(System& sys, Handle* key) {
    return sys.os.RegOpenKeyExA(win::kHkeyLocalMachine, kSettingsKey, win::kKeyAllAccess, key);
}

long CreateKey(System& sys, Handle* key) {
    return sys.os.RegCreateKeyExA(win::kHkeyLocalMachine, kSettingsKey, win::kKeyAllAccess, key);
}

// Reads a value into a 4-byte buffer. Whatever its registry type, data of at
// most four bytes is the number (little-endian, missing high bytes zero);
// longer data, like an absent value, counts as missing.
bool ReadNumber(System& sys, Handle key, const char* name, std::uint32_t* number) {
    std::uint8_t data[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    if (sys.os.RegQueryValueExA(key, name, &type, data, &size) != win::kErrorSuccess) {
        return false;
    }
    *number = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
              static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    return true;
}

void WriteNumber(System& sys, Handle key, const char* name, std::uint32_t number) {
    const std::uint8_t data[4] = {
        static_cast<std::uint8_t>(number),
        static_cast<std::uint8_t>(number >> 8),
        static_cast<std::uint8_t>(number >> 16),
        static_cast<std::uint8_t>(number >> 24),
    };
    sys.os.RegSetValueExA(key, name, win::kRegDword, data, sizeof data);
}

// Writes a number, flushes, and gives up: a save never creates a value.
int SaveNumber(System& sys, const char* name, std::uint32_t number) {
    Handle key = 0;
    if (OpenKey(sys, &key) != win::kErrorSuccess) {
        return 0;
    }
    std::uint32_t old = 0;
    if (!ReadNumber(sys, key, name, &old)) {
        sys.os.RegCloseKey(key);
        return 0;
    }
    WriteNumber(sys, key, name, number);
    sys.os.RegFlushKey(key);
    sys.os.RegCloseKey(key);
    return 1;
}

}  // namespace

int LoadSettings(System& sys) {
    Platform& os = sys.os;
    Handle key = 0;
    if (OpenKey(sys, &key) != win::kErrorSuccess) {
        // First start on this machine: create the key with the two values
        // the rest of the start needs; nothing is read.
        if (CreateKey(sys, &key) != win::kErrorSuccess) {
            return 0;
        }
        WriteNumber(sys, key, kDefaultTVApp, sys.nCurRemoteTV);
        WriteNumber(sys, key, kAlwaysRemoteOff, 0);
        os.RegFlushKey(key);
        os.RegCloseKey(key);
        return 1;
    }

    std::uint32_t number = 0;
    if (ReadNumber(sys, key, kDefaultTVApp, &number)) {
        sys.nCurRemoteTV = number;
    } else {
        WriteNumber(sys, key, kDefaultTVApp, sys.nCurRemoteTV);
        os.RegFlushKey(key);
    }

    if (ReadNumber(sys, key, kAlwaysRemoteOff, &number)) {
        sys.alwaysRemoteOff = number == 1;
    } else {
        WriteNumber(sys, key, kAlwaysRemoteOff, 0);
        os.RegFlushKey(key);
    }

    if (ReadNumber(sys, key, kDefault44KeyIR, &number)) {
        sys.nIRKEYType = number;
    } else {
        // Stored for the next start; this run keeps its layout.
        WriteNumber(sys, key, kDefault44KeyIR, 0);
        os.RegFlushKey(key);
    }

    if (ReadNumber(sys, key, kDbm, &number)) {
        sys.traceOn = number == 1;
    } else {
        // DBM is never created.
        os.RegFlushKey(key);
    }

    os.RegCloseKey(key);
    return 1;
}

int LoadLaunchSetting(System& sys) {
    Platform& os = sys.os;
    Handle key = 0;
    if (OpenKey(sys, &key) == win::kErrorSuccess) {
        std::uint32_t number = 0;
        if (ReadNumber(sys, key, kDefaultLaunchAp, &number)) {
            sys.bLaunchap = number == 1 ? 1 : 0;
            os.RegCloseKey(key);
            return 1;
        }
        WriteNumber(sys, key, kDefaultLaunchAp, sys.bLaunchap);
    } else {
        if (CreateKey(sys, &key) != win::kErrorSuccess) {
            return 0;
        }
        WriteNumber(sys, key, kDefaultLaunchAp, 0);
    }
    os.RegFlushKey(key);
    os.RegCloseKey(key);
    return 1;
}

int SaveDefaultTVApp(System& sys) {
    return SaveNumber(sys, kDefaultTVApp, sys.nCurRemoteTV);
}

int SaveLaunchSetting(System& sys) {
    return SaveNumber(sys, kDefaultLaunchAp, sys.bLaunchap ? 1 : 0);
}

}  // namespace rc
