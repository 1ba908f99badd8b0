#include "apps/mce_presence.h"

#include <cstdio>

#include "apps/app_record.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr char kXpKey[] = "System\\WPA\\MediaCenter";
constexpr char kXpValue[] = "Installed";
constexpr char kVistaKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";
constexpr char kVistaValue[] = "Ident";
constexpr char kShellFolder[] = "\\ehome";
constexpr char kShellFile[] = "EHSHELL.EXE";
constexpr char kWindowTitle[] = "Windows Media Center";

constexpr std::uint32_t kWindowsDirectorySize = 256;
constexpr std::size_t kPathSize = 260;  // MAX_PATH
constexpr std::uint32_t kIdentSize = 256;

// Opens a key under HKEY_LOCAL_MACHINE and reads one value into a buffer of
// the given size; the key is closed again. True when both calls succeed
// (a value longer than the buffer fails the read).
bool ReadValue(System& sys, const char* keyPath, const char* name, std::uint8_t* data,
               std::uint32_t size) {
    Handle key = 0;
    // Read access only: a standard user may not write these keys.
    if (sys.os.RegOpenKeyExA(win::kHkeyLocalMachine, keyPath, win::kKeyQueryValue, &key) !=
        win::kErrorSuccess) {
        return false;
    }
    std::uint32_t type = 0;
    long result = sys.os.RegQueryValueExA(key, name, &type, data, &size);
    sys.os.RegCloseKey(key);
    return result == win::kErrorSuccess;
}

// Windows XP Media Center Edition: the activation flag says 1 and the shell's
// program is in place.
bool XpMediaCenterPresent(System& sys) {
    std::uint8_t installed[4] = {};
    if (!ReadValue(sys, kXpKey, kXpValue, installed, sizeof installed)) {
        return false;
    }
    std::uint32_t number = static_cast<std::uint32_t>(installed[0]) |
                           static_cast<std::uint32_t>(installed[1]) << 8 |
                           static_cast<std::uint32_t>(installed[2]) << 16 |
                           static_cast<std::uint32_t>(installed[3]) << 24;
    if (number != 1) {
        return false;
    }

    char windows[kWindowsDirectorySize] = {};
    std::uint32_t length = sys.os.GetWindowsDirectoryA(windows, kWindowsDirectorySize);
    // 0 is a failure; a length that does not leave room for the terminator
    // is the size the directory would need: no path can be made from it.
    if (length == 0 || length >= kWindowsDirectorySize) {
        return false;
    }
    windows[kWindowsDirectorySize - 1] = '\0';

    char folder[kPathSize];
    int n = std::snprintf(folder, sizeof folder, "%s%s", windows, kShellFolder);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof folder) {
        return false;
    }
    char path[kPathSize];
    n = std::snprintf(path, sizeof path, "%s\\%s", folder, kShellFile);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof path) {
        return false;
    }
    // A file, not a folder, at any path length the buffers allow.
    const std::uint32_t attributes = sys.os.GetFileAttributesA(path);
    return attributes != win::kInvalidFileAttributes &&
           (attributes & win::kFileAttributeDirectory) == 0;
}

}  // namespace

int IsMceInstalled(System& sys) {
    OsVersion version{};
    if (!sys.os.GetVersionExA(&version, true) && !sys.os.GetVersionExA(&version, false)) {
        return 0;
    }
    if (version.platformId != win::kVerPlatformWin32Nt) {
        return 0;
    }

    if (version.major == 5 && version.minor == 1) {
        if (!XpMediaCenterPresent(sys)) {
            return 0;
        }
        App(sys, kMediaCenter)->bInstalled = true;
        sys.bMceClassOnly = true;
        return 1;
    }

    if (version.major == 6) {
        std::uint8_t ident[kIdentSize];
        if (!ReadValue(sys, kVistaKey, kVistaValue, ident, sizeof ident)) {
            return 0;
        }
        sys.bMceClassOnly = false;
        App(sys, kMediaCenter)->bInstalled = true;
        return 1;
    }

    return 0;
}

Hwnd FindMceWindow(System& sys) {
    const char* title = sys.bMceClassOnly ? nullptr : kWindowTitle;
    return sys.os.FindWindowExA(sys.os.GetDesktopWindow(), 0, kMceWindowClass, title);
}

}  // namespace rc
