#include "apps/mce_presence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim_desktop.h"
#include "platform/win_defs.h"
#include "shell/system.h"

namespace rc {
namespace {

const std::string kXpKey = "System\\WPA\\MediaCenter";
const std::string kVistaKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

class MceTest : public ::testing::Test {
  protected:
    void Xp() {
        desk.version = OsVersion{5, 1, 2600, win::kVerPlatformWin32Nt};
        desk.SetRegDword(kXpKey, "Installed", 1);
        desk.AddFile("C:\\windows\\ehome\\EHSHELL.EXE");
    }
    void Vista(std::uint32_t minor = 0) {
        desk.version = OsVersion{6, minor, 6000, win::kVerPlatformWin32Nt};
        desk.SetRegString(kVistaKey, "Ident", "5.0");
    }
    // Present: the installed mark and bMceClassOnly as given, keys closed.
    void ExpectPresent(std::int32_t classOnly) {
        EXPECT_EQ(IsMceInstalled(sys), 1);
        EXPECT_EQ(sys.bMceClassOnly, classOnly);
        EXPECT_EQ(sys.mediaCenter.bInstalled, 1);
        EXPECT_EQ(desk.OpenRegKeyCount(), 0);
    }
    // Absent: nothing written, whatever was there before.
    void ExpectAbsent() {
        sys.bMceClassOnly = 7;
        sys.mediaCenter.bInstalled = 0;
        EXPECT_EQ(IsMceInstalled(sys), 0);
        EXPECT_EQ(sys.bMceClassOnly, 7);
        EXPECT_EQ(sys.mediaCenter.bInstalled, 0);
        EXPECT_EQ(desk.OpenRegKeyCount(), 0);
    }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(MceTest, XpWithTheFlagAndTheShellIsPresentByClassAlone) {
    Xp();
    ExpectPresent(1);
    Hwnd mce = desk.AddWindow("eHome Render Window", "Something else");
    EXPECT_EQ(FindMceWindow(sys), mce);
}

TEST_F(MceTest, XpFlagOtherThanOneIsAbsent) {
    Xp();
    desk.SetRegDword(kXpKey, "Installed", 2);
    ExpectAbsent();
    desk.SetRegDword(kXpKey, "Installed", 0);
    ExpectAbsent();
    desk.SetRegString(kXpKey, "Installed", "1");  // the text "1" is not the number 1
    ExpectAbsent();
}

TEST_F(MceTest, XpFlagOfAnyTypeWithinFourBytes) {
    Xp();
    desk.SetRegBinary(kXpKey, "Installed", {1});
    ExpectPresent(1);
    desk.SetRegBinary(kXpKey, "Installed", {1, 0, 0, 0, 0});
    ExpectAbsent();
}

TEST_F(MceTest, XpWithoutFlagKeyOrShellIsAbsent) {
    Xp();
    desk.RemoveFile("C:\\windows\\ehome\\EHSHELL.EXE");
    ExpectAbsent();
    desk.AddFile("C:\\windows\\ehome\\EHSHELL.EXE");
    desk.DeleteRegValue(kXpKey, "Installed");
    ExpectAbsent();
    desk.DeleteRegKey(kXpKey);
    ExpectAbsent();
}

TEST_F(MceTest, XpShellIsLookedForInTheWindowsDirectory) {
    Xp();
    desk.windowsDirectory = "D:\\WINNT";
    ExpectAbsent();
    desk.AddFile("D:\\WINNT\\ehome\\EHSHELL.EXE");
    ExpectPresent(1);
}

TEST_F(MceTest, XpWindowsDirectoryTooLongForItsBufferIsAbsent) {
    Xp();
    for (std::size_t length : {255u, 256u, 300u, 1000u}) {
        SCOPED_TRACE(length);
        desk.windowsDirectory = "C:\\" + std::string(length - 3, 'w');
        desk.AddFile(desk.windowsDirectory + "\\ehome\\EHSHELL.EXE");
        ExpectAbsent();
    }
}

TEST_F(MceTest, XpLongestWindowsDirectoryThatFitsAPath) {
    Xp();
    // 241 characters + "\ehome" + "\EHSHELL.EXE" = 259, the longest path.
    desk.windowsDirectory = "C:\\" + std::string(238, 'w');
    desk.AddFile(desk.windowsDirectory + "\\ehome\\EHSHELL.EXE");
    ExpectPresent(1);
    desk.windowsDirectory += "w";
    desk.AddFile(desk.windowsDirectory + "\\ehome\\EHSHELL.EXE");
    ExpectAbsent();
}

TEST_F(MceTest, VistaAndLaterWithAnyIdentIsPresentByClassAndTitle) {
    sys.bMceClassOnly = 1;
    Vista();
    ExpectPresent(0);
    desk.SetRegDword(kVistaKey, "Ident", 0);
    ExpectPresent(0);
    desk.SetRegBinary(kVistaKey, "Ident", std::vector<std::uint8_t>(256, 0xAB));
    ExpectPresent(0);
    desk.SetRegBinary(kVistaKey, "Ident", {}, win::kRegNone);
    ExpectPresent(0);
    for (std::uint32_t minor : {1u, 2u, 3u}) {
        desk.version.minor = minor;
        ExpectPresent(0);
    }
}

TEST_F(MceTest, VistaIdentLongerThan256BytesIsAbsent) {
    Vista();
    desk.SetRegBinary(kVistaKey, "Ident", std::vector<std::uint8_t>(257, 1));
    ExpectAbsent();
    desk.SetRegString(kVistaKey, "Ident", std::string(300, 'x'));
    ExpectAbsent();
}

TEST_F(MceTest, VistaWithoutIdentOrKeyIsAbsent) {
    Vista();
    desk.DeleteRegValue(kVistaKey, "Ident");
    ExpectAbsent();
    desk.DeleteRegKey(kVistaKey);
    ExpectAbsent();
}

TEST_F(MceTest, RefusedAllAccessIsAbsent) {
    Vista();
    desk.refuseAllAccess = true;
    ExpectAbsent();
    Xp();
    ExpectAbsent();
}

TEST_F(MceTest, OtherVersionsAreAbsentWithEverythingInPlace) {
    Xp();
    Vista();
    const std::pair<std::uint32_t, std::uint32_t> versions[] = {
        {4, 0}, {5, 0}, {5, 2}, {7, 0}, {10, 0}};
    for (auto [major, minor] : versions) {
        SCOPED_TRACE(major * 10 + minor);
        desk.version.major = major;
        desk.version.minor = minor;
        ExpectAbsent();
    }
}

TEST_F(MceTest, WindowsNineXIsAbsent) {
    Xp();
    desk.version.platformId = win::kVerPlatformWin32Windows;
    ExpectAbsent();
    Vista();
    desk.version.platformId = win::kVerPlatformWin32Windows;
    ExpectAbsent();
}

TEST_F(MceTest, VersionQueryFallsBackToTheBasicRecord) {
    Vista();
    desk.failVersionEx = true;
    ExpectPresent(0);
    desk.failVersionBasic = true;
    ExpectAbsent();
}

TEST_F(MceTest, WindowNeedsTheTitleUntilClassOnlyIsSet) {
    Hwnd other = desk.AddWindow("eHome Render Window", "Media Player");
    EXPECT_EQ(FindMceWindow(sys), 0u);
    Hwnd mce = desk.AddWindow("eHome Render Window", "Windows Media Center");
    EXPECT_EQ(FindMceWindow(sys), mce);
    sys.bMceClassOnly = 1;
    EXPECT_EQ(FindMceWindow(sys), other);  // the first window of the class
    desk.RemoveWindow(other);
    desk.RemoveWindow(mce);
    desk.AddWindow("Other Class", "Windows Media Center");
    EXPECT_EQ(FindMceWindow(sys), 0u);
}

TEST_F(MceTest, VistaFindsOnlyTheTitledWindow) {
    Vista();
    ASSERT_EQ(IsMceInstalled(sys), 1);
    desk.AddWindow("eHome Render Window", "Other");
    EXPECT_EQ(FindMceWindow(sys), 0u);
}

}  // namespace
}  // namespace rc
