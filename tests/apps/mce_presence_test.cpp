#include "apps/mce_presence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/app_record.h"
#include "apps/target_app.h"
#include "core/system.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"
#include "platform/win_defs.h"

namespace rc {
namespace {

const std::string kXpKey = "System\\WPA\\MediaCenter";
const std::string kVistaKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";
const std::string kShell = "\\ehome\\EHSHELL.EXE";

class MceTest : public ::testing::Test {
  protected:
    void Xp() {
        desk.version = OsVersion{5, 1, 2600, win::kVerPlatformWin32Nt};
        desk.SetRegDword(kXpKey, "Installed", 1);
        desk.AddFile("C:\\windows" + kShell);
    }
    void Vista() {
        desk.version = OsVersion{6, 0, 6000, win::kVerPlatformWin32Nt};
        desk.SetRegString(kVistaKey, "Ident", "5.0");
    }
    // Present: the installed mark and the window rule set, keys closed.
    void ExpectPresent(bool classOnly) {
        sys.bMceClassOnly = !classOnly;
        App(sys, kMediaCenter)->bInstalled = false;
        EXPECT_EQ(IsMceInstalled(sys), 1);
        EXPECT_EQ(sys.bMceClassOnly, classOnly);
        EXPECT_TRUE(App(sys, kMediaCenter)->bInstalled);
        EXPECT_EQ(desk.OpenRegKeyCount(), 0);
    }
    // Absent: nothing written, whatever the window rule was.
    void ExpectAbsent() {
        for (bool classOnly : {false, true}) {
            sys.bMceClassOnly = classOnly;
            App(sys, kMediaCenter)->bInstalled = false;
            EXPECT_EQ(IsMceInstalled(sys), 0);
            EXPECT_EQ(sys.bMceClassOnly, classOnly);
            EXPECT_FALSE(App(sys, kMediaCenter)->bInstalled);
            EXPECT_EQ(desk.OpenRegKeyCount(), 0);
        }
    }
    SimDesktop desk;
    System sys{desk};
};

TEST_F(MceTest, XpNeedsTheFlagOneAndTheShellProgram) {
    Xp();
    ExpectPresent(true);
    desk.SetRegBinary(kXpKey, "Installed", {1});  // any type of at most four bytes
    ExpectPresent(true);
    for (std::uint32_t other : {0u, 2u, 0x101u}) {
        desk.SetRegDword(kXpKey, "Installed", other);
        ExpectAbsent();
    }
    desk.SetRegString(kXpKey, "Installed", "1");  // the text "1" is not the number 1
    ExpectAbsent();
    desk.SetRegBinary(kXpKey, "Installed", {1, 0, 0, 0, 0});
    ExpectAbsent();
    desk.DeleteRegValue(kXpKey, "Installed");
    ExpectAbsent();
    desk.SetRegDword(kXpKey, "Installed", 1);
    desk.RemoveFile("C:\\windows" + kShell);
    ExpectAbsent();
    desk.windowsDirectory = "D:\\WINNT";
    desk.AddFile("D:\\WINNT" + kShell);
    ExpectPresent(true);
}

TEST_F(MceTest, XpWindowsDirectoryTooLongForThePathIsAbsent) {
    Xp();
    // 241 characters + "\ehome\EHSHELL.EXE" is the longest path (259).
    desk.windowsDirectory = "C:\\" + std::string(238, 'w');
    desk.AddFile(desk.windowsDirectory + kShell);
    ExpectPresent(true);
    for (std::size_t length : {242u, 255u, 256u, 300u, 1000u}) {
        SCOPED_TRACE(length);
        desk.windowsDirectory = "C:\\" + std::string(length - 3, 'w');
        desk.AddFile(desk.windowsDirectory + kShell);
        ExpectAbsent();
    }
}

TEST_F(MceTest, VistaAndLaterWithAnIdentOfAnyTypeWithin256Bytes) {
    Vista();
    ExpectPresent(false);
    desk.SetRegDword(kVistaKey, "Ident", 0);
    ExpectPresent(false);
    desk.SetRegBinary(kVistaKey, "Ident", std::vector<std::uint8_t>(256, 0xAB));
    ExpectPresent(false);
    desk.SetRegBinary(kVistaKey, "Ident", {}, win::kRegNone);
    for (std::uint32_t minor : {1u, 2u, 3u}) {
        desk.version.minor = minor;
        ExpectPresent(false);
    }
    desk.SetRegBinary(kVistaKey, "Ident", std::vector<std::uint8_t>(257, 1));
    ExpectAbsent();
    desk.SetRegString(kVistaKey, "Ident", std::string(300, 'x'));
    ExpectAbsent();
    desk.DeleteRegValue(kVistaKey, "Ident");
    ExpectAbsent();
    desk.DeleteRegKey(kVistaKey);
    ExpectAbsent();
}

TEST_F(MceTest, OtherVersionsAndPlatformsAreAbsent) {
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
    for (std::uint32_t major : {5u, 6u}) {
        desk.version = OsVersion{major, 1, 0, win::kVerPlatformWin32Windows};
        ExpectAbsent();
    }
}

TEST_F(MceTest, AStandardUserFindsAndLaunchesIt) {
    desk.standardUser = true;  // may read the keys, not write them
    Xp();
    ExpectPresent(true);
    Vista();
    ExpectPresent(false);
    sys.nCurRemoteTV = kMediaCenter;
    LaunchApp(sys, kMediaCenter);
    ASSERT_EQ(desk.Events(SimEvent::Kind::ShellExecute).size(), 1u);
    EXPECT_EQ(desk.Events(SimEvent::Kind::ShellExecute)[0].text, "C:\\windows\\ehome\\ehshell.exe");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::MessageBox).empty());
}

TEST_F(MceTest, VersionQueryFallsBackToTheBasicRecord) {
    Vista();
    desk.failVersionEx = true;
    ExpectPresent(false);
    desk.failVersionBasic = true;
    ExpectAbsent();
}

TEST_F(MceTest, WindowNeedsTheTitleUnlessFoundOnXp) {
    Hwnd other = desk.AddWindow("eHome Render Window", "Media Player");
    desk.AddWindow("Other Class", "Windows Media Center");
    EXPECT_EQ(FindMceWindow(sys), 0u);
    Hwnd mce = test::OpenAppWindow(desk, kMediaCenter);
    EXPECT_EQ(FindMceWindow(sys), mce);
    Xp();
    ASSERT_EQ(IsMceInstalled(sys), 1);
    EXPECT_EQ(FindMceWindow(sys), other);  // the first window of the class
    Vista();
    ASSERT_EQ(IsMceInstalled(sys), 1);
    EXPECT_EQ(FindMceWindow(sys), mce);
}

}  // namespace
}  // namespace rc
