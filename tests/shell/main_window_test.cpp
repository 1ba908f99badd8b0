#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "apps/app_record.h"
#include "core/system.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"
#include "platform/win_defs.h"
#include "receiver/receiver_fixture.h"
#include "settings/settings_store.h"
#include "shell/tray_tip.h"
#include "shell/monitor.h"
#include "apps/user_apps.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;
const std::string P = test::kTracePrefix;
const std::string kVistaMceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

// An AF9015 stick that comes up at start.
void PlugAf9015(SimDesktop& desk) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");
    desk.InstallLibrary("af15bdaex.dll");
    desk.InstallLibrary("af9100ex.dll");
    desk.Entry("af15_init").defaultResult = 1;
}

// Position of the first log entry of a kind, with a given first field when
// a >= 0 (the NIM_ message of tray events, the message of posted ones), or
// with the given text; -1 when there is none.
int IndexOf(const SimDesktop& desk, Kind kind, std::int64_t a = -1, const std::string& text = "") {
    const auto& log = desk.Log();
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].kind == kind && (a < 0 || log[i].a == a) &&
            (text.empty() || log[i].text == text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int Count(const SimDesktop& desk, Kind kind, std::int64_t a = -1) {
    int n = 0;
    for (const SimEvent& e : desk.Log()) {
        n += e.kind == kind && (a < 0 || e.a == a);
    }
    return n;
}

// A tray event or record carries the icon of the main window.
void ExpectTrayEvent(const SimEvent& e, Hwnd main) {
    EXPECT_EQ(e.hwnd, main);
    EXPECT_EQ(e.b, 10);
    EXPECT_EQ(e.c, 7);
    EXPECT_EQ(e.d, 1001);
    EXPECT_EQ(e.text.substr(0, e.text.find('\n')), "Remote Control");
}

class StartTest : public ::testing::Test {
  protected:
    StartTest() { desk.SetRegDword(kSettingsKey, "DBM", 1); }
    SimDesktop desk;
    System sys{desk};
};

TEST_F(StartTest, SecondCopyEndsAtOnce) {
    desk.AddWindow("Remote Control", "Remote Control", false);
    PlugAf9015(desk);
    EXPECT_EQ(RunRemoteControl(sys), 0);
    EXPECT_EQ(desk.MainWindow(), 0u);
    EXPECT_TRUE(desk.Log().empty());  // no icon, no trace, no timer
    EXPECT_EQ(desk.LoadLibraryCount("af15bdaex.dll"), 0);
    EXPECT_EQ(desk.RegValueNames(kSettingsKey), std::vector<std::string>{"DBM"});
}

TEST_F(StartTest, ReadyReceiverPollsFromAHiddenWindowWithItsIcon) {
    PlugAf9015(desk);
    desk.SetRegString(kVistaMceKey, "Ident", "5.0");
    desk.SetRegDword(kSettingsKey, "DefaultTVAPP", 5);
    desk.SetSystemMetric(win::kSmCxFullScreen, 1600);
    sys.traceOn = true;  // to see the bring-up's lines, written before the settings are read
    EXPECT_EQ(RunRemoteControl(sys), 0);
    Hwnd main = desk.MainWindow();
    ASSERT_NE(main, 0u);
    EXPECT_EQ(sys.mainWindow, main);
    EXPECT_EQ(desk.WindowClass(main), "Remote Control");
    EXPECT_EQ(desk.WindowTitle(main), "Remote Control");
    EXPECT_FALSE(desk.IsWindowVisible(main));

    // Creation: bring-up, Media Center's presence, pointer area, then the icon.
    int bringUp = IndexOf(desk, Kind::Trace, -1, P + "WM_CREATE");
    int added = IndexOf(desk, Kind::TrayIcon, win::kNimAdd);
    ASSERT_GE(bringUp, 0);
    EXPECT_LT(bringUp, IndexOf(desk, Kind::LibraryCall, -1, "af15_init"));
    EXPECT_LT(IndexOf(desk, Kind::LibraryCall, -1, "af15_init"), added);
    EXPECT_EQ(App(sys, kMediaCenter)->bInstalled, 1);
    EXPECT_EQ(sys.pointer.right, 1599);
    auto icons = desk.TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].cbSize, 88u);
    EXPECT_EQ(icons[0].hWnd, main);
    EXPECT_EQ(icons[0].uID, 10u);
    EXPECT_EQ(icons[0].uFlags, 7u);
    EXPECT_EQ(icons[0].uCallbackMessage, 1001u);
    EXPECT_EQ(icons[0].hIcon, desk.LoadIconA(50));
    EXPECT_STREQ(icons[0].szTip, "Remote Control\nAF9015 ready");

    // Then the settings, and polling.
    EXPECT_EQ(sys.nCurRemoteTV, 5u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 0u);
    ASSERT_EQ(sys.bDeviceReady, 1);
    EXPECT_EQ(desk.Traces().back(), P + "StartGPIOTimer");
    EXPECT_EQ(IndexOf(desk, Kind::Trace, -1, P + "StartChkUSBTimer"), -1);
    auto set = desk.Events(Kind::TimerSet);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].hwnd, main);
    EXPECT_EQ(set[0].a, 1);
    EXPECT_EQ(set[0].b, 65);
    EXPECT_LT(added, IndexOf(desk, Kind::TimerSet));
    EXPECT_EQ(desk.KillTimerCount(), 0);  // binding kills idle slots only
    EXPECT_EQ(sys.appWatchTimer.window, main);
    EXPECT_EQ(desk.LoadedAccelerators(), 23);
}

TEST_F(StartTest, ReceiverNotReadyStartsTheWatchdog) {
    sys.bDeviceReady = 0;  // no stick is plugged in
    RunRemoteControl(sys);
    Hwnd main = desk.MainWindow();
    ASSERT_EQ(sys.bDeviceReady, 0);
    EXPECT_EQ(desk.Traces().back(), P + "StartChkUSBTimer");
    auto set = desk.Events(Kind::TimerSet);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].a, 3);
    EXPECT_EQ(set[0].b, 3000);
    EXPECT_FALSE(desk.TimerArmed(main, 1));
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

TEST_F(StartTest, AlwaysRemoteOffEndsWithoutTimerLoopOrIcon) {
    desk.SetRegDword(kSettingsKey, "AlwaysRemoteOff", 1);
    PlugAf9015(desk);
    EXPECT_EQ(RunRemoteControl(sys), 0);
    Hwnd main = desk.MainWindow();
    ASSERT_NE(main, 0u);
    EXPECT_EQ(desk.SetTimerCount(), 0);
    EXPECT_EQ(desk.LoadedAccelerators(), 0);
    EXPECT_TRUE(desk.Traces().empty());
    EXPECT_TRUE(desk.RegValueExists(kSettingsKey, "DefaultLaunchAp"));  // still read
    // The icon added during creation is taken away again.
    EXPECT_TRUE(desk.TrayIcons().empty());
    int removed = IndexOf(desk, Kind::TrayIcon, win::kNimDelete);
    ASSERT_GT(removed, IndexOf(desk, Kind::TrayIcon, win::kNimAdd));
    EXPECT_EQ(desk.Log()[removed].hwnd, main);
    EXPECT_EQ(desk.Log()[removed].b, 10);

    // Any other number runs.
    SimDesktop d;
    System s(d);
    d.SetRegDword(kSettingsKey, "AlwaysRemoteOff", 2);
    RunRemoteControl(s);
    EXPECT_EQ(d.SetTimerCount(), 1);
    EXPECT_EQ(d.LoadedAccelerators(), 23);
}

const std::string kExample = "C:\\Program Files\\Remote Control\\applications.example.ini";
const std::string kUserFolder = "C:\\Users\\Ada\\AppData\\Roaming\\Remote Control";
const std::string kUserFile = kUserFolder + "\\applications.ini";

TEST_F(StartTest, TheExampleBesideTheProgramBecomesTheUsersKeyMapsOnceTheTimerRuns) {
    desk.SetFileText(kExample, "[Player]\r\nExe = player.exe\r\n");
    RunRemoteControl(sys);
    EXPECT_EQ(desk.FileText(kUserFile), "[Player]\r\nExe = player.exe\r\n");
    auto writes = desk.Events(Kind::FileWrite);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].text, kUserFolder);
    EXPECT_EQ(writes[1].text, kUserFile);
    EXPECT_EQ(writes[1].text2, kExample);
    EXPECT_LT(IndexOf(desk, Kind::TimerSet), IndexOf(desk, Kind::FileWrite));
    EXPECT_EQ(desk.Traces().back(),
              P + "User applications: applications.example.ini copied to " + kUserFile);
}

TEST_F(StartTest, TheUsersOwnKeyMapsAreKeptAndNoExampleMeansNoFile) {
    desk.SetFileText(kExample, "[Player]\r\n");
    desk.SetFileText(kUserFile, "; mine\r\n");
    RunRemoteControl(sys);
    EXPECT_EQ(desk.FileText(kUserFile), "; mine\r\n");
    EXPECT_TRUE(desk.Events(Kind::FileWrite).empty());

    SimDesktop d;  // the zip: the program alone
    System s(d);
    RunRemoteControl(s);
    EXPECT_EQ(d.GetFileAttributesA(kUserFolder.c_str()), win::kInvalidFileAttributes);
    EXPECT_TRUE(d.Events(Kind::FileWrite).empty());
}

// A running process: the main window exists, the settings are read.
class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        desk.SetRegDword(kSettingsKey, "DBM", 1);
        RunRemoteControl(sys);
        main = desk.MainWindow();
        sys.bDeviceReady = 1;
        desk.ClearLog();
    }
    std::intptr_t Tray(std::intptr_t mouseMessage) {
        return desk.SendToMainWindow(1001, 10, mouseMessage);
    }
    std::intptr_t Command(std::uintptr_t id) {
        return desk.SendToMainWindow(win::kWmCommand, id, 0);
    }
    // The last menu as "flags:id:label" items.
    std::vector<std::string> Menu() {
        std::vector<std::string> out;
        for (const SimMenuItem& m : desk.LastMenu()) {
            out.push_back(std::to_string(m.flags) + ":" + std::to_string(m.id) + ":" + m.text);
        }
        return out;
    }
    SimDesktop desk;
    System sys{desk};
    Hwnd main = 0;
};

TEST_F(MainWindowTest, MenuFollowsTheReceiverAndTheCurrentApplication) {
    const std::vector<std::string> tail = {"0:1301:Button monitor...", "0:1303:Key maps...",
                                           "0:30:About", "2048:0:", "0:1201:Exit"};
    sys.bDeviceReady = 0;
    sys.nCurRemoteTV = 4;
    desk.SetRegString(kVistaMceKey, "Ident", "5.0");
    EXPECT_EQ(Tray(win::kWmRButtonDown), 0);
    EXPECT_EQ(Menu(), tail);
    EXPECT_EQ(Count(desk, Kind::Trace), 0);

    sys.bDeviceReady = 1;
    std::vector<std::string> plain = {"2048:0:", "0:32:Setting", "0:1302:Show buttons on screen",
                                      "2048:0:"};
    plain.insert(plain.end(), tail.begin(), tail.end());
    desk.DeleteRegKey(kVistaMceKey);
    for (std::uint32_t current : {9u, 1u, 2u, 4u, 5u, 6u, 0u, 3u, 7u, 8u, 10u, 1104u}) {
        SCOPED_TRACE(current);
        sys.nCurRemoteTV = current;  // nothing is installed
        Tray(win::kWmLButtonDown);
        EXPECT_EQ(Menu(), plain);
    }
    EXPECT_EQ(desk.Traces().back(), P + "Find USB Device");

    desk.SetRegString(kVistaMceKey, "Ident", "5.0");
    sys.nCurRemoteTV = 4;
    Tray(win::kWmLButtonDown);
    ASSERT_EQ(Menu().size(), 10u);
    EXPECT_EQ(Menu()[0], "0:1104:Media Center Edition");
    Hwnd mce = test::OpenAppWindow(desk, kMediaCenter);
    Tray(win::kWmLButtonDown);
    EXPECT_EQ(Menu()[0], "8:1104:Media Center Edition");  // checked while its window is open
    desk.RemoveWindow(mce);
    Tray(win::kWmLButtonDown);
    EXPECT_EQ(Menu()[0], "0:1104:Media Center Edition");
    EXPECT_EQ(desk.OpenMenuCount(), 1);  // one menu object lives at a time
}

TEST_F(MainWindowTest, ButtonDownOpensTheMenuAtTheCursorOtherMouseMessagesDoNot) {
    for (std::intptr_t other : {0x202, 0x205, 0x203, 0x206, 0x207, 0x208, 0x20A, 0}) {
        EXPECT_EQ(Tray(other), 0);
    }
    EXPECT_TRUE(desk.Log().empty());

    desk.SetCursor(Point{300, 700});
    Tray(win::kWmLButtonDown);
    int foreground = IndexOf(desk, Kind::SetForeground);
    int menu = IndexOf(desk, Kind::MenuTracked);
    int nullPosted = IndexOf(desk, Kind::PostMessage, win::kWmNull);
    ASSERT_GE(foreground, 0);
    EXPECT_EQ(desk.Log()[foreground].hwnd, main);
    ASSERT_GT(menu, foreground);
    EXPECT_EQ(desk.Log()[menu].a, 300);
    EXPECT_EQ(desk.Log()[menu].b, 700);
    ASSERT_GT(nullPosted, menu);  // so that the menu closes on a click elsewhere
    EXPECT_EQ(desk.Log()[nullPosted].hwnd, main);
    Tray(win::kWmRButtonDown);
    EXPECT_EQ(Count(desk, Kind::MenuTracked), 2);
}

TEST_F(MainWindowTest, MouseMoveReappliesTheIcon) {
    EXPECT_EQ(Tray(win::kWmMouseMove), 0);
    auto events = desk.Events(Kind::TrayIcon);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].a, win::kNimModify);
    ExpectTrayEvent(events[0], main);
}

TEST_F(MainWindowTest, ExitRemovesTheIconAndQuits) {
    desk.onTrackPopupMenu = [](const std::vector<SimMenuItem>&) { return std::uintptr_t{1201}; };
    Tray(win::kWmRButtonDown);
    EXPECT_FALSE(desk.QuitPosted());  // the choice arrives as a posted command
    desk.Pump();
    EXPECT_TRUE(desk.TrayIcons().empty());
    int removed = IndexOf(desk, Kind::TrayIcon, win::kNimDelete);
    ASSERT_GE(removed, 0);
    EXPECT_EQ(desk.Log()[removed].hwnd, main);
    EXPECT_EQ(desk.Log()[removed].b, 10);
    EXPECT_TRUE(desk.QuitPosted());
    EXPECT_EQ(desk.QuitCode(), 0);

    SimDesktop d;  // the command without a menu entry does the same
    System s(d);
    RunRemoteControl(s);
    EXPECT_EQ(d.SendToMainWindow(win::kWmCommand, 31, 0), 0);
    EXPECT_TRUE(d.TrayIcons().empty());
    EXPECT_TRUE(d.QuitPosted());
}

TEST_F(MainWindowTest, CommandsChangeTheRunningProcessOnly) {
    const std::pair<std::uintptr_t, std::uint32_t> items[] = {{1102, 2}, {1104, 4}, {1105, 5},
                                                              {1109, 9}, {1101, 1}, {1106, 6}};
    for (auto [id, app] : items) {
        SCOPED_TRACE(id);
        sys.nCurRemoteTV = 3;
        EXPECT_EQ(Command(id), 0);
        EXPECT_EQ(sys.nCurRemoteTV, app);
    }
    EXPECT_EQ(Command(1202), 0);
    EXPECT_EQ(sys.bLaunchap, 1u);
    Command((1u << 16) | 1202);  // an accelerator's notification code is ignored
    EXPECT_EQ(sys.bLaunchap, 0u);
    Command(1202);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 9u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 0u);

    for (std::uintptr_t id : {0u, 1u, 33u, 1100u, 1103u, 1107u, 1200u, 1203u}) {
        Command(id);
    }
    EXPECT_EQ(sys.nCurRemoteTV, 6u);
    EXPECT_EQ(sys.bLaunchap, 1u);
    EXPECT_FALSE(desk.QuitPosted());
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

// The user's own option: a standard user whom HKEY_LOCAL_MACHINE refuses
// still switches it, and the next start reads it.
TEST_F(MainWindowTest, ShowButtonsItemTogglesTheUsersOwnOption) {
    const std::string userKey = "HKEY_CURRENT_USER\\Software\\Orvalix Multimedia\\Remote Control";
    EXPECT_FALSE(sys.showButtons);
    desk.refuseAllAccess = true;
    EXPECT_EQ(Command(kCmdShowButtons), 0);
    EXPECT_TRUE(sys.showButtons);
    EXPECT_EQ(desk.RegValueType(userKey, "ShowButtons"), win::kRegDword);
    EXPECT_EQ(desk.RegDword(userKey, "ShowButtons"), 1u);
    Tray(win::kWmLButtonDown);
    EXPECT_EQ(Menu()[2], "8:1302:Show buttons on screen");
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);

    SimDesktop next;
    next.SetRegDword(userKey, "ShowButtons", 1);
    System nextSys{next};
    RunRemoteControl(nextSys);
    EXPECT_TRUE(nextSys.showButtons);

    Command(kCmdShowButtons);
    EXPECT_FALSE(sys.showButtons);
    EXPECT_EQ(desk.RegDword(userKey, "ShowButtons"), 0u);
}

TEST_F(MainWindowTest, AboutAndSettingOpenTheirDialogs) {
    EXPECT_EQ(Command(30), 0);
    EXPECT_EQ(Command(32), 0);
    auto opened = desk.Events(Kind::DialogOpened);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].a, 21);
    EXPECT_EQ(opened[1].a, 20);
}

TEST_F(MainWindowTest, DisplayChangeResizesThePointerArea) {
    EXPECT_EQ(desk.SendToMainWindow(win::kWmDisplayChange, 32, (1080 << 16) | 1920), 0);
    EXPECT_EQ(sys.pointer.right, 1919);
    EXPECT_EQ(sys.pointer.bottom, 1079);
    EXPECT_EQ(sys.pointer.largeStep, 24);
}

TEST_F(MainWindowTest, TaskbarCreatedAddsTheIconAgainAlsoWhenElevated) {
    std::uint32_t taskbarCreated = desk.RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    EXPECT_TRUE(desk.MessageAllowed(main, taskbarCreated));
    desk.elevated = true;  // the filter set at start lets Explorer's message through
    desk.RestartExplorer();
    auto events = desk.Events(Kind::TrayIcon);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].a, win::kNimAdd);
    ExpectTrayEvent(events[0], main);
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

TEST_F(StartTest, AFailedIconAddIsRetriedEvery2SecondsForUpTo2Minutes) {
    desk.failTrayAdds = 3;  // Explorer still starting
    RunRemoteControl(sys);
    Hwnd main = desk.MainWindow();
    EXPECT_TRUE(desk.TrayIcons().empty());
    desk.Advance(5999);
    EXPECT_TRUE(desk.TrayIcons().empty());
    desk.Advance(1);
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
    EXPECT_EQ(Count(desk, Kind::TrayIcon, win::kNimAdd), 4);
    EXPECT_FALSE(desk.TimerArmed(main, 10));

    // Explorer never answers: the retries end after 2 minutes, and the next
    // "TaskbarCreated" tries again.
    desk.failTrayAdds = 1000;
    desk.RestartExplorer();
    desk.Advance(130000);
    EXPECT_EQ(Count(desk, Kind::TrayIcon, win::kNimAdd), 4 + 1 + 60);
    EXPECT_FALSE(desk.TimerArmed(main, 10));
    desk.failTrayAdds = 0;
    desk.RestartExplorer();
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

TEST_F(StartTest, AnAddThatTimedOutButLandedIsNotAddedTwice) {
    desk.trayAddTimesOut = true;
    RunRemoteControl(sys);
    desk.Advance(4000);
    EXPECT_EQ(Count(desk, Kind::TrayIcon, win::kNimAdd), 1);
    EXPECT_EQ(Count(desk, Kind::TrayIcon, win::kNimModify), 1);
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
    EXPECT_FALSE(desk.TimerArmed(desk.MainWindow(), 10));
}

TEST(Start, APlantedVendorLibraryIsNeverLoaded) {
    for (bool lacksDefaultDllDirectories : {false, true}) {
        SCOPED_TRACE(lacksDefaultDllDirectories ? "SetDllDirectoryA" : "SetDefaultDllDirectories");
        SimDesktop desk;
        desk.lacksDefaultDllDirectories = lacksDefaultDllDirectories;
        desk.PlantLibrary("af9100ex.dll");  // in the current folder, not installed
        System sys(desk);
        RunRemoteControl(sys);
        EXPECT_EQ(desk.LoadLibraryCount("af9100ex.dll"), 1);
        EXPECT_EQ(sys.libs.af9100Module, 0u);
    }
}

TEST(MainWindow, DestroyRemovesTheIconQuitsAndClosesTheHidChannel) {
    SimDesktop desk;
    SimDesktop::HidDevice receiver;
    receiver.path = "\\\\?\\hid#conexant";
    receiver.usagePage = 0xFFAA;
    receiver.usage = 0x77;
    desk.AddHidDevice(receiver);
    System sys(desk);
    RunRemoteControl(sys);
    ASSERT_EQ(desk.OpenHidHandles(), 1);
    EXPECT_EQ(desk.SendToMainWindow(win::kWmDestroy, 0, 0), 0);
    EXPECT_TRUE(desk.TrayIcons().empty());
    EXPECT_TRUE(desk.QuitPosted());
    EXPECT_EQ(desk.OpenHidHandles(), 0);
    EXPECT_EQ(desk.SessionWindow(), 0u);
}

// --- Sleep and sessions ------------------------------------------------------------

// The program, started over an AF9015 stick with the trace on.
struct Program {
    SimDesktop desk;
    std::unique_ptr<System> sys;  // made by Start, once the registry is set
    Hwnd main = 0;
    int stick = 0;

    Program() {
        desk.SetRegDword(kSettingsKey, "DBM", 1);
        desk.InstallLibrary("af15bdaex.dll");
        desk.InstallLibrary("af9100ex.dll");
        desk.Entry("af15_init").defaultResult = 1;
        desk.Entry("af15_GetIR").defaultResult = 1;
        stick = desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");
    }
    void Start() {
        sys = std::make_unique<System>(desk);
        RunRemoteControl(*sys);
        main = desk.MainWindow();
        desk.ClearLog();
    }
    // WM_POWERBROADCAST, sent as Windows sends it; then the queue.
    void Power(std::uintptr_t event) {
        EXPECT_EQ(desk.SendToMainWindow(win::kWmPowerBroadcast, event, 0), 1);
        desk.Pump();
    }
    bool Polling() const { return desk.TimerArmed(main, 1); }
    bool Watching() const { return desk.TimerArmed(main, 3); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (const std::string& line : desk.Traces()) {
            out.push_back(test::Untraced(line));
        }
        return out;
    }
    bool Traced(const std::string& text) const {
        const std::vector<std::string> lines = Lines();
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
    // One press of the num1 button (KeyCode 4), read by the next poll tick.
    void Press() {
        desk.af15Buffers.push_back({7, 0, 0x1E});
        desk.Advance(65);
    }
};

int LibraryCalls(const SimDesktop& desk, const std::string& entry) {
    const std::vector<std::string> calls = desk.LibraryCalls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), entry));
}

// With the trace on, each press read leaves one line with its outcome.
TEST(Presses, EachPressIsTracedWithItsOutcome) {
    Program p;
    p.Start();
    p.Press();
    p.desk.Advance(1000);
    test::OpenAppWindow(p.desk, kPallamo);
    p.Press();
    p.Press();
    std::vector<std::string> presses;
    for (const std::string& line : p.Lines()) {
        if (line.rfind("Press: ", 0) == 0) {
            presses.push_back(line);
        }
    }
    EXPECT_EQ(presses, (std::vector<std::string>{
                           "Press: num1 \xE2\x86\x92 pointer [pointer left]",
                           "Press: num1 \xE2\x86\x92 Pallamo [message 3000 (10001)]",
                           "Press: num1: Pallamo does nothing with a held button (held)"}));
}

TEST(Power, ASuspendStopsPollingAndTheWatchdogUntilTheResume) {
    for (bool plugged : {true, false}) {
        SCOPED_TRACE(plugged ? "polling" : "watching");
        Program p;
        if (!plugged) {
            p.desk.RemoveFilter(p.stick);
        }
        p.Start();
        ASSERT_NE(p.Polling(), p.Watching());

        p.Power(win::kPbtApmSuspend);
        EXPECT_FALSE(p.Polling());
        EXPECT_FALSE(p.Watching());
        p.desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");
        const int searches = p.desk.CategoryOpenCount();
        p.Press();
        p.desk.Advance(60000);
        EXPECT_TRUE(p.desk.LibraryCalls().empty());
        EXPECT_EQ(p.desk.CategoryOpenCount(), searches) << "no detection either";
        EXPECT_EQ(p.Lines(), (std::vector<std::string>{"PBT_APMSUSPEND", "Release the receiver"}));
    }
}

TEST(Power, EitherResumeMessageOrBothInAnyOrderGiveOneBringUp) {
    constexpr std::uintptr_t kSuspend = win::kPbtApmSuspend;
    constexpr std::uintptr_t kAutomatic = win::kPbtApmResumeAutomatic;
    constexpr std::uintptr_t kByAPerson = win::kPbtApmResumeSuspend;
    const struct {
        const char* name;
        std::vector<std::uintptr_t> events;
        int bringUps;
    } cases[] = {
        {"automatic", {kSuspend, kAutomatic}, 1},
        {"by a person", {kSuspend, kByAPerson}, 1},
        {"automatic, then by a person", {kSuspend, kAutomatic, kByAPerson}, 1},
        {"by a person, then automatic", {kSuspend, kByAPerson, kAutomatic}, 1},
        {"no suspend before", {kAutomatic}, 1},
        {"no suspend before, both", {kAutomatic, kByAPerson}, 1},
        {"two resumes, the second suspend unheard", {kSuspend, kAutomatic, kAutomatic}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Program p;
        p.Start();
        for (std::uintptr_t event : c.events) {
            p.Power(event);
        }
        p.desk.Advance(3000);
        EXPECT_EQ(LibraryCalls(p.desk, "af15_init"), c.bringUps);
        EXPECT_TRUE(p.Polling());
        EXPECT_FALSE(p.Watching());
        EXPECT_EQ(p.sys->bDeviceReady, 1);
    }
}

// Pulled and plugged in again, or asleep and woken: the same bring-up, the
// same automatic launch.
TEST(Power, AResumeBringsTheStickUpAsARePlugDoes) {
    struct Outcome {
        std::vector<std::string> calls, launches, lines;
    };
    // One program at a time: the library entry points answer the newest
    // desktop.
    auto run = [](std::uint32_t launchAp, bool replug) {
        Program p;
        test::InstallAllApps(p.desk);
        p.desk.SetRegDword(kSettingsKey, "DefaultTVAPP", kPallamo);
        p.desk.SetRegDword(kSettingsKey, "DefaultLaunchAp", launchAp);
        p.Start();
        if (replug) {
            p.desk.RemoveFilter(p.stick);
            p.desk.Advance(65);
            p.desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");
            p.desk.ClearLog();
            p.desk.Advance(3000);
        } else {
            p.Power(win::kPbtApmSuspend);
            p.desk.ClearLog();
            p.Power(win::kPbtApmResumeAutomatic);
        }
        EXPECT_TRUE(p.Polling());
        Outcome out{p.desk.LibraryCalls(), {}, p.Lines()};
        for (const SimEvent& e : p.desk.Events(Kind::ShellExecute)) {
            out.launches.push_back(e.text + " " + e.text2);
        }
        return out;
    };
    for (std::uint32_t launchAp : {1u, 0u}) {
        SCOPED_TRACE(launchAp);
        const Outcome replugged = run(launchAp, true);
        const Outcome resumed = run(launchAp, false);
        EXPECT_EQ(resumed.calls, replugged.calls);
        EXPECT_EQ(resumed.launches, replugged.launches);
        EXPECT_EQ(resumed.launches.size(), launchAp);
        // The watchdog's lines, from its search on.
        auto from = std::find(resumed.lines.begin(), resumed.lines.end(), "Find 9015 Device");
        EXPECT_EQ(std::vector<std::string>(from, resumed.lines.end()), replugged.lines);
    }
}

TEST(Power, TheFirstPressAfterAResumeIsANewPress) {
    Program p;
    test::OpenAppWindow(p.desk, kPallamo);  // num1 goes to Pallamo as command 10001
    p.Start();
    p.Press();
    p.Power(win::kPbtApmSuspend);
    p.Power(win::kPbtApmResumeAutomatic);
    ASSERT_TRUE(p.Polling());
    p.desk.ClearLog();
    p.Press();  // 65 ms after the one before the suspend: it would be a repeat
    EXPECT_FALSE(p.Traced("bRepeatKey"));
    auto posted = p.desk.Events(Kind::PostMessage);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].a, 3000);
    EXPECT_EQ(posted[0].b, 10001);
}

// The watchdog's automatic launch shows a box (the program file is gone);
// the computer sleeps while it is open.
TEST(Power, ASuspendDuringTheWatchdogsLaunchKeepsItsBringUpFromPolling) {
    Program p;
    p.desk.SetRegDword(kSettingsKey, "DefaultTVAPP", kPowerCinema);
    p.desk.SetRegDword(kSettingsKey, "DefaultLaunchAp", 1);
    p.desk.SetRegString("SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "C:\\PC");
    p.desk.shellExecuteResult = 2;
    p.desk.RemoveFilter(p.stick);
    p.Start();
    ASSERT_TRUE(p.Watching());
    bool asleep = false;
    p.desk.onMessageBox = [&](const std::string&, const std::string&) {
        if (!asleep) {
            asleep = true;
            p.Power(win::kPbtApmSuspend);
        }
        return win::kIdOk;
    };
    p.desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");
    p.desk.Advance(3000);
    ASSERT_TRUE(asleep);
    EXPECT_FALSE(p.Polling());
    EXPECT_FALSE(p.Watching());
    EXPECT_EQ(p.sys->bDeviceReady, 0);

    p.desk.onMessageBox = nullptr;
    p.desk.ClearLog();
    p.Power(win::kPbtApmResumeAutomatic);
    EXPECT_EQ(LibraryCalls(p.desk, "af15_init"), 1);
    EXPECT_TRUE(p.Polling());
}

// Several users: the copy in this program's session (1) and the console.
TEST(Sessions, TheTrayTipNamesTheFamilyInServiceOrTheSettingThatTurnedItOff) {
    SimDesktop desk;
    System sys{desk};
    sys.chipType = kChipConexant;
    EXPECT_EQ(TrayTipText(sys), "Remote Control\nConexant Polaris ready");
    sys.alwaysRemoteOff = true;
    EXPECT_EQ(TrayTipText(sys), "Remote Control\nreceiver off (AlwaysRemoteOff)");
}

// The tip's second line follows the receiver: pulled and plugged in, asleep
// and awake, the console away and back; one NIM_MODIFY per change.
TEST(Sessions, TheTrayTipSaysWhatTheReceiverIsDoing) {
    const std::string ready = "Remote Control\nAF9015 ready";
    const std::string waiting = "Remote Control\nno receiver \xE2\x80\x94 waiting for the stick";
    Program p;
    p.Start();
    ASSERT_EQ(p.desk.TrayIcons().size(), 1u);
    EXPECT_EQ(p.desk.TrayIcons()[0].szTip, ready);
    std::vector<std::string> tips;
    auto step = [&](auto&& change) {
        p.desk.ClearLog();
        change();
        for (const SimEvent& e : p.desk.Events(Kind::TrayIcon)) {
            EXPECT_EQ(e.a, win::kNimModify);
            tips.push_back(e.text);
        }
        EXPECT_EQ(p.desk.TrayIcons()[0].szTip, tips.empty() ? ready : tips.back());
    };
    step([&] {
        p.desk.RemoveFilter(p.stick);
        p.desk.Advance(65);
    });
    step([&] { p.desk.Advance(6000); });  // watchdog ticks without a stick: no change
    step([&] {
        p.stick = p.desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");
        p.desk.Advance(3000);
    });
    step([&] { p.Power(win::kPbtApmSuspend); });
    step([&] { p.Power(win::kPbtApmResumeAutomatic); });
    step([&] {
        p.desk.SwitchConsole(2);
        p.desk.Pump();
    });
    step([&] {
        p.desk.SwitchConsole(1);
        p.desk.Pump();
    });
    EXPECT_EQ(tips, (std::vector<std::string>{waiting, ready, waiting, ready, waiting, ready}));
}

TEST(Sessions, ACopyStartedAwayFromTheConsoleWaitsUntilTheConsoleComes) {
    Program p;
    p.desk.SetRegDword(kSettingsKey, "DefaultLaunchAp", 1);
    p.desk.consoleSession = 2;
    p.desk.AddHidDevice(test::ConexantReceiver());
    p.Start();
    EXPECT_EQ(p.desk.SessionWindow(), p.main);
    EXPECT_FALSE(p.Polling());
    EXPECT_FALSE(p.Watching());
    EXPECT_EQ(p.desk.CategoryOpenCount(), 0) << "no detection";
    EXPECT_EQ(p.desk.OpenHidHandles(), 0) << "the receiver's channel is the console copy's";
    EXPECT_EQ(p.sys->bDeviceReady, 0);
    p.desk.Advance(10000);
    EXPECT_TRUE(p.desk.LibraryCalls().empty());

    p.desk.SwitchConsole(1);
    p.desk.Pump();
    EXPECT_EQ(LibraryCalls(p.desk, "af15_init"), 1);
    EXPECT_TRUE(p.Polling());
    EXPECT_FALSE(p.Traced("Launch Ap")) << "the user comes back to the desktop as left";
}

TEST(Sessions, TheConsoleLeavingReleasesWithoutTheWatchdogAndComingBackBringsUp) {
    Program p;
    p.desk.RemoveFilter(p.stick);
    const int hid = p.desk.AddHidDevice(test::ConexantReceiver());
    p.desk.AddFilter(SimDesktop::kCrossbar, "Conexant Polaris Crossbar");
    p.Start();
    ASSERT_TRUE(p.Polling());
    ASSERT_EQ(p.desk.OpenHidHandles(), 1);

    p.desk.SwitchConsole(2);
    p.desk.Pump();
    EXPECT_FALSE(p.Polling());
    EXPECT_FALSE(p.Watching());
    EXPECT_EQ(p.desk.OpenHidHandles(), 0) << "opened exclusively: the other copy needs it";
    EXPECT_EQ(p.desk.OpenHidSets(), 0);
    p.desk.Hid(hid).featureCodes.push_back(8);
    p.desk.Advance(10000);
    EXPECT_EQ(p.desk.Hid(hid).featureCodes.size(), 1u) << "not read";

    p.desk.SwitchConsole(1);
    p.desk.Pump();
    EXPECT_TRUE(p.Polling());
    EXPECT_EQ(p.desk.OpenHidHandles(), 1);
    p.desk.Advance(65);
    EXPECT_TRUE(p.Traced("ACK=> Code =  (8)"));
}

TEST(Sessions, ACopyInARemoteDesktopSessionNeverPolls) {
    Program p;
    p.desk.SetSystemMetric(win::kSmRemoteSession, 1);
    p.Start();
    EXPECT_FALSE(p.Polling());
    EXPECT_FALSE(p.Watching());

    // Even told that its session is at the console.
    p.desk.SendToMainWindow(win::kWmWtsSessionChange, win::kWtsConsoleConnect, 1);
    p.Power(win::kPbtApmResumeAutomatic);
    p.desk.Advance(10000);
    EXPECT_FALSE(p.Polling());
    EXPECT_TRUE(p.desk.LibraryCalls().empty());
}

TEST(Sessions, ARemoteClientTakingTheSessionReleasesTheReceiverUntilItIsBackAtTheConsole) {
    Program p;
    p.Start();
    p.desk.ConnectRemote();
    p.desk.Pump();
    EXPECT_FALSE(p.Polling());
    EXPECT_FALSE(p.Watching());
    p.desk.Advance(10000);
    EXPECT_TRUE(p.desk.LibraryCalls().empty());

    p.desk.SwitchConsole(1);  // logged on at the console again
    p.desk.Pump();
    EXPECT_TRUE(p.Polling());
    EXPECT_EQ(LibraryCalls(p.desk, "af15_init"), 1);
}

TEST(Sessions, AResumeAwayFromTheConsoleLeavesTheReceiverToTheConsoleCopy) {
    Program p;
    p.Start();
    p.desk.SwitchConsole(2);
    p.desk.Pump();
    p.Power(win::kPbtApmSuspend);
    p.Power(win::kPbtApmResumeAutomatic);
    p.desk.Advance(10000);
    EXPECT_FALSE(p.Polling());
    EXPECT_TRUE(p.desk.LibraryCalls().empty());
}

TEST(Sessions, WithoutSessionEventsTheCopyUsesTheReceiverAsBefore) {
    Program p;
    p.desk.failSessionRegistration = true;
    p.desk.consoleSession = 2;
    p.Start();
    EXPECT_TRUE(p.Polling());
}

// --- The button monitor ---------------------------------------------------------

class MonitorTest : public MainWindowTest {
  protected:
    MonitorTest() {
        player = desk.AddWindow("PlayerClass", "My Film - Player");
        desk.SetProcessImage(static_cast<std::uint32_t>(player), "C:\\Apps\\player.exe");
        desk.SetForegroundWindow(player);
        desk.ClearLog();
    }
    Hwnd Open() {
        Command(kCmdButtonMonitor);
        return desk.FindWindowA("Remote Control Monitor", nullptr);
    }
    Hwnd List(Hwnd monitor) { return desk.FindControl(monitor, "SysListView32"); }
    void PressOf(std::uint32_t keyCode, bool repeat, const PressOutcome& outcome) {
        sys.onPressDone(sys, Press{keyCode, repeat}, outcome);
    }
    static PressOutcome Sent(PressTaker taker, const std::string& name, const std::string& what) {
        PressOutcome o;
        o.taker = taker;
        o.name = name;
        o.sent = what;
        return o;
    }
    Hwnd player = 0;
};

TEST_F(MonitorTest, TheOutcomeOfEachKindOfPressInOneLine) {
    using T = PressTaker;
    EXPECT_EQ(OutcomeText(Sent(T::kBuiltInApp, "TotalMedia", "Ctrl+Shift+P")),
              "TotalMedia: Ctrl+Shift+P");
    EXPECT_EQ(OutcomeText(Sent(T::kUserApp, "VLC", "WM_APPCOMMAND VOLUME_UP")),
              "VLC: WM_APPCOMMAND VOLUME_UP");
    EXPECT_EQ(OutcomeText(Sent(T::kPointer, "", "pointer up")), "pointer: pointer up");
    EXPECT_EQ(OutcomeText(Sent(T::kShutdownDialog, "", "opened")), "Shut Down dialog: opened");
    PressOutcome notSent;
    notSent.taker = T::kBuiltInApp;
    notSent.why = "TotalMedia is not in front";
    EXPECT_EQ(OutcomeText(notSent), "nothing sent: TotalMedia is not in front");
    EXPECT_EQ(OutcomeText(PressOutcome{}), "nothing sent");
}

TEST_F(MonitorTest, TheCommandOpensOneResizableWindowAndBringsItToTheFront) {
    Hwnd monitor = Open();
    ASSERT_NE(monitor, 0u);
    EXPECT_TRUE(desk.IsWindowVisible(monitor));
    EXPECT_EQ(desk.WindowTitle(monitor), "Button monitor");
    EXPECT_EQ(desk.WindowStyle(monitor) & win::kWsOverlappedWindow, win::kWsOverlappedWindow);
    EXPECT_EQ(desk.Foreground(), monitor);
    EXPECT_EQ(desk.ListColumns(List(monitor)),
              (std::vector<std::string>{"Time", "KeyCode", "Button", "Repeat", "Program in front",
                                        "What happened"}));
    desk.SendMessageA(monitor, win::kWmSetFocus, 0, 0);  // activated
    EXPECT_EQ(desk.Focus(), List(monitor)) << "the keyboard goes to the list";
    Point minMaxInfo{};
    desk.SendMessageA(monitor, win::kWmGetMinMaxInfo, 0,
                      reinterpret_cast<std::intptr_t>(&minMaxInfo));
    EXPECT_EQ(desk.MinTrackSize().x, 420) << "no smaller than its buttons side by side";
    EXPECT_EQ(desk.MinTrackSize().y, 300);
    desk.SetForegroundWindow(player);
    EXPECT_EQ(Open(), monitor);
    EXPECT_EQ(desk.Foreground(), monitor);
    EXPECT_EQ(desk.FindWindowExA(0, monitor, "Remote Control Monitor", nullptr), 0u);
}

TEST_F(MonitorTest, EveryPressGetsARowAtTheBottomKeptInView) {
    Hwnd list = List(Open());
    desk.SetForegroundWindow(player);  // the remote drives the player
    sys.nIRKEYType = k32Key;
    PressOf(67, false, Sent(PressTaker::kBuiltInApp, "TotalMedia", "launch"));
    PressOf(67, true, PressOutcome{});
    PressOf(200, false, PressOutcome{});
    auto rows = desk.ListRows(list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(desk.SendMessageA(list, win::kLvmGetItemCount, 0, 0), 3);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"18:04:05.120", "67", "power", "",
                                                 "player.exe [PlayerClass] \"My Film - Player\"",
                                                 "TotalMedia: launch"}));
    EXPECT_EQ(rows[1][3], "repeat");
    EXPECT_EQ(rows[1][5], "nothing sent");
    EXPECT_EQ(rows[2][2], "\xE2\x80\x94") << "no button of the layout sends 200";
    EXPECT_EQ(desk.ListInView(list), 2);
}

TEST_F(MonitorTest, TheLast200PressesAreKeptAlsoWhileTheWindowIsClosed) {
    for (std::uint32_t i = 0; i < 205; ++i) {
        PressOf(i % 100, false, PressOutcome{});
    }
    Hwnd list = List(Open());
    auto rows = desk.ListRows(list);
    ASSERT_EQ(rows.size(), 200u);
    EXPECT_EQ(rows.front()[1], "5");
    EXPECT_EQ(desk.ListInView(list), 199);
    PressOf(42, false, PressOutcome{});
    rows = desk.ListRows(list);
    ASSERT_EQ(rows.size(), 200u) << "the oldest row goes";
    EXPECT_EQ(rows.front()[1], "6");
    EXPECT_EQ(rows.back()[1], "42");
}

TEST_F(MonitorTest, BelowTheListTheReceiverAndTheProblemsOfTheKeyMapFile) {
    sys.chipType = kChipAf9015;
    sys.libs.af15Module = 0x4000;
    sys.gpioTimer.armed = true;
    desk.SetFileText(kUserFile, "[VLC]\nExe = vlc.exe\nvolupp = keys Up\n");
    Hwnd monitor = Open();
    std::string expected = "Receiver: AF9015, polling every 65 ms, library af15bdaex.dll\r\n";
    expected += "Key maps: ";
    expected += kUserFile;
    expected += " (problems at the last read:)\r\n";
    expected += "    applications.ini [VLC] \"volupp=keys Up\": skipped, unknown button";
    EXPECT_EQ(desk.ControlText(desk.FindControl(monitor, "EDIT")), expected);
    sys.gpioTimer.armed = false;
    sys.chkUsbTimer.armed = true;
    sys.chipType = kChipNone;
    EXPECT_EQ(ReceiverStateText(sys), "Receiver: no tuner found, watched for every 3 s");
}

TEST_F(MonitorTest, CopySectionPutsASectionForTheProgramInFrontOnTheClipboard) {
    Hwnd monitor = Open();
    Hwnd copy = desk.ControlById(monitor, 102);
    desk.ClickControl(copy);
    ASSERT_EQ(desk.Events(Kind::MessageBox).size(), 1u) << "no press made in another program yet";
    EXPECT_EQ(desk.ClipboardText(), "");

    desk.SetForegroundWindow(player);
    sys.nIRKEYType = k32Key;
    PressOf(67, false, PressOutcome{});
    PressOf(67, true, PressOutcome{});
    PressOf(200, false, PressOutcome{});
    PressOf(67, false, PressOutcome{});
    desk.SetForegroundWindow(monitor);
    PressOf(10, false, PressOutcome{});  // with the monitor in front: not the player's
    desk.ClickControl(copy);
    EXPECT_EQ(desk.ClipboardText(), "[player]\r\nExe = player.exe\r\n; power = \r\n; 200 = \r\n");

    desk.clipboardBusy = true;
    desk.ClickControl(copy);
    auto boxes = desk.Events(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "The clipboard is in use by another program. Try again.");
}

TEST_F(MonitorTest, EditKeyMapsMakesTheFileFromTheExampleAndOpensItInTheEditor) {
    desk.SetFileText(kExample, "[Player]\r\n");
    Hwnd monitor = Open();
    desk.shellExecuteResult = 31;  // SE_ERR_NOASSOC: no editor for .ini files
    desk.ClickControl(desk.ControlById(monitor, 103));
    EXPECT_EQ(desk.FileText(kUserFile), "[Player]\r\n");
    auto runs = desk.Events(Kind::ShellExecute);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, kUserFile);
    EXPECT_EQ(runs[0].text2, "edit|");
    EXPECT_EQ(runs[1].text, "notepad.exe");
    EXPECT_EQ(runs[1].text2, std::string("open|\"") + kUserFile + "\"");
}

TEST_F(MonitorTest, ItsKeyMapsButtonAndTheMenuOpenOneKeyMapsWindowOnTheFileMadeFromTheExample) {
    desk.SetFileText(kExample, "[Player]\r\nExe = player.exe\r\n");
    Hwnd monitor = Open();
    const int fonts = desk.OpenFonts();
    desk.ClickControl(desk.ControlById(monitor, 104));
    EXPECT_EQ(desk.FileText(kUserFile), "[Player]\r\nExe = player.exe\r\n");
    const Hwnd keyMaps = desk.FindWindowA("Remote Control Key Maps", nullptr);
    ASSERT_NE(keyMaps, 0u);
    EXPECT_EQ(desk.Foreground(), keyMaps);
    EXPECT_EQ(desk.ControlItems(desk.FindControl(keyMaps, "LISTBOX")),
              std::vector<std::string>{"Player"});
    desk.SetForegroundWindow(player);
    Command(kCmdKeyMaps);
    EXPECT_EQ(desk.Foreground(), keyMaps);
    EXPECT_EQ(desk.FindWindowExA(0, keyMaps, "Remote Control Key Maps", nullptr), 0u);

    desk.SetWindowPos(keyMaps, 0, 30, 20, 800, 560, win::kSwpNoZOrder);
    desk.SendMessageA(keyMaps, win::kWmCommand, win::kIdCancel, 0);  // Esc
    EXPECT_FALSE(desk.WindowExists(keyMaps));
    const std::string key = "HKEY_CURRENT_USER\\Software\\Orvalix Multimedia\\Remote Control";
    EXPECT_EQ(desk.RegDword(key, "KeyMapsRight"), 830u) << "it opens again where it was left";
    EXPECT_EQ(desk.OpenFonts(), fonts) << "its font deleted";
}

TEST_F(MonitorTest, AClosedWindowLeavesNothingBehindAndOpensWhereItWas) {
    desk.standardUser = true;
    Hwnd monitor = Open();
    EXPECT_EQ(desk.OpenFonts(), 1);
    desk.SetWindowPos(monitor, 0, 300, 200, 640, 420, win::kSwpNoZOrder);
    desk.SendMessageA(monitor, win::kWmCommand, win::kIdCancel, 0);  // Esc
    EXPECT_FALSE(desk.WindowExists(monitor));
    EXPECT_EQ(desk.OpenFonts(), 0);
    PressOf(5, false, PressOutcome{});  // kept for the next opening
    const std::string key = "HKEY_CURRENT_USER\\Software\\Orvalix Multimedia\\Remote Control";
    EXPECT_EQ(desk.RegDword(key, "MonitorLeft"), 300u);
    EXPECT_EQ(desk.RegDword(key, "MonitorBottom"), 620u);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
    monitor = Open();
    EXPECT_EQ(desk.WindowRect(monitor).left, 300);
    EXPECT_EQ(desk.WindowRect(monitor).right, 940);
    EXPECT_EQ(desk.ListRows(List(monitor)).size(), 1u);

    desk.SendMessageA(monitor, win::kWmCommand, win::kIdCancel, 0);
    desk.SetRegDword(key, "MonitorLeft", 5000);  // on a screen unplugged since
    desk.SetRegDword(key, "MonitorRight", 5640);
    monitor = Open();
    EXPECT_EQ(desk.WindowRect(monitor).left, 40) << "where Windows puts a new window";
}

}  // namespace
}  // namespace rc
