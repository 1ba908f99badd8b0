#include "apps/target_app.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim_desktop.h"
#include "platform/win_defs.h"
#include "shell/system.h"
#include "shell/timer_slots.h"

namespace rc {
namespace {

constexpr const char* kPowerCinemaKey = "SOFTWARE\\CyberLink\\PowerCinema";
constexpr const char* kPallamoKey = "Software\\Orvalix Multimedia\\Nurvel";
constexpr const char* kMceKey =
    "SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command";
constexpr const char* kTotalMediaKey = "SOFTWARE\\ArcSoft\\TotalMedia\\3.0";
constexpr const char* kPanelKey = "Software\\Orvalix Multimedia\\Corvane\\Sorvane";
constexpr const char* kCenterKey = "Software\\Orvalix Multimedia\\Halvex\\Sorvane";
constexpr const char* kAmbrelKey = "Software\\Orvalix Multimedia\\Ambrel\\Sorvane";
constexpr const char* kLumetraClass = "OrvalixMainPanel_Class";
constexpr const char* kLaunchFailed = "Can't launch TV application what you want.";

class TargetAppTest : public ::testing::Test {
  protected:
    void InstallAll() {
        desk.SetRegString(kPowerCinemaKey, "InstallPath", "C:\\PC");
        desk.SetRegString(kPallamoKey, "AppPath", "C:\\Pallamo");
        desk.SetRegString(kMceKey, "", "C:\\windows\\ehome\\ehshell.exe");
        desk.SetRegString(kTotalMediaKey, "AppPath", "C:\\TM");
        desk.SetRegString(kPanelKey, "AppPath", "C:\\Panel");
        desk.SetRegString(kCenterKey, "AppPath", "C:\\Center");
    }
    System& Start() {
        sys = std::make_unique<System>(desk);
        mainWindow = desk.AddWindow("Remote Control", "Remote Control", false);
        BindTimerSlots(*sys, mainWindow);
        return *sys;
    }
    std::vector<SimEvent> Launches() const { return desk.Events(SimEvent::Kind::ShellExecute); }
    std::vector<SimEvent> Boxes() const { return desk.Events(SimEvent::Kind::MessageBox); }
    std::vector<SimEvent> Posts() const { return desk.Events(SimEvent::Kind::PostMessage); }

    SimDesktop desk;
    std::unique_ptr<System> sys;
    Hwnd mainWindow = 0;
};

// ---- Discovery ----------------------------------------------------------

TEST_F(TargetAppTest, DiscoveryFillsEveryRecordFromItsPrimaryKey) {
    InstallAll();
    System& s = Start();
    struct Expect {
        TargetApp* app;
        const char* dir;
        const char* exe;
        const char* cls;
        const char* title;
    } expected[] = {
        {&s.powerCinema, "C:\\PC", "PowerCinema.exe", "", "PowerCinema"},
        {&s.pallamo, "C:\\Pallamo", "Quillet.exe", "", "Tessaryn"},
        {&s.mediaCenter, "C:\\windows\\ehome\\ehshell.exe", "", "eHome Render Window",
         "eHome Render Window"},
        {&s.totalMedia, "C:\\TM", "TotalMedia.exe", "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS",
         "ArcSoft TotalMedia"},
        {&s.lumetraPanel, "C:\\Panel", "MainPanel.exe", kLumetraClass, "Mirvo"},
        {&s.lumetraCenter, "C:\\Center", "MainCenter.exe", kLumetraClass, "Lumetra Center"},
    };
    for (const Expect& e : expected) {
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
    desk.SetRegString(kPanelKey, "AppPath", "C:\\Panel");  // primary wins for the panel
    System& s = Start();
    EXPECT_EQ(s.lumetraCenter.bInstalled, 1);
    EXPECT_STREQ(s.lumetraCenter.szInstallDir, "C:\\Ambrel");
    EXPECT_STREQ(s.lumetraCenter.szExeName, "MainCenter.exe");
    EXPECT_STREQ(s.lumetraPanel.szInstallDir, "C:\\Panel");
    EXPECT_STREQ(s.lumetraPanel.szExeName, "MainPanel.exe");
    for (TargetApp* app : {&s.totalMedia, &s.powerCinema, &s.pallamo, &s.mediaCenter}) {
        EXPECT_EQ(app->bInstalled, 0);
        EXPECT_STREQ(app->szInstallDir, "");
    }
    // Class and title are there whatever discovery found.
    EXPECT_STREQ(s.totalMedia.szClassName, "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS");
    EXPECT_STREQ(s.totalMedia.szWindowName, "ArcSoft TotalMedia");
}

TEST_F(TargetAppTest, PanelFallsBackWhenItsValueIsMissing) {
    desk.CreateRegKey(kPanelKey);  // key without the value
    desk.SetRegString(kAmbrelKey, "AppPath", "D:\\Ambrel");
    System& s = Start();
    EXPECT_EQ(s.lumetraPanel.bInstalled, 1);
    EXPECT_STREQ(s.lumetraPanel.szInstallDir, "D:\\Ambrel");
}

TEST_F(TargetAppTest, InstallPathMustFitWithItsNul) {
    desk.SetRegString(kPowerCinemaKey, "InstallPath", std::string(127, 'p'));  // 128 with NUL
    desk.SetRegString(kPallamoKey, "AppPath", std::string(128, 'q'));          // 129 with NUL
    // Not terminated: 128 bytes of text are too long, 10 bytes are terminated here.
    desk.SetRegBinary(kTotalMediaKey, "AppPath", std::vector<std::uint8_t>(128, 'x'), win::kRegSz);
    desk.SetRegBinary(kCenterKey, "AppPath", std::vector<std::uint8_t>(10, 'y'), win::kRegSz);
    System& s = Start();
    EXPECT_EQ(s.powerCinema.bInstalled, 1);
    EXPECT_EQ(std::string(s.powerCinema.szInstallDir), std::string(127, 'p'));
    EXPECT_EQ(s.pallamo.bInstalled, 0);
    EXPECT_EQ(s.totalMedia.bInstalled, 0);
    EXPECT_EQ(s.lumetraCenter.bInstalled, 1);
    EXPECT_EQ(std::string(s.lumetraCenter.szInstallDir), std::string(10, 'y'));
}

TEST_F(TargetAppTest, ValuesOfOtherTypesAreTakenAsText) {
    desk.SetRegDword(kPowerCinemaKey, "InstallPath", 0x00434241);  // "ABC\0"
    desk.SetRegBinary(kPallamoKey, "AppPath", {'C', ':', 0, 'z', 'z'}, win::kRegBinary);
    System& s = Start();
    EXPECT_EQ(s.powerCinema.bInstalled, 1);
    EXPECT_STREQ(s.powerCinema.szInstallDir, "ABC");
    EXPECT_EQ(s.pallamo.bInstalled, 1);
    EXPECT_STREQ(s.pallamo.szInstallDir, "C:");
}

TEST_F(TargetAppTest, ReadAppRegistryClearsInstalledFirstAndLaunchedOnSuccess) {
    InstallAll();
    System& s = Start();
    s.pallamo.bLaunched = 1;
    EXPECT_EQ(ReadAppRegistry(s, s.pallamo, "Software\\Nowhere", "AppPath", "x.exe"), 0);
    EXPECT_EQ(s.pallamo.bInstalled, 0);
    EXPECT_EQ(s.pallamo.bLaunched, 1);
    EXPECT_EQ(ReadAppRegistry(s, s.pallamo, kPallamoKey, "AppPath", "Quillet.exe"), 1);
    EXPECT_EQ(s.pallamo.bInstalled, 1);
    EXPECT_EQ(s.pallamo.bLaunched, 0);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

// ---- ScanForAppWindow ---------------------------------------------------

TEST_F(TargetAppTest, ScanComparesAsManyCharactersAsTheTitleHas) {
    System& s = Start();
    desk.AddWindow("Orva", "short class");                  // 4 characters: no match
    Hwnd fourteen = desk.AddWindow("OrvalixMainPan", "x");  // exactly 14
    Hwnd five = desk.AddWindow("OrvalSomethingElse", "y");  // the panel's 5
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraCenter), fourteen);
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraPanel), fourteen);  // first in desktop order
    desk.RemoveWindow(fourteen);
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraPanel), five);
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraCenter), 0u);
}

TEST_F(TargetAppTest, ScanFindsTheOtherLumetraWindowButNeverPowerCinemaOrPallamo) {
    InstallAll();
    System& s = Start();
    Hwnd panel = desk.AddWindow(kLumetraClass, "Mirvo");
    desk.AddWindow("PowerCinemaClass", "PowerCinema");
    desk.AddWindow("TessarynForm", "Tessaryn");
    EXPECT_EQ(ScanForAppWindow(s, s.lumetraCenter), panel);
    EXPECT_EQ(ScanForAppWindow(s, s.powerCinema), 0u);
    EXPECT_EQ(ScanForAppWindow(s, s.pallamo), 0u);
}

// ---- LaunchApp ----------------------------------------------------------

struct LaunchCase {
    std::intptr_t result;
    bool success;
};

class LaunchResultTest : public TargetAppTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchResultTest, OnlyResultsAbove32AreSuccess) {
    InstallAll();
    System& s = Start();
    desk.shellExecuteResult = GetParam().result;
    for (int before : {0, 1}) {
        desk.ClearLog();
        s.lumetraPanel.bLaunched = before;
        EXPECT_EQ(LaunchApp(s, s.lumetraPanel), 0u);
        ASSERT_EQ(Launches().size(), 1u);
        EXPECT_EQ(Launches()[0].text, "C:\\Panel\\MainPanel.exe");
        EXPECT_EQ(Launches()[0].text2, "open|remote");
        EXPECT_EQ(Launches()[0].a, win::kSwShow);
        if (GetParam().success) {
            EXPECT_EQ(s.lumetraPanel.bLaunched, 1);
            EXPECT_TRUE(Boxes().empty());
        } else {
            EXPECT_EQ(s.lumetraPanel.bLaunched, before);
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].hwnd, 0u);
            EXPECT_EQ(Boxes()[0].text, kLaunchFailed);
            EXPECT_EQ(Boxes()[0].text2, "Remote Control");
            EXPECT_EQ(Boxes()[0].a, win::kMbOk);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Results, LaunchResultTest,
                         ::testing::Values(LaunchCase{0, false}, LaunchCase{31, false},
                                           LaunchCase{32, false}, LaunchCase{33, true},
                                           LaunchCase{42, true}));

TEST_F(TargetAppTest, LaunchGivesAnExistingWindowOrNothingWhenNotInstalled) {
    InstallAll();
    System& s = Start();
    Hwnd tm = desk.AddWindow("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "anything");
    EXPECT_EQ(LaunchApp(s, s.totalMedia), tm);
    s.powerCinema.bInstalled = 0;
    EXPECT_EQ(LaunchApp(s, s.powerCinema), 0u);
    EXPECT_TRUE(Launches().empty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TargetAppTest, LaunchGivesTheWindowTheNewProcessMade) {
    InstallAll();
    System& s = Start();
    Hwnd made = 0;
    desk.onShellExecute = [&](const std::string&, const std::string&) {
        made = desk.AddWindow(kLumetraClass, "Lumetra Center");
    };
    EXPECT_EQ(LaunchApp(s, s.lumetraCenter), made);
    EXPECT_NE(made, 0u);
}

TEST_F(TargetAppTest, CurrentMediaCenterReplacesEveryLaunchPath) {
    InstallAll();
    System& s = Start();
    s.nCurRemoteTV = kMediaCenter;
    LaunchApp(s, s.powerCinema);  // Media Center absent: the record's own path
    desk.SetRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident", "5.0");
    LaunchApp(s, s.powerCinema);
    desk.windowsDirectory = "D:\\Win";
    LaunchApp(s, s.lumetraCenter);
    s.nCurRemoteTV = kLumetraCenter;
    LaunchApp(s, s.lumetraCenter);
    std::vector<std::string> files;
    for (const SimEvent& e : Launches()) {
        files.push_back(e.text);
    }
    EXPECT_EQ(files, (std::vector<std::string>{
                         "C:\\PC\\PowerCinema.exe", "C:\\windows\\ehome\\ehshell.exe",
                         "D:\\Win\\ehome\\ehshell.exe", "C:\\Center\\MainCenter.exe"}));
}

TEST_F(TargetAppTest, TooLongWindowsDirectoryIsAFailedLaunch) {
    InstallAll();
    desk.SetRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident", "5.0");
    System& s = Start();
    s.nCurRemoteTV = kMediaCenter;
    desk.windowsDirectory = "C:\\" + std::string(240, 'w');  // fits alone, not with the tail
    s.powerCinema.bLaunched = 0;
    LaunchApp(s, s.powerCinema);
    EXPECT_TRUE(Launches().empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kLaunchFailed);
    EXPECT_EQ(s.powerCinema.bLaunched, 0);
}

// ---- ActivateOrLaunchApp ------------------------------------------------

TEST_F(TargetAppTest, PowerCinemaAndPallamoAreStartedAgainThoughRunning) {
    InstallAll();
    System& s = Start();
    desk.AddWindow("PCClass", "PowerCinema");
    desk.AddWindow("PForm", "Tessaryn");
    EXPECT_EQ(ActivateOrLaunchApp(s, s.powerCinema), 0u);
    EXPECT_EQ(ActivateOrLaunchApp(s, s.pallamo), 0u);
    ASSERT_EQ(Launches().size(), 2u);
    EXPECT_EQ(Launches()[0].text, "C:\\PC\\PowerCinema.exe");
    EXPECT_EQ(Launches()[1].text, "C:\\Pallamo\\Quillet.exe");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::SetForeground).empty());
}

TEST_F(TargetAppTest, ActivateFindsTheRunningLumetraWindowWithoutLaunching) {
    InstallAll();
    System& s = Start();
    Hwnd panel = desk.AddWindow(kLumetraClass, "Mirvo");
    EXPECT_EQ(ActivateOrLaunchApp(s, s.lumetraPanel), panel);
    EXPECT_TRUE(Launches().empty());
    auto& log = desk.Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].kind, SimEvent::Kind::SetForeground);
    EXPECT_EQ(log[log.size() - 1].kind, SimEvent::Kind::SetActive);
    EXPECT_EQ(log[log.size() - 1].hwnd, panel);
    s.lumetraPanel.bInstalled = 0;
    EXPECT_EQ(ActivateOrLaunchApp(s, s.lumetraPanel), 0u);  // silently
}

// ---- Closes -------------------------------------------------------------

TEST_F(TargetAppTest, KeystrokeCloseActivatesThenSendsAltF4) {
    InstallAll();
    System& s = Start();
    Hwnd pc = desk.AddWindow("PCClass", "PowerCinema");
    Hwnd tm = desk.AddWindow("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia");
    s.powerCinema.bLaunched = 1;
    s.totalMedia.bLaunched = 1;
    EXPECT_NE(CloseApp(s, kPowerCinema), 0);
    EXPECT_EQ(s.powerCinema.hWnd, pc);
    EXPECT_EQ(s.powerCinema.bLaunched, 0);
    EXPECT_EQ(desk.KeyText(), "18d 115d 115u 18u");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
    EXPECT_EQ(desk.Foreground(), pc);

    desk.ClearLog();
    EXPECT_NE(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(s.totalMedia.hWnd, tm);
    EXPECT_EQ(desk.KeyText(), "18d 115d 115u 18u");
    auto sleeps = desk.Events(SimEvent::Kind::Sleep);
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0].a, 1000);
    EXPECT_EQ(desk.Log().back().kind, SimEvent::Kind::Sleep);  // after the keys
}

TEST_F(TargetAppTest, KeystrokeCloseWithoutWindowSendsNothing) {
    InstallAll();
    System& s = Start();
    s.totalMedia.hWnd = 1234;
    s.totalMedia.bLaunched = 1;
    // Only TotalMedia's own class and title are closed.
    desk.AddWindow("OtherClass", "Arcsoft TotalMedia");
    EXPECT_EQ(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(s.totalMedia.hWnd, 0u);
    EXPECT_EQ(s.totalMedia.bLaunched, 1);
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
}

TEST_F(TargetAppTest, AltF4IsSentOnlyWhenTheTargetIsInFront) {
    InstallAll();
    System& s = Start();
    Hwnd editor = desk.AddWindow("Editor", "A user's document");
    desk.AddWindow("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia");
    desk.SetForegroundWindow(editor);
    desk.ClearLog();
    s.traceOn = true;
    s.totalMedia.bLaunched = 1;

    // Refused at first, granted with our input attached to the editor's thread.
    desk.refuseForeground = true;
    EXPECT_NE(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(desk.KeyText(), "18d 115d 115u 18u");
    EXPECT_EQ(desk.AttachedInputs(), 0);
    EXPECT_EQ(s.totalMedia.bLaunched, 0);

    // Refused even then: nothing reaches the editor, the mark stays.
    desk.refuseForeground = false;
    desk.SetForegroundWindow(editor);
    desk.refuseForeground = true;
    desk.refuseForegroundAttached = true;
    desk.ClearLog();
    s.totalMedia.bLaunched = 1;
    EXPECT_EQ(CloseApp(s, kTotalMedia), 0);
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
    EXPECT_EQ(s.totalMedia.bLaunched, 1);
    EXPECT_EQ(desk.Foreground(), editor);
    EXPECT_EQ(desk.Traces().size(), 1u);
}

TEST_F(TargetAppTest, MessageClosesPostTheirCodes) {
    InstallAll();
    System& s = Start();
    Hwnd pallamo = desk.AddWindow("PForm", "Tessaryn");
    Hwnd panel = desk.AddWindow(kLumetraClass, "Mirvo");
    Hwnd center = desk.AddWindow(kLumetraClass, "Lumetra Center");
    for (std::uint32_t id : {kPallamo, kLumetraPanel, kLumetraCenter}) {
        s.App(id)->bLaunched = 1;
        EXPECT_NE(CloseApp(s, id), 0);
        EXPECT_EQ(s.App(id)->bLaunched, 0);
        EXPECT_EQ(s.App(id)->hWnd, 0u);
    }
    auto posts = Posts();
    ASSERT_EQ(posts.size(), 3u);
    EXPECT_EQ(posts[0].hwnd, pallamo);
    EXPECT_EQ(posts[0].a, 3000);
    EXPECT_EQ(posts[0].b, 25);
    EXPECT_EQ(posts[1].hwnd, panel);
    EXPECT_EQ(posts[1].a, 4024);
    EXPECT_EQ(posts[1].b, 1);
    EXPECT_EQ(posts[2].hwnd, center);
    EXPECT_EQ(posts[2].a, 4024);
    EXPECT_EQ(posts[2].b, 25);
    for (const SimEvent& p : posts) {
        EXPECT_EQ(p.c, 0);
    }
    desk.RemoveWindow(pallamo);
    s.pallamo.bLaunched = 1;
    EXPECT_EQ(CloseApp(s, kPallamo), 0);
    EXPECT_EQ(s.pallamo.bLaunched, 1);
    EXPECT_EQ(CloseApp(s, 3), 0);  // no such application
}

TEST_F(TargetAppTest, TotalMediaIsFoundByItsOtherTitleOutsideItsOwnOperations) {
    System& s = Start();
    Hwnd other = desk.AddWindow("SomeClass", "Arcsoft TotalMedia");
    EXPECT_EQ(FindAppWindowElsewhere(s, kTotalMedia), other);
    EXPECT_EQ(FindAppWindow(s, kTotalMedia), 0u);
    Hwnd own = desk.AddWindow("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia");
    EXPECT_EQ(FindAppWindow(s, kTotalMedia), own);
    Hwnd pc = desk.AddWindow("Any", "PowerCinema");
    EXPECT_EQ(FindAppWindowElsewhere(s, kPowerCinema), pc);
    EXPECT_EQ(FindAppWindow(s, 7), 0u);
}

// ---- ToggleApp and the AppWatch timer ------------------------------------

TEST_F(TargetAppTest, ToggleClosesAnOpenWindowAndLeavesTheTimerAlone) {
    InstallAll();
    System& s = Start();
    Hwnd center = desk.AddWindow(kLumetraClass, "Lumetra Center");
    s.lumetraCenter.bLaunched = 1;
    EXPECT_EQ(ToggleApp(s, kLumetraCenter), 1);
    EXPECT_FALSE(s.appWatchTimer.armed);
    EXPECT_FALSE(desk.TimerArmed(mainWindow, kAppWatchTimerId));
    EXPECT_EQ(s.watchMark[5], 0u);
    ASSERT_EQ(Posts().size(), 1u);
    EXPECT_EQ(Posts()[0].hwnd, center);
    EXPECT_TRUE(Launches().empty());

    // The application closed itself; the next press launches and watches it.
    desk.RemoveWindow(center);
    EXPECT_EQ(ToggleApp(s, kLumetraCenter), 1);
    ASSERT_EQ(Launches().size(), 1u);
    EXPECT_EQ(Launches()[0].text, "C:\\Center\\MainCenter.exe");
    EXPECT_TRUE(desk.TimerArmed(mainWindow, kAppWatchTimerId));
    EXPECT_EQ(s.watchMark[5], 1u);
    EXPECT_EQ(*WatchMark(s, kLumetraCenter), 1u);
}

TEST_F(TargetAppTest, FailedLaunchStillArmsTheTimerWhichStopsAfterAPause) {
    InstallAll();
    System& s = Start();
    desk.shellExecuteResult = 2;
    EXPECT_EQ(ToggleApp(s, kPowerCinema), 0);
    EXPECT_EQ(s.watchMark[0], 0u);
    EXPECT_TRUE(desk.TimerArmed(mainWindow, kAppWatchTimerId));
    desk.ClearLog();
    desk.Advance(500);
    auto sleeps = desk.Events(SimEvent::Kind::Sleep);
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0].a, 2000);
    EXPECT_FALSE(desk.TimerArmed(mainWindow, kAppWatchTimerId));
    EXPECT_FALSE(s.appWatchTimer.armed);
    EXPECT_EQ(desk.Log().back().kind, SimEvent::Kind::TimerKilled);  // after the pause
}

TEST_F(TargetAppTest, NotInstalledToggleArmsTheTimerWithoutLaunching) {
    System& s = Start();
    EXPECT_EQ(ToggleApp(s, kTotalMedia), 0);
    EXPECT_TRUE(Launches().empty());
    EXPECT_TRUE(s.appWatchTimer.armed);
    EXPECT_EQ(ToggleApp(s, 8), 0);
}

TEST_F(TargetAppTest, WatchLooksOnlyAtTheFirstMarkAndStopsWhenItsWindowGoes) {
    InstallAll();
    System& s = Start();
    Hwnd pallamo = desk.AddWindow("PForm", "Tessaryn");
    desk.AddWindow("Any", "Arcsoft TotalMedia");  // TotalMedia by its other title
    *WatchMark(s, kPallamo) = 1;
    *WatchMark(s, kTotalMedia) = 1;
    s.pallamo.bLaunched = 1;
    s.totalMedia.bLaunched = 1;
    ArmAppWatchTimer(s);
    desk.Advance(1000);
    EXPECT_TRUE(desk.TimerArmed(mainWindow, kAppWatchTimerId));
    EXPECT_EQ(s.pallamo.bLaunched, 1);

    desk.RemoveWindow(pallamo);
    desk.Advance(500);
    EXPECT_EQ(s.pallamo.bLaunched, 0);
    EXPECT_EQ(*WatchMark(s, kPallamo), 0u);
    EXPECT_FALSE(desk.TimerArmed(mainWindow, kAppWatchTimerId));
    // The second mark stays set, unwatched.
    EXPECT_EQ(*WatchMark(s, kTotalMedia), 1u);
    EXPECT_EQ(s.totalMedia.bLaunched, 1);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
}

TEST_F(TargetAppTest, WatchLooksForTotalMediaByTitleAlone) {
    InstallAll();
    System& s = Start();
    Hwnd tm = desk.AddWindow("NotTheFrameClass", "Arcsoft TotalMedia");
    *WatchMark(s, kTotalMedia) = 1;
    s.totalMedia.bLaunched = 1;
    OnAppWatchTimer(&s, mainWindow, kAppWatchTimerId);
    EXPECT_EQ(*WatchMark(s, kTotalMedia), 1u);
    desk.RemoveWindow(tm);
    OnAppWatchTimer(&s, mainWindow, kAppWatchTimerId);
    EXPECT_EQ(*WatchMark(s, kTotalMedia), 0u);
    EXPECT_EQ(s.totalMedia.bLaunched, 0);
}

TEST_F(TargetAppTest, WatchMarksAreKeptInTheWatchOrder) {
    System& s = Start();
    const std::uint32_t order[] = {kPowerCinema,  kPallamo,    kMediaCenter,
                                   kLumetraPanel, kTotalMedia, kLumetraCenter};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(WatchMark(s, order[i]), &s.watchMark[i]);
    }
    EXPECT_EQ(WatchMark(s, 3), nullptr);
}

}  // namespace
}  // namespace rc
