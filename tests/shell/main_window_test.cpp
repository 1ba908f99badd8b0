#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/app_record.h"
#include "core/system.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"
#include "platform/win_defs.h"
#include "settings/settings_store.h"

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
    EXPECT_EQ(e.text, "Remote Control");
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
    EXPECT_STREQ(icons[0].szTip, "Remote Control");

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
    const std::vector<std::string> tail = {"0:30:About", "2048:0:", "0:1201:Exit"};
    sys.bDeviceReady = 0;
    sys.nCurRemoteTV = 4;
    desk.SetRegString(kVistaMceKey, "Ident", "5.0");
    EXPECT_EQ(Tray(win::kWmRButtonDown), 0);
    EXPECT_EQ(Menu(), tail);
    EXPECT_EQ(Count(desk, Kind::Trace), 0);

    sys.bDeviceReady = 1;
    std::vector<std::string> plain = {"2048:0:", "0:32:Setting", "2048:0:"};
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
    ASSERT_EQ(Menu().size(), 7u);
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
}

}  // namespace
}  // namespace rc
