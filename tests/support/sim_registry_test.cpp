// The simulated desktop's registry, through the seam's calls.
#include "support/sim_desktop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win_defs.h"

namespace rc {
namespace {

// ----- Registry -------------------------------------------------------------------------

TEST(SimRegistry, QueryReportsSizesTypesAndShortBuffers) {
    SimDesktop desk;
    desk.SetRegString("SOFTWARE\\Maker\\App", "Path", "C:\\App");
    desk.SetRegDword("software\\maker\\app", "N", 9);
    Handle key = 0;
    ASSERT_EQ(
        desk.RegOpenKeyExA(win::kHkeyLocalMachine, "Software\\MAKER\\App", win::kKeyRead, &key), 0);
    EXPECT_EQ(desk.OpenRegKeyCount(), 1);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(desk.RegQueryValueExA(key, "path", &type, nullptr, &size), 0);
    EXPECT_EQ(type, win::kRegSz);
    EXPECT_EQ(size, 7u);
    std::uint8_t small[4] = {1, 2, 3, 4};
    size = sizeof small;
    EXPECT_EQ(desk.RegQueryValueExA(key, "Path", &type, small, &size), win::kErrorMoreData);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(small[0], 1);  // untouched
    char text[16];
    size = sizeof text;
    EXPECT_EQ(
        desk.RegQueryValueExA(key, "Path", &type, reinterpret_cast<std::uint8_t*>(text), &size), 0);
    EXPECT_STREQ(text, "C:\\App");
    EXPECT_EQ(size, 7u);
    std::uint32_t n = 0;
    size = 4;
    EXPECT_EQ(desk.RegQueryValueExA(key, "N", &type, reinterpret_cast<std::uint8_t*>(&n), &size),
              0);
    EXPECT_EQ(n, 9u);
    EXPECT_EQ(type, win::kRegDword);
    EXPECT_EQ(desk.RegQueryValueExA(key, "Missing", &type, nullptr, &size),
              win::kErrorFileNotFound);
    EXPECT_EQ(desk.RegQueryValueExA(key, nullptr, &type, nullptr, &size), win::kErrorFileNotFound);
    EXPECT_EQ(desk.RegCloseKey(key), 0);
    EXPECT_EQ(desk.RegCloseKey(key), win::kErrorInvalidHandle);
    EXPECT_EQ(desk.RegQueryValueExA(key, "N", &type, nullptr, &size), win::kErrorInvalidHandle);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

TEST(SimRegistry, OpenCreateAndAccessRights) {
    SimDesktop desk;
    Handle key = 0;
    EXPECT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, "A\\B", win::kKeyAllAccess, &key),
              win::kErrorFileNotFound);
    EXPECT_EQ(desk.RegOpenKeyExA(0x80000001u, "A", win::kKeyRead, &key),
              win::kErrorFileNotFound);  // HKCU
    desk.refuseAllAccess = true;
    EXPECT_EQ(desk.RegCreateKeyExA(win::kHkeyLocalMachine, "A\\B", win::kKeyAllAccess, &key),
              win::kErrorAccessDenied);
    EXPECT_FALSE(desk.RegKeyExists("A"));
    desk.refuseAllAccess = false;
    ASSERT_EQ(desk.RegCreateKeyExA(win::kHkeyLocalMachine, "A\\B", win::kKeyAllAccess, &key), 0);
    EXPECT_TRUE(desk.RegKeyExists("a"));  // intermediate keys too
    std::uint32_t v = 0x01020304;
    EXPECT_EQ(
        desk.RegSetValueExA(key, "V", win::kRegDword, reinterpret_cast<const std::uint8_t*>(&v), 4),
        0);
    EXPECT_EQ(desk.RegSetValueExA(key, nullptr, win::kRegSz,
                                  reinterpret_cast<const std::uint8_t*>("d"), 2),
              0);  // the default value
    EXPECT_EQ(desk.RegFlushKey(key), 0);
    EXPECT_EQ(desk.RegFlushCount(), 1);
    desk.RegCloseKey(key);
    EXPECT_EQ(desk.RegDword("A\\B", "v"), 0x01020304u);
    EXPECT_EQ(desk.RegValueType("A\\B", ""), win::kRegSz);

    desk.refuseAllAccess = true;
    EXPECT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, "A\\B", win::kKeyAllAccess, &key),
              win::kErrorAccessDenied);
    ASSERT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, "A\\B", win::kKeyRead, &key),
              0);  // reading still works
    EXPECT_EQ(
        desk.RegSetValueExA(key, "V", win::kRegDword, reinterpret_cast<const std::uint8_t*>(&v), 4),
        win::kErrorAccessDenied);
    desk.RegCloseKey(key);
    EXPECT_EQ(desk.RegFlushKey(0x1234), win::kErrorInvalidHandle);
    EXPECT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, "A\\B", win::kKeySetValue, &key),
              win::kErrorAccessDenied);  // any write right
    ASSERT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, "A\\B", win::kKeyRead, &key), 0);
    desk.RegCloseKey(key);
}

TEST(SimRegistry, AStandardUserMayNotWriteTheSystemsKeys) {
    SimDesktop desk;
    desk.standardUser = true;
    const char* system[] = {"SOFTWARE\\Microsoft\\Windows", "software\\microsoft\\windows\\x",
                            "SOFTWARE\\Microsoft\\Windows NT\\y", "SYSTEM\\WPA"};
    const char* other[] = {"SOFTWARE\\Microsoft\\WindowsX",
                           "SOFTWARE\\Orvalix Multimedia\\Calderin"};
    Handle key = 0;
    for (const char* path : system) {
        SCOPED_TRACE(path);
        EXPECT_EQ(desk.RegCreateKeyExA(win::kHkeyLocalMachine, path, win::kKeyRead, &key),
                  win::kErrorAccessDenied);
        desk.CreateRegKey(path);
        EXPECT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, path, win::kKeyAllAccess, &key),
                  win::kErrorAccessDenied);
        ASSERT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, path, win::kKeyRead, &key), 0);
        desk.RegCloseKey(key);
        ASSERT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, path, win::kKeyRead, &key), 0);
        EXPECT_EQ(desk.RegSetValueExA(key, "V", win::kRegSz,
                                      reinterpret_cast<const std::uint8_t*>(""), 1),
                  win::kErrorAccessDenied);
        desk.RegCloseKey(key);
    }
    for (const char* path : other) {
        SCOPED_TRACE(path);
        ASSERT_EQ(desk.RegCreateKeyExA(win::kHkeyLocalMachine, path, win::kKeyAllAccess, &key), 0);
        desk.RegCloseKey(key);
    }
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

// HKEY_CURRENT_USER is the user's own: written by any user, kept apart from
// HKEY_LOCAL_MACHINE.
TEST(SimRegistry, TheCurrentUsersHiveIsWritableByEveryUser) {
    SimDesktop desk;
    desk.refuseAllAccess = true;
    Handle key = 0;
    ASSERT_EQ(
        desk.RegCreateKeyExA(win::kHkeyCurrentUser, "Software\\Maker", win::kKeySetValue, &key), 0);
    const std::uint8_t one[4] = {1, 0, 0, 0};
    EXPECT_EQ(desk.RegSetValueExA(key, "Option", win::kRegDword, one, 4), 0);
    desk.RegCloseKey(key);
    EXPECT_EQ(desk.RegDword("HKEY_CURRENT_USER\\Software\\Maker", "Option"), 1u);
    EXPECT_EQ(desk.RegOpenKeyExA(win::kHkeyLocalMachine, "Software\\Maker", win::kKeyRead, &key),
              win::kErrorFileNotFound);
    EXPECT_EQ(
        desk.RegCreateKeyExA(win::kHkeyLocalMachine, "Software\\Maker", win::kKeySetValue, &key),
        win::kErrorAccessDenied);
    char name[64];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(desk.RegEnumKeyExA(win::kHkeyLocalMachine, 0, name, &size), win::kErrorNoMoreItems);
}

TEST(SimRegistry, SubkeysEnumerateAlphabeticallyWithTheirCase) {
    SimDesktop desk;
    desk.SetRegString("Soft\\Uninstall\\Zeta", "DisplayName", "Z");
    desk.CreateRegKey("soft\\uninstall\\alpha\\Deeper");
    desk.CreateRegKey("SOFT\\UNINSTALL\\Mid");
    Handle key = 0;
    ASSERT_EQ(
        desk.RegOpenKeyExA(win::kHkeyLocalMachine, "Soft\\Uninstall", win::kKeyAllAccess, &key), 0);
    std::vector<std::string> names;
    char name[256];
    std::uint32_t size = sizeof name;
    while (desk.RegEnumKeyExA(key, static_cast<std::uint32_t>(names.size()), name, &size) == 0) {
        EXPECT_EQ(size, std::strlen(name));
        names.push_back(name);
        size = sizeof name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Mid", "Zeta"}));
    EXPECT_EQ(desk.RegEnumKeyExA(key, 3, name, &size), win::kErrorNoMoreItems);
    size = 3;
    EXPECT_EQ(desk.RegEnumKeyExA(key, 2, name, &size), win::kErrorMoreData);
    desk.RegCloseKey(key);
    EXPECT_EQ(desk.RegEnumKeyExA(key, 0, name, &size), win::kErrorInvalidHandle);
    desk.DeleteRegKey("a");
    EXPECT_FALSE(desk.RegKeyExists("A\\B"));
}

}  // namespace
}  // namespace rc
