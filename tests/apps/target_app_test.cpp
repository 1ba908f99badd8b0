#include "apps/target_app.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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
        {&s.powerCinema, "C:\\PC", "PowerCinema.exe", "", "PowerCinema"},
        {&s.pallamo, "C:\\Pallamo", "Quillet.exe", "", "Tessaryn"},
        {&s.mediaCenter, "C:\\windows\\ehome\\ehshell.exe", "", "eHome Render Window",
         "eHome Render Window"},
        {&s.totalMedia, "C:\\TM", "TotalMedia.exe", kTmClass, "ArcSoft TotalMedia"},
        {&s.lumetraPanel, "C:\\Panel", "MainPanel.exe", kLumetraClass, "Mirvo"},
        {&s.lumetraCenter, "C:\\Center", "MainCenter.exe", kLumetraClass, "Lumetra Center"},
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
    EXPECT_STREQ(s.lumetraCenter.szInstallDir, "C:\\Ambrel");
    EXPECT_STREQ(s.lumetraCenter.szExeName, "MainCenter.exe");
    EXPECT_STREQ(s.lumetraPanel.szInstallDir, "C:\\Ambrel");
    EXPECT_STREQ(s.lumetraPanel.szExeName, "MainPanel.exe");
    EXPECT_EQ(s.lumetraPanel.bInstalled + s.lumetraCenter.bInstalled, 2);
    for (TargetApp* app : {&s.totalMedia, &s.powerCinema, &s.pallamo, &s.mediaCenter}) {
        EXPECT_EQ(app->bInstalled, 0);
    }
    // Class and title are filled whatever discovery found.
    EXPECT_STREQ(s.totalMedia.szClassName, kTmClass);
    EXPECT_STREQ(s.totalMedia.szWindowName, "ArcSoft TotalMedia");
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
    EXPECT_EQ(std::string(s.powerCinema.szInstallDir), std::string(127, 'p'));
    EXPECT_EQ(s.pallamo.bInstalled, 0);
    EXPECT_EQ(s.totalMedia.bInstalled, 0);
    EXPECT_EQ(std::string(s.lumetraCenter.szInstallDir), std::string(10, 'y'));
    EXPECT_STREQ(s.lumetraPanel.szInstallDir, "ABC");
    EXPECT_EQ(s.powerCinema.bInstalled + s.lumetraCenter.bInstalled + s.lumetraPanel.bInstalled, 3);

    // A failed read clears bInstalled only; a good one clears bLaunched too.
    s.lumetraPanel.bLaunched = 1;
    EXPECT_EQ(ReadAppRegistry(s, s.lumetraPanel, "Software\\Nowhere", "AppPath", "x.exe"), 0);
    EXPECT_EQ(s.lumetraPanel.bInstalled, 0);
    EXPECT_EQ(s.lumetraPanel.bLaunched, 1);
    EXPECT_EQ(ReadAppRegistry(s, s.lumetraPanel, kCenterKey, "AppPath", "x.exe"), 1);
    EXPECT_EQ(s.lumetraPanel.bLaunched, 0);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

// ---- ScanForAppWindow ---------------------------------------------------

TEST_F(TargetAppTest, ScanComparesAsManyClassCharactersAsTheTitleHas) {
    System& s = Start();
    desk.AddWindow("PCClass", "PowerCinema");
    desk.AddWindow("Orva", "four characters");
    Hwnd fourteen = desk.AddWindow("OrvalixMainPan", "x");  // Lumetra Center's 14
    Hwnd five = desk.AddWindow("OrvalSomethingElse", "y");  // the panel's 5
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraCenter), fourteen);
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraPanel), fourteen);  // first in desktop order
    desk.RemoveWindow(fourteen);
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraPanel), five);
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraCenter), 0u);
    // An empty class never matches a window's class.
    EXPECT_EQ(ScanForAppWindow(s, s.powerCinema), 0u);
    EXPECT_EQ(ScanForAppWindow(s, s.pallamo), 0u);
    // Nor a window whose class can't be read (GetClassNameA gives 0, as for
    // a window that closed during the walk).
    desk.AddWindow("", "closing");
    EXPECT_EQ(ScanForAppWindow(s, s.powerCinema), 0u);
    EXPECT_EQ(ScanForAppWindow(s, s.pallamo), 0u);
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
        s.lumetraPanel.bLaunched = before;
        EXPECT_EQ(LaunchApp(s, s.lumetraPanel), 0u);
        auto launches = desk.Events(SimEvent::Kind::ShellExecute);
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].text, "C:\\Panel\\MainPanel.exe");
        EXPECT_EQ(launches[0].text2, "open|remote");
        EXPECT_EQ(launches[0].a, win::kSwShow);
        EXPECT_EQ(s.lumetraPanel.bLaunched, success ? 1 : before);
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
    EXPECT_EQ(LaunchApp(s, s.totalMedia), tm);  // by title alone, nothing started
    Hwnd made = 0;
    desk.onShellExecute = [&](const std::string&, const std::string&) {
        made = desk.AddWindow(kLumetraClass, "Lumetra Center");
    };
    EXPECT_EQ(LaunchApp(s, s.lumetraCenter), made);
    s.powerCinema.bInstalled = 0;
    EXPECT_EQ(LaunchApp(s, s.powerCinema), 0u);
    EXPECT_EQ(Launched(), (Files{"C:\\Center\\MainCenter.exe"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TargetAppTest, OnlyMediaCenterIsStartedFromTheWindowsDirectory) {
    InstallAll();
    System& s = Start();
    s.nCurRemoteTV = kMediaCenter;
    LaunchApp(s, s.powerCinema);
    desk.SetRegString(kMceIdentKey, "Ident", "5.0");
    LaunchApp(s, s.powerCinema);  // Media Center current and present: still its own path
    LaunchApp(s, s.mediaCenter);
    desk.windowsDirectory = "D:\\Win";
    s.nCurRemoteTV = kLumetraCenter;
    LaunchApp(s, s.mediaCenter);  // not yet the current one (the tray menu's switch)
    EXPECT_EQ(Launched(),
              (Files{"C:\\PC\\PowerCinema.exe", "C:\\PC\\PowerCinema.exe",
                     "C:\\windows\\ehome\\ehshell.exe", "D:\\Win\\ehome\\ehshell.exe"}));

    // A Windows directory that leaves no room for the rest: a failed launch.
    s.mediaCenter.bLaunched = 0;
    desk.windowsDirectory = "C:\\" + std::string(240, 'w');
    desk.ClearLog();
    LaunchApp(s, s.mediaCenter);
    EXPECT_TRUE(Launched().empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kLaunchFailed);
    EXPECT_EQ(s.mediaCenter.bLaunched, 0);
}

// ---- ActivateOrLaunchApp ------------------------------------------------

TEST_F(TargetAppTest, ActivateOrLaunch) {
    InstallAll();
    System& s = Start();
    Hwnd pc = desk.AddWindow("PCClass", "PowerCinema");
    Hwnd pallamo = desk.AddWindow("PForm", "Tessaryn");
    desk.AddWindow(kLumetraClass, "Lumetra Center");
    // Found as the key router finds them: running copies are activated.
    EXPECT_EQ(ActivateOrLaunchApp(s, s.powerCinema), pc);
    EXPECT_EQ(ActivateOrLaunchApp(s, s.pallamo), pallamo);
    EXPECT_EQ(test::Script(desk), "fg:PowerCinema active:PowerCinema fg:Tessaryn active:Tessaryn");
    EXPECT_TRUE(Launched().empty());
    // The other Lumetra application's window is not the panel's.
    EXPECT_EQ(ActivateOrLaunchApp(s, s.lumetraPanel), 0u);
    EXPECT_EQ(Launched(), (Files{"C:\\Panel\\MainPanel.exe"}));
    s.lumetraCenter.bInstalled = 0;
    EXPECT_EQ(ActivateOrLaunchApp(s, s.lumetraCenter), 0u);  // silently
    EXPECT_TRUE(Boxes().empty());
}

// ---- Closes -------------------------------------------------------------

TEST_F(TargetAppTest, ClosesByKeystrokeAndByMessage) {
    InstallAll();
    System& s = Start();
    Hwnd pc = desk.AddWindow("PCClass", "PowerCinema");
    Hwnd tm = desk.AddWindow(kTmClass, "ArcSoft TotalMedia");
    desk.AddWindow("PForm", "Tessaryn");
    desk.AddWindow(kLumetraClass, "Mirvo");
    desk.AddWindow(kLumetraClass, "Lumetra Center");
    for (std::uint32_t id : {kPowerCinema, kTotalMedia, kPallamo, kLumetraPanel, kLumetraCenter}) {
        s.App(id)->bLaunched = 1;
        EXPECT_EQ(CloseApp(s, id), 1);
        EXPECT_EQ(s.App(id)->bLaunched, 0);
    }
    EXPECT_EQ(test::Script(desk),
              "fg:PowerCinema active:PowerCinema 18d 115d 115u 18u "
              "fg:ArcSoft TotalMedia active:ArcSoft TotalMedia 18d 115d 115u 18u sleep:1000 "
              "post:Tessaryn:3000:25 post:Mirvo:4024:1 post:Lumetra Center:4024:25");
    EXPECT_EQ(s.powerCinema.hWnd, pc);
    EXPECT_EQ(s.totalMedia.hWnd, tm);
    EXPECT_EQ(s.pallamo.hWnd, 0u);  // message closes leave hWnd alone

    // Without a window nothing is sent and the mark stays; a keystroke close
    // still records the failed search.
    desk.ClearLog();
    desk.RemoveWindow(tm);
    desk.AddWindow("OtherClass", "ArcSoft TotalMedia");  // not TotalMedia's own class
    s.totalMedia.bLaunched = 1;
    s.pallamo.bLaunched = 1;
    desk.RemoveWindow(desk.FindWindowA("PForm", nullptr));
    EXPECT_EQ(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(CloseApp(s, kPallamo), 0);
    EXPECT_EQ(CloseApp(s, 3), 0);  // no such application
    EXPECT_EQ(s.totalMedia.hWnd, 0u);
    EXPECT_EQ(s.totalMedia.bLaunched + s.pallamo.bLaunched, 2);
    EXPECT_EQ(test::Script(desk), "");
}

TEST_F(TargetAppTest, AltF4IsSentOnlyWhenTheTargetIsInFront) {
    InstallAll();
    System& s = Start();
    Hwnd editor = desk.AddWindow("Editor", "A user's document");
    desk.AddWindow(kTmClass, "ArcSoft TotalMedia");
    desk.SetForegroundWindow(editor);
    s.traceOn = true;
    s.totalMedia.bLaunched = 1;

    // Refused at first, granted with our input attached to the editor's thread.
    desk.refuseForeground = true;
    EXPECT_EQ(CloseApp(s, kTotalMedia), 1);
    EXPECT_EQ(desk.KeyText(), "18d 115d 115u 18u");
    EXPECT_EQ(desk.AttachedInputs(), 0);

    // Refused even then: nothing reaches the editor and the mark stays.
    desk.refuseForeground = false;
    desk.SetForegroundWindow(editor);
    desk.refuseForeground = desk.refuseForegroundAttached = true;
    desk.ClearLog();
    s.totalMedia.bLaunched = 1;
    EXPECT_EQ(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
    EXPECT_EQ(s.totalMedia.bLaunched, 1);
    EXPECT_EQ(desk.Foreground(), editor);
    EXPECT_EQ(desk.Traces().size(), 1u);
}

// ---- ToggleApp and the AppWatch timer ------------------------------------

TEST_F(TargetAppTest, ToggleClosesAnOpenWindowOrLaunchesAndWatches) {
    InstallAll();
    System& s = Start();
    Hwnd center = desk.AddWindow(kLumetraClass, "Lumetra Center");
    s.lumetraCenter.bLaunched = 1;
    EXPECT_EQ(ToggleApp(s, kLumetraCenter), 1);
    EXPECT_EQ(test::Script(desk), "post:Lumetra Center:4024:25");
    EXPECT_FALSE(WatchArmed());

    desk.RemoveWindow(center);  // the application closed itself
    EXPECT_EQ(ToggleApp(s, kLumetraCenter), 1);
    EXPECT_EQ(Launched(), (Files{"C:\\Center\\MainCenter.exe"}));
    EXPECT_TRUE(WatchArmed());
    EXPECT_EQ(*WatchMark(s, kLumetraCenter), 1u);
    EXPECT_EQ(WatchMark(s, kLumetraCenter), &s.watchMark[5]);
    EXPECT_EQ(ToggleApp(s, 8), 0);
}

TEST_F(TargetAppTest, ToggleOfTotalMediaWithMediaCenterCurrentActsOnTotalMedia) {
    InstallAll();
    desk.SetRegString(kMceIdentKey, "Ident", "5.0");
    System& s = Start();
    s.nCurRemoteTV = kMediaCenter;
    s.totalMedia.bLaunched = 1;
    Hwnd tm = desk.AddWindow(kTmClass, "ArcSoft TotalMedia");
    EXPECT_EQ(ToggleApp(s, kTotalMedia), 1);
    EXPECT_EQ(desk.KeyText(), "18d 115d 115u 18u");

    desk.RemoveWindow(tm);
    EXPECT_EQ(ToggleApp(s, kTotalMedia), 1);
    EXPECT_EQ(Launched(), (Files{"C:\\TM\\TotalMedia.exe"}));
    EXPECT_EQ(*WatchMark(s, kTotalMedia), 1u);
    EXPECT_EQ(*WatchMark(s, kMediaCenter), 0u);
}

TEST_F(TargetAppTest, FailedLaunchArmsTheWatchWhichPausesAndStops) {
    InstallAll();
    System& s = Start();
    desk.shellExecuteResult = 2;
    EXPECT_EQ(ToggleApp(s, kPowerCinema), 0);
    EXPECT_EQ(*WatchMark(s, kPowerCinema), 0u);
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
    Hwnd pallamo = desk.AddWindow("PForm", "Tessaryn");
    Hwnd tm = desk.AddWindow("AnyClass", "Arcsoft TotalMedia");  // found by title alone
    for (std::uint32_t id : {kPallamo, kTotalMedia}) {
        *WatchMark(s, id) = 1;
        s.App(id)->bLaunched = 1;
    }
    ArmAppWatchTimer(s);
    desk.Advance(1000);
    EXPECT_TRUE(WatchArmed());

    desk.RemoveWindow(pallamo);
    desk.Advance(500);
    EXPECT_EQ(s.pallamo.bLaunched, 0);
    EXPECT_EQ(*WatchMark(s, kPallamo), 0u);
    EXPECT_FALSE(WatchArmed());
    EXPECT_EQ(*WatchMark(s, kTotalMedia), 1u);  // left set, unwatched
    EXPECT_EQ(s.totalMedia.bLaunched, 1);

    ArmAppWatchTimer(s);
    desk.Advance(500);
    EXPECT_EQ(*WatchMark(s, kTotalMedia), 1u);
    desk.RemoveWindow(tm);
    desk.Advance(500);
    EXPECT_EQ(*WatchMark(s, kTotalMedia), 0u);
    EXPECT_EQ(s.totalMedia.bLaunched, 0);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
}

}  // namespace
}  // namespace rc
