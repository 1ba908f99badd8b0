#include "settings/settings_store.h"

#include <cstdint>
#include <string>

#include "core/debug_trace.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr char kDefaultTVApp[] = "DefaultTVAPP";
constexpr char kAlwaysRemoteOff[] = "AlwaysRemoteOff";
constexpr char kDefault44KeyIR[] = "Default44keyIR";
constexpr char kDbm[] = "DBM";
constexpr char kDefaultLaunchAp[] = "DefaultLaunchAp";

// The key is opened for reading to load; write access is asked only around a
// write. A user who may read HKEY_LOCAL_MACHINE but not write it (a limited
// user whose writes Windows does not virtualise) still gets the settings an
// administrator stored.
constexpr std::uint32_t kWriteAccess = win::kKeySetValue;
constexpr std::uint32_t kCreateAccess = win::kKeySetValue | win::kKeyCreateSubKey;

long OpenKey(System& sys, Handle* key) {
    return sys.os.RegOpenKeyExA(win::kHkeyLocalMachine, kSettingsKey, win::kKeyQueryValue, key);
}

// A write the registry refused: traced, and nothing else changes.
void TraceRefusedWrite(System& sys, const char* name, long result) {
    std::string text = "Can't save ";
    text += name;
    DebugTrace(sys, text.c_str(), static_cast<std::uint32_t>(result));
}

// First start: the key is made, with write access to its values.
long CreateKey(System& sys, Handle* key) {
    long result = sys.os.RegCreateKeyExA(win::kHkeyLocalMachine, kSettingsKey, kCreateAccess, key);
    if (result != win::kErrorSuccess) {
        TraceRefusedWrite(sys, kSettingsKey, result);
    }
    return result;
}

// One value written and flushed, with write access asked for this write
// alone. True when it was written.
bool StoreNumber(System& sys, const char* name, std::uint32_t number) {
    Handle key = 0;
    long result = sys.os.RegOpenKeyExA(win::kHkeyLocalMachine, kSettingsKey, kWriteAccess, &key);
    if (result != win::kErrorSuccess) {
        TraceRefusedWrite(sys, name, result);
        return false;
    }
    bool written = WriteNumber(sys, key, name, number);
    sys.os.RegFlushKey(key);
    sys.os.RegCloseKey(key);
    return written;
}

// A save writes only a value that exists: it never creates one.
int SaveNumber(System& sys, const char* name, std::uint32_t number) {
    Handle key = 0;
    if (OpenKey(sys, &key) != win::kErrorSuccess) {
        return 0;
    }
    std::uint32_t old = 0;
    bool present = ReadNumber(sys, key, name, &old);
    sys.os.RegCloseKey(key);
    if (!present) {
        return 0;
    }
    return StoreNumber(sys, name, number) ? 1 : 0;
}

}  // namespace

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

bool WriteNumber(System& sys, Handle key, const char* name, std::uint32_t number) {
    const std::uint8_t data[4] = {
        static_cast<std::uint8_t>(number),
        static_cast<std::uint8_t>(number >> 8),
        static_cast<std::uint8_t>(number >> 16),
        static_cast<std::uint8_t>(number >> 24),
    };
    long result = sys.os.RegSetValueExA(key, name, win::kRegDword, data, sizeof data);
    if (result != win::kErrorSuccess) {
        TraceRefusedWrite(sys, name, result);
    }
    return result == win::kErrorSuccess;
}

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
        StoreNumber(sys, kDefaultTVApp, sys.nCurRemoteTV);
    }

    if (ReadNumber(sys, key, kAlwaysRemoteOff, &number)) {
        sys.alwaysRemoteOff = number == 1;
    } else {
        StoreNumber(sys, kAlwaysRemoteOff, 0);
    }

    if (ReadNumber(sys, key, kDefault44KeyIR, &number)) {
        sys.nIRKEYType = number;
    } else {
        // Stored for the next start; this run keeps its layout.
        StoreNumber(sys, kDefault44KeyIR, 0);
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
        bool present = ReadNumber(sys, key, kDefaultLaunchAp, &number);
        os.RegCloseKey(key);
        if (present) {
            sys.bLaunchap = number == 1 ? 1 : 0;
        } else {
            StoreNumber(sys, kDefaultLaunchAp, sys.bLaunchap);
        }
        return 1;
    }
    if (CreateKey(sys, &key) != win::kErrorSuccess) {
        return 0;
    }
    WriteNumber(sys, key, kDefaultLaunchAp, 0);
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
