#include "apps/target_app.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"
#include "platform/win_defs.h"

namespace rc {
namespace {

constexpr const char* kPowerCinemaKey = "SOFTWARE\\CyberLink\\PowerCinema";
constexpr const char* kPallamoKey = "Software\\Orvalix Multimedia\\Nurvel";
constexpr const char* kTotalMediaKey = "SOFTWARE\\ArcSoft\\TotalMedia\\3.0";
constexpr const char* kPanelKey = "Software\\Orvalix Multimedia\\Corvane\\Sorvane";
constexpr const char* kCenterKey = "Software\\Orvalix Multimedia\\Halvex\\Sorvane";
constexpr const char* kAmbrelKey = "Software\\Orvalix Multimedia\\Ambrel\\Sorvane";
constexpr const char* kMceIdentKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";
constexpr const char* kLumetraClass = "OrvalixMainPanel_Class";
constexpr const char* kTmClass = "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS";
constexpr const char* kLaunchFailed = "Can't launch TV application what you want.";

class TargetAppTest : public ::testing::Test {
  protected:
    void InstallAll() { test::InstallAllApps(desk); }
    System& Start() {
        sys = std::make_unique<System>(desk);
        mainWindow = desk.AddWindow("Remote Control", "Remote Control", false);
        BindTimerSlots(*sys, mainWindow);
        return *sys;
    }
    std::vector<std::string> Launched() const {
        std::vector<std::string> files;
        for (const SimEvent& e : desk.Events(SimEvent::Kind::ShellExecute)) {
            files.push_back(e.text);
        }
        return files;
    }
    std::vector<SimEvent> Boxes() const { return desk.Events(SimEvent::Kind::MessageBox); }
    bool WatchArmed() const { return desk.TimerArmed(mainWindow, kAppWatchTimerId); }

    SimDesktop desk;
    std::unique_ptr<System> sys;
    Hwnd mainWindow = 0;
};

using Files = std::vector<std::string>;

// ---- Discovery ----------------------------------------------------------

TEST_F(TargetAppTest, DiscoveryFillsEveryRecordFromItsPrimaryKey) {
    InstallAll();
    desk.SetRegString(kAmbrelKey, "AppPath", "C:\\Ambrel");  // not needed, not used
    System& s = Start();
    struct {
        TargetApp* app;
        const char *dir, *exe, *cls, *title;
    } expected[] = {
        {App(s, kPowerCinema), "C:\\PC", "PowerCinema.exe", "", "PowerCinema"},
        {App(s, kPallamo), "C:\\Pallamo", "Quillet.exe", "", "Tessaryn"},
        {App(s, kMediaCenter), "C:\\windows\\ehome\\ehshell.exe", "", "eHome Render Window",
         "eHome Render Window"},
        {App(s, kTotalMedia), "C:\\TM", "TotalMedia.exe", kTmClass, "ArcSoft TotalMedia"},
        {App(s, kLumetraPanel), "C:\\Panel", "MainPanel.exe", kLumetraClass, "Mirvo"},
        {App(s, kLumetraCenter), "C:\\Center", "MainCenter.exe", kLumetraClass, "Lumetra Center"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.title);
        EXPECT_EQ(e.app->bInstalled, 1);
        EXPECT_EQ(e.app->bLaunched, 0);
        EXPECT_STREQ(e.app->szInstallDir, e.dir);
        EXPECT_STREQ(e.app->szExeName, e.exe);
        EXPECT_STREQ(e.app->szClassName, e.cls);
        EXPECT_STREQ(e.app->szWindowName, e.title);
    }
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

TEST_F(TargetAppTest, OnlyTheTwoLumetraRecordsFallBackToTheAmbrelKey) {
    desk.SetRegString(kAmbrelKey, "AppPath", "C:\\Ambrel");
    desk.CreateRegKey(kPanelKey);  // the key without its value
    System& s = Start();
    EXPECT_STREQ(App(s, kLumetraCenter)->szInstallDir, "C:\\Ambrel");
    EXPECT_STREQ(App(s, kLumetraCenter)->szExeName, "MainCenter.exe");
    EXPECT_STREQ(App(s, kLumetraPanel)->szInstallDir, "C:\\Ambrel");
    EXPECT_STREQ(App(s, kLumetraPanel)->szExeName, "MainPanel.exe");
    EXPECT_EQ(App(s, kLumetraPanel)->bInstalled + App(s, kLumetraCenter)->bInstalled, 2);
    for (TargetApp* app :
         {App(s, kTotalMedia), App(s, kPowerCinema), App(s, kPallamo), App(s, kMediaCenter)}) {
        EXPECT_EQ(app->bInstalled, 0);
    }
    // Class and title are filled whatever discovery found.
    EXPECT_STREQ(App(s, kTotalMedia)->szClassName, kTmClass);
    EXPECT_STREQ(App(s, kTotalMedia)->szWindowName, "ArcSoft TotalMedia");
}

TEST_F(TargetAppTest, InstallPathMustFitItsBufferWithItsNul) {
    desk.SetRegString(kPowerCinemaKey, "InstallPath", std::string(127, 'p'));  // 128 with NUL
    desk.SetRegString(kPallamoKey, "AppPath", std::string(128, 'q'));          // 129 with NUL
    // Text without its NUL: 128 bytes leave no room for one, 10 bytes do.
    desk.SetRegBinary(kTotalMediaKey, "AppPath", std::vector<std::uint8_t>(128, 'x'), win::kRegSz);
    desk.SetRegBinary(kCenterKey, "AppPath", std::vector<std::uint8_t>(10, 'y'), win::kRegSz);
    // Other types are taken as text up to their first NUL.
    desk.SetRegDword(kPanelKey, "AppPath", 0x00434241);
    System& s = Start();
    EXPECT_EQ(std::string(App(s, kPowerCinema)->szInstallDir), std::string(127, 'p'));
    EXPECT_EQ(App(s, kPallamo)->bInstalled, 0);
    EXPECT_EQ(App(s, kTotalMedia)->bInstalled, 0);
    EXPECT_EQ(std::string(App(s, kLumetraCenter)->szInstallDir), std::string(10, 'y'));
    EXPECT_STREQ(App(s, kLumetraPanel)->szInstallDir, "ABC");
    EXPECT_EQ(App(s, kPowerCinema)->bInstalled + App(s, kLumetraCenter)->bInstalled +
                  App(s, kLumetraPanel)->bInstalled,
              3);

    // A failed read clears bInstalled only; a good one clears bLaunched too.
    App(s, kLumetraPanel)->bLaunched = 1;
    EXPECT_EQ(ReadAppRegistry(s, *App(s, kLumetraPanel), "Software\\Nowhere", "AppPath", "x.exe"),
              0);
    EXPECT_EQ(App(s, kLumetraPanel)->bInstalled, 0);
    EXPECT_EQ(App(s, kLumetraPanel)->bLaunched, 1);
    EXPECT_EQ(ReadAppRegistry(s, *App(s, kLumetraPanel), kCenterKey, "AppPath", "x.exe"), 1);
    EXPECT_EQ(App(s, kLumetraPanel)->bLaunched, 0);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

// ---- LaunchApp ----------------------------------------------------------

class LaunchResultTest : public TargetAppTest,
                         public ::testing::WithParamInterface<std::intptr_t> {};

TEST_P(LaunchResultTest, OnlyResultsAbove32AreSuccess) {
    InstallAll();
    System& s = Start();
    desk.shellExecuteResult = GetParam();
    const bool success = GetParam() > 32;
    for (int before : {0, 1}) {
        desk.ClearLog();
        App(s, kLumetraPanel)->bLaunched = before;
        EXPECT_EQ(LaunchApp(s, kLumetraPanel), 0u);
        auto launches = desk.Events(SimEvent::Kind::ShellExecute);
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].text, "C:\\Panel\\MainPanel.exe");
        EXPECT_EQ(launches[0].text2, "open|remote");
        EXPECT_EQ(launches[0].a, win::kSwShow);
        EXPECT_EQ(App(s, kLumetraPanel)->bLaunched, success ? 1 : before);
        ASSERT_EQ(Boxes().size(), success ? 0u : 1u);
        if (!success) {
            EXPECT_EQ(Boxes()[0].hwnd, 0u);
            EXPECT_EQ(Boxes()[0].text, kLaunchFailed);
            EXPECT_EQ(Boxes()[0].text2, "Remote Control");
            EXPECT_EQ(Boxes()[0].a, win::kMbOk);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Results, LaunchResultTest, ::testing::Values(0, 31, 32, 33, 42));

TEST_F(TargetAppTest, LaunchLooksForTheWindowBeforeAndAfter) {
    InstallAll();
    System& s = Start();
    Hwnd tm = desk.AddWindow("AnyClass", "Arcsoft TotalMedia");
    EXPECT_EQ(LaunchApp(s, kTotalMedia), tm);  // by title alone, nothing started
    Hwnd made = 0;
    desk.onShellExecute = [&](const std::string&, const std::string&) {
        made = test::OpenAppWindow(desk, kLumetraCenter);
    };
    EXPECT_EQ(LaunchApp(s, kLumetraCenter), made);
    App(s, kPowerCinema)->bInstalled = 0;
    EXPECT_EQ(LaunchApp(s, kPowerCinema), 0u);
    EXPECT_EQ(Launched(), (Files{"C:\\Center\\MainCenter.exe"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TargetAppTest, OnlyMediaCenterIsStartedFromTheWindowsDirectory) {
    InstallAll();
    System& s = Start();
    s.nCurRemoteTV = kMediaCenter;
    LaunchApp(s, kPowerCinema);
    desk.SetRegString(kMceIdentKey, "Ident", "5.0");
    LaunchApp(s, kPowerCinema);  // Media Center current and present: still its own path
    LaunchApp(s, kMediaCenter);
    desk.windowsDirectory = "D:\\Win";
    s.nCurRemoteTV = kLumetraCenter;
    LaunchApp(s, kMediaCenter);  // not yet the current one (the tray menu's switch)
    EXPECT_EQ(Launched(),
              (Files{"C:\\PC\\PowerCinema.exe", "C:\\PC\\PowerCinema.exe",
                     "C:\\windows\\ehome\\ehshell.exe", "D:\\Win\\ehome\\ehshell.exe"}));

    // A Windows directory that leaves no room for the rest: a failed launch.
    App(s, kMediaCenter)->bLaunched = 0;
    desk.windowsDirectory = "C:\\" + std::string(240, 'w');
    desk.ClearLog();
    LaunchApp(s, kMediaCenter);
    EXPECT_TRUE(Launched().empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kLaunchFailed);
    EXPECT_EQ(App(s, kMediaCenter)->bLaunched, 0);
}

// ---- ActivateOrLaunchApp ------------------------------------------------

TEST_F(TargetAppTest, ActivateOrLaunch) {
    InstallAll();
    System& s = Start();
    Hwnd pc = test::OpenAppWindow(desk, kPowerCinema);
    Hwnd pallamo = test::OpenAppWindow(desk, kPallamo);
    test::OpenAppWindow(desk, kLumetraCenter);
    // Found as the key router finds them: running copies are activated.
    EXPECT_EQ(ActivateOrLaunchApp(s, kPowerCinema), pc);
    EXPECT_EQ(ActivateOrLaunchApp(s, kPallamo), pallamo);
    EXPECT_EQ(test::Script(desk), "fg:PowerCinema active:PowerCinema fg:Tessaryn active:Tessaryn");
    EXPECT_TRUE(Launched().empty());
    // The other Lumetra application's window is not the panel's.
    EXPECT_EQ(ActivateOrLaunchApp(s, kLumetraPanel), 0u);
    EXPECT_EQ(Launched(), (Files{"C:\\Panel\\MainPanel.exe"}));
    App(s, kLumetraCenter)->bInstalled = 0;
    EXPECT_EQ(ActivateOrLaunchApp(s, kLumetraCenter), 0u);  // silently
    EXPECT_TRUE(Boxes().empty());
}

// ---- Closes -------------------------------------------------------------

TEST_F(TargetAppTest, ClosesByKeystrokeAndByMessage) {
    InstallAll();
    System& s = Start();
    Hwnd pc = test::OpenAppWindow(desk, kPowerCinema);
    Hwnd tm = test::OpenAppWindow(desk, kTotalMedia);
    Hwnd pallamo = test::OpenAppWindow(desk, kPallamo);
    test::OpenAppWindow(desk, kLumetraPanel);
    test::OpenAppWindow(desk, kLumetraCenter);
    for (std::uint32_t id : {kPowerCinema, kTotalMedia, kPallamo, kLumetraPanel, kLumetraCenter}) {
        App(s, id)->bLaunched = 1;
        EXPECT_EQ(CloseApp(s, id), 1);
        EXPECT_EQ(App(s, id)->bLaunched, 0);
    }
    EXPECT_EQ(test::Script(desk),
              "fg:PowerCinema active:PowerCinema 18:0 115d 115u 18:2 "
              "fg:ArcSoft TotalMedia active:ArcSoft TotalMedia 18:0 115d 115u 18:2 sleep:1000 "
              "post:Tessaryn:3000:25 post:Mirvo:4024:1 post:Lumetra Center:4024:25");
    EXPECT_EQ(App(s, kPowerCinema)->hWnd, pc);
    EXPECT_EQ(App(s, kTotalMedia)->hWnd, tm);
    EXPECT_EQ(App(s, kPallamo)->hWnd, 0u);  // message closes leave hWnd alone

    // Without a window nothing is sent and the mark stays; a keystroke close
    // still records the failed search.
    desk.ClearLog();
    desk.RemoveWindow(tm);
    desk.AddWindow("OtherClass", "ArcSoft TotalMedia");  // not TotalMedia's own class
    App(s, kTotalMedia)->bLaunched = 1;
    App(s, kPallamo)->bLaunched = 1;
    desk.RemoveWindow(pallamo);
    EXPECT_EQ(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(CloseApp(s, kPallamo), 0);
    EXPECT_EQ(CloseApp(s, 3), 0);  // no such application
    EXPECT_EQ(App(s, kTotalMedia)->hWnd, 0u);
    EXPECT_EQ(App(s, kTotalMedia)->bLaunched + App(s, kPallamo)->bLaunched, 2);
    EXPECT_EQ(test::Script(desk), "");
}

TEST_F(TargetAppTest, AltF4IsSentOnlyWhenTheTargetIsInFront) {
    InstallAll();
    System& s = Start();
    Hwnd editor = desk.AddWindow("Editor", "A user's document");
    test::OpenAppWindow(desk, kTotalMedia);
    desk.SetForegroundWindow(editor);
    s.traceOn = true;
    App(s, kTotalMedia)->bLaunched = 1;

    // Refused at first, granted with our input attached to the editor's thread.
    desk.refuseForeground = true;
    EXPECT_EQ(CloseApp(s, kTotalMedia), 1);
    EXPECT_EQ(desk.KeyText(), "18:0 115d 115u 18:2");
    EXPECT_EQ(desk.AttachedInputs(), 0);

    // Refused even then: nothing reaches the editor and the mark stays.
    desk.refuseForeground = false;
    desk.SetForegroundWindow(editor);
    desk.refuseForeground = desk.refuseForegroundAttached = true;
    desk.ClearLog();
    App(s, kTotalMedia)->bLaunched = 1;
    EXPECT_EQ(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
    EXPECT_EQ(App(s, kTotalMedia)->bLaunched, 1);
    EXPECT_EQ(desk.Foreground(), editor);
    EXPECT_EQ(desk.Traces().size(), 1u);
}

// ---- ToggleApp and the AppWatch timer ------------------------------------

TEST_F(TargetAppTest, ToggleClosesAnOpenWindowOrLaunchesAndWatches) {
    InstallAll();
    System& s = Start();
    Hwnd center = test::OpenAppWindow(desk, kLumetraCenter);
    App(s, kLumetraCenter)->bLaunched = 1;
    EXPECT_EQ(ToggleApp(s, kLumetraCenter), 1);
    EXPECT_EQ(test::Script(desk), "post:Lumetra Center:4024:25");
    EXPECT_FALSE(WatchArmed());

    desk.RemoveWindow(center);  // the application closed itself
    EXPECT_EQ(ToggleApp(s, kLumetraCenter), 1);
    EXPECT_EQ(Launched(), (Files{"C:\\Center\\MainCenter.exe"}));
    EXPECT_TRUE(WatchArmed());
    EXPECT_TRUE(*WatchMark(s, kLumetraCenter));
    EXPECT_EQ(WatchMark(s, kLumetraCenter), &s.watchMark[5]);
    EXPECT_EQ(ToggleApp(s, 8), 0);
}

TEST_F(TargetAppTest, ToggleOfTotalMediaWithMediaCenterCurrentActsOnTotalMedia) {
    InstallAll();
    desk.SetRegString(kMceIdentKey, "Ident", "5.0");
    System& s = Start();
    s.nCurRemoteTV = kMediaCenter;
    App(s, kTotalMedia)->bLaunched = 1;
    Hwnd tm = test::OpenAppWindow(desk, kTotalMedia);
    EXPECT_EQ(ToggleApp(s, kTotalMedia), 1);
    EXPECT_EQ(desk.KeyText(), "18:0 115d 115u 18:2");

    desk.RemoveWindow(tm);
    EXPECT_EQ(ToggleApp(s, kTotalMedia), 1);
    EXPECT_EQ(Launched(), (Files{"C:\\TM\\TotalMedia.exe"}));
    EXPECT_TRUE(*WatchMark(s, kTotalMedia));
    EXPECT_FALSE(*WatchMark(s, kMediaCenter));
}

TEST_F(TargetAppTest, FailedLaunchArmsTheWatchWhichPausesAndStops) {
    InstallAll();
    System& s = Start();
    desk.shellExecuteResult = 2;
    EXPECT_EQ(ToggleApp(s, kPowerCinema), 0);
    EXPECT_FALSE(*WatchMark(s, kPowerCinema));
    EXPECT_TRUE(WatchArmed());
    desk.ClearLog();
    desk.Advance(500);
    EXPECT_EQ(test::Script(desk), "sleep:2000");
    EXPECT_EQ(desk.Log().back().kind, SimEvent::Kind::TimerKilled);
    EXPECT_FALSE(WatchArmed());
}

TEST_F(TargetAppTest, WatchLooksOnlyAtTheFirstMarkInItsOrder) {
    InstallAll();
    System& s = Start();
    Hwnd pallamo = test::OpenAppWindow(desk, kPallamo);
    Hwnd tm = desk.AddWindow("AnyClass", "Arcsoft TotalMedia");  // found by title alone
    for (std::uint32_t id : {kPallamo, kTotalMedia}) {
        *WatchMark(s, id) = true;
        App(s, id)->bLaunched = 1;
    }
    ArmAppWatchTimer(s);
    desk.Advance(1000);
    EXPECT_TRUE(WatchArmed());

    desk.RemoveWindow(pallamo);
    desk.Advance(500);
    EXPECT_EQ(App(s, kPallamo)->bLaunched, 0);
    EXPECT_FALSE(*WatchMark(s, kPallamo));
    EXPECT_FALSE(WatchArmed());
    EXPECT_TRUE(*WatchMark(s, kTotalMedia));  // left set, unwatched
    EXPECT_EQ(App(s, kTotalMedia)->bLaunched, 1);

    ArmAppWatchTimer(s);
    desk.Advance(500);
    EXPECT_TRUE(*WatchMark(s, kTotalMedia));
    desk.RemoveWindow(tm);
    desk.Advance(500);
    EXPECT_FALSE(*WatchMark(s, kTotalMedia));
    EXPECT_EQ(App(s, kTotalMedia)->bLaunched, 0);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
}

}  // namespace
}  // namespace rc
