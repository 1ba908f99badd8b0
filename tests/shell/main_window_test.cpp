#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sim_desktop.h"
#include "platform/win_defs.h"
#include "settings/settings_store.h"
#include "shell/system.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;
const std::string kPrefix = "<Remote Control>  ";
const std::string kVistaMceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

// An AF9015 stick that comes up at start.
void PlugAf9015(SimDesktop& desk) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");
    desk.InstallLibrary("af15bdaex.dll");
    desk.InstallLibrary("af9100ex.dll");
    desk.Entry("af15_init").defaultResult = 1;
}

bool HasTrace(const SimDesktop& desk, const std::string& text) {
    auto lines = desk.Traces();
    return std::find(lines.begin(), lines.end(), kPrefix + text) != lines.end();
}

// Position of the first log entry of a kind (and NIM_ message for tray
// events), or -1.
int IndexOf(const SimDesktop& desk, Kind kind, std::int64_t a = -1) {
    const auto& log = desk.Log();
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].kind == kind && (a < 0 || log[i].a == a)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<SimEvent> TrayEvents(const SimDesktop& desk, std::uint32_t nim) {
    std::vector<SimEvent> out;
    for (const SimEvent& e : desk.Events(Kind::TrayIcon)) {
        if (e.a == nim) {
            out.push_back(e);
        }
    }
    return out;
}

void ExpectTrayRecord(const TrayIconData& icon, Hwnd main, Handle expectedIcon) {
    EXPECT_EQ(icon.cbSize, 88u);
    EXPECT_EQ(icon.hWnd, main);
    EXPECT_EQ(icon.uID, 10u);
    EXPECT_EQ(icon.uFlags, 7u);
    EXPECT_EQ(icon.uCallbackMessage, 1001u);
    EXPECT_EQ(icon.hIcon, expectedIcon);
    EXPECT_STREQ(icon.szTip, "Remote Control");
}

class StartTest : public ::testing::Test {
  protected:
    StartTest() { desk.SetRegDword(kSettingsKey, "DBM", 1); }
    SimDesktop desk;
    System sys{desk};
};

TEST_F(StartTest, SecondCopyEndsAtOnceWithoutTrace) {
    desk.AddWindow("Remote Control", "Remote Control", false);
    PlugAf9015(desk);
    EXPECT_EQ(RunRemoteControl(sys), 0);
    EXPECT_EQ(desk.MainWindow(), 0u);
    EXPECT_EQ(sys.mainWindow, 0u);
    EXPECT_TRUE(desk.Events(Kind::TrayIcon).empty());
    EXPECT_TRUE(desk.TrayIcons().empty());
    EXPECT_TRUE(desk.Traces().empty());
    EXPECT_EQ(desk.SetTimerCount(), 0);
    EXPECT_EQ(desk.LoadLibraryCount("af15bdaex.dll"), 0);
    EXPECT_EQ(desk.RegValueNames(kSettingsKey), std::vector<std::string>{"DBM"});
}

TEST_F(StartTest, ReadyReceiverStartsPollingFromAHiddenWindow) {
    PlugAf9015(desk);
    EXPECT_EQ(RunRemoteControl(sys), 0);
    Hwnd main = desk.MainWindow();
    ASSERT_NE(main, 0u);
    EXPECT_EQ(sys.mainWindow, main);
    EXPECT_EQ(desk.WindowClass(main), "Remote Control");
    EXPECT_EQ(desk.WindowTitle(main), "Remote Control");
    EXPECT_STREQ(sys.windowClass, "Remote Control");
    EXPECT_STREQ(sys.windowTitle, "Remote Control");
    EXPECT_FALSE(desk.IsWindowVisible(main));

    auto icons = desk.TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    ExpectTrayRecord(icons[0], main, desk.LoadIconA(50));

    // The settings were read after creation: DBM turned the trace on.
    EXPECT_TRUE(sys.traceOn);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 9u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 0u);

    ASSERT_EQ(sys.bDeviceReady, 1);
    EXPECT_TRUE(HasTrace(desk, "StartGPIOTimer"));
    EXPECT_FALSE(HasTrace(desk, "StartChkUSBTimer"));
    EXPECT_EQ(desk.Traces().back(), kPrefix + "StartGPIOTimer");
    auto set = desk.Events(Kind::TimerSet);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].hwnd, main);
    EXPECT_EQ(set[0].a, 1);
    EXPECT_EQ(set[0].b, 65);
    EXPECT_TRUE(desk.TimerArmed(main, 1));
    EXPECT_EQ(desk.KillTimerCount(), 0);  // binding kills idle slots only
    EXPECT_EQ(sys.chkUsbTimer.period, 3000u);
    EXPECT_EQ(sys.appWatchTimer.period, 500u);
    EXPECT_EQ(sys.appWatchTimer.window, main);
    EXPECT_EQ(desk.LoadedAccelerators(), 23);

    // The icon exists before polling starts.
    EXPECT_LT(IndexOf(desk, Kind::TrayIcon, win::kNimAdd), IndexOf(desk, Kind::TimerSet));
}

TEST_F(StartTest, ReceiverNotReadyStartsTheWatchdog) {
    sys.bDeviceReady = 0;  // no stick is plugged in
    EXPECT_EQ(RunRemoteControl(sys), 0);
    Hwnd main = desk.MainWindow();
    ASSERT_EQ(sys.bDeviceReady, 0);
    EXPECT_EQ(desk.Traces().back(), kPrefix + "StartChkUSBTimer");
    EXPECT_FALSE(HasTrace(desk, "StartGPIOTimer"));
    auto set = desk.Events(Kind::TimerSet);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].a, 3);
    EXPECT_EQ(set[0].b, 3000);
    EXPECT_TRUE(desk.TimerArmed(main, 3));
    EXPECT_FALSE(desk.TimerArmed(main, 1));
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

TEST_F(StartTest, AlwaysRemoteOffEndsWithoutTimerLoopOrIcon) {
    desk.SetRegDword(kSettingsKey, "AlwaysRemoteOff", 1);
    PlugAf9015(desk);
    EXPECT_EQ(RunRemoteControl(sys), 0);
    Hwnd main = desk.MainWindow();
    ASSERT_NE(main, 0u);
    EXPECT_TRUE(sys.alwaysRemoteOff);
    EXPECT_EQ(desk.SetTimerCount(), 0);
    EXPECT_EQ(desk.LoadedAccelerators(), 0);
    EXPECT_FALSE(HasTrace(desk, "StartGPIOTimer"));
    EXPECT_FALSE(HasTrace(desk, "StartChkUSBTimer"));
    // The icon added during creation is taken away again.
    EXPECT_TRUE(desk.TrayIcons().empty());
    auto removed = TrayEvents(desk, win::kNimDelete);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].hwnd, main);
    EXPECT_EQ(removed[0].b, 10);
    EXPECT_LT(IndexOf(desk, Kind::TrayIcon, win::kNimAdd),
              IndexOf(desk, Kind::TrayIcon, win::kNimDelete));
    // DefaultLaunchAp was still read (and created).
    EXPECT_TRUE(desk.RegValueExists(kSettingsKey, "DefaultLaunchAp"));
}

TEST_F(StartTest, AlwaysRemoteOffOtherThanOneRuns) {
    desk.SetRegDword(kSettingsKey, "AlwaysRemoteOff", 2);
    EXPECT_EQ(RunRemoteControl(sys), 0);
    EXPECT_EQ(desk.SetTimerCount(), 1);
    EXPECT_EQ(desk.LoadedAccelerators(), 23);
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

TEST_F(StartTest, StoredSettingsAreInForceWhenPollingStarts) {
    desk.SetRegDword(kSettingsKey, "DefaultTVAPP", 5);
    desk.SetRegDword(kSettingsKey, "Default44keyIR", 4);
    desk.SetRegDword(kSettingsKey, "DefaultLaunchAp", 1);
    RunRemoteControl(sys);
    EXPECT_EQ(sys.nCurRemoteTV, 5u);
    EXPECT_EQ(sys.nIRKEYType, 4u);
    EXPECT_EQ(sys.bLaunchap, 1u);
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
    int MenusShown() { return static_cast<int>(desk.Events(Kind::MenuTracked).size()); }
    SimDesktop desk;
    System sys{desk};
    Hwnd main = 0;
};

void ExpectMenu(const std::vector<SimMenuItem>& items,
                const std::vector<std::tuple<std::uint32_t, std::uintptr_t, std::string>>& want) {
    ASSERT_EQ(items.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].flags, std::get<0>(want[i]));
        EXPECT_EQ(items[i].id, std::get<1>(want[i]));
        EXPECT_EQ(items[i].text, std::get<2>(want[i]));
    }
}

TEST_F(MainWindowTest, MenuOfAReceiverNotReadyHoldsAboutAndExit) {
    sys.bDeviceReady = 0;
    EXPECT_EQ(Tray(win::kWmRButtonDown), 0);
    ExpectMenu(desk.LastMenu(), {{0, 30, "About"}, {0x800, 0, ""}, {0, 1201, "Exit"}});
    EXPECT_FALSE(HasTrace(desk, "Find USB Device"));
}

TEST_F(MainWindowTest, MenuOfAReadyReceiverWithoutTheCurrentApplication) {
    const std::vector<std::tuple<std::uint32_t, std::uintptr_t, std::string>> plain = {
        {0x800, 0, ""},   {0, 32, "Setting"}, {0x800, 0, ""},
        {0, 30, "About"}, {0x800, 0, ""},     {0, 1201, "Exit"}};
    for (std::uint32_t current : {9u, 1u, 2u, 4u, 5u, 6u, 0u, 3u, 7u, 8u, 10u, 1104u}) {
        SCOPED_TRACE(current);
        sys.nCurRemoteTV = current;  // nothing is installed
        Tray(win::kWmLButtonDown);
        ExpectMenu(desk.LastMenu(), plain);
    }
    EXPECT_TRUE(HasTrace(desk, "Find USB Device"));
}

TEST_F(MainWindowTest, CurrentApplicationItemIsCheckedWhileItsWindowIsOpen) {
    desk.SetRegString(kVistaMceKey, "Ident", "5.0");
    sys.nCurRemoteTV = 4;
    Tray(win::kWmLButtonDown);
    auto items = desk.LastMenu();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].flags, 0u);
    EXPECT_EQ(items[0].id, 1104u);
    EXPECT_EQ(items[0].text, "Media Center Edition");

    Hwnd mce = desk.AddWindow("eHome Render Window", "Windows Media Center");
    Tray(win::kWmLButtonDown);
    items = desk.LastMenu();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].flags, 8u);
    EXPECT_EQ(items[0].id, 1104u);

    desk.RemoveWindow(mce);
    Tray(win::kWmLButtonDown);
    EXPECT_EQ(desk.LastMenu()[0].flags, 0u);
}

TEST_F(MainWindowTest, ButtonDownOpensTheMenuOtherMouseMessagesDoNot) {
    for (std::intptr_t up : {0x202, 0x205, 0x203, 0x206, 0x207, 0x208, 0x20A, 0}) {
        EXPECT_EQ(Tray(up), 0);
    }
    EXPECT_EQ(MenusShown(), 0);
    EXPECT_TRUE(desk.Events(Kind::TrayIcon).empty());
    Tray(win::kWmLButtonDown);
    EXPECT_EQ(MenusShown(), 1);
    Tray(win::kWmRButtonDown);
    EXPECT_EQ(MenusShown(), 2);
    // One menu object lives at a time.
    EXPECT_EQ(desk.OpenMenuCount(), 1);
}

TEST_F(MainWindowTest, MenuOpensAtTheCursorInTheForegroundAndIsReleasedAfter) {
    desk.SetCursor(Point{300, 700});
    Tray(win::kWmRButtonDown);
    auto tracked = desk.Events(Kind::MenuTracked);
    ASSERT_EQ(tracked.size(), 1u);
    EXPECT_EQ(tracked[0].a, 300);
    EXPECT_EQ(tracked[0].b, 700);
    int foreground = IndexOf(desk, Kind::SetForeground);
    int menu = IndexOf(desk, Kind::MenuTracked);
    int nullPosted = IndexOf(desk, Kind::PostMessage, win::kWmNull);
    ASSERT_GE(foreground, 0);
    EXPECT_EQ(desk.Log()[foreground].hwnd, main);
    EXPECT_LT(foreground, menu);
    ASSERT_GT(nullPosted, menu);
    EXPECT_EQ(desk.Log()[nullPosted].hwnd, main);
}

TEST_F(MainWindowTest, MouseMoveReappliesTheIcon) {
    EXPECT_EQ(Tray(win::kWmMouseMove), 0);
    auto modified = TrayEvents(desk, win::kNimModify);
    ASSERT_EQ(modified.size(), 1u);
    EXPECT_EQ(modified[0].hwnd, main);
    EXPECT_EQ(modified[0].b, 10);
    EXPECT_EQ(modified[0].c, 7);
    EXPECT_EQ(modified[0].d, 1001);
    EXPECT_EQ(modified[0].text, "Remote Control");
    EXPECT_EQ(MenusShown(), 0);
}

TEST_F(MainWindowTest, ExitFromTheMenuRemovesTheIconAndQuits) {
    desk.onTrackPopupMenu = [](const std::vector<SimMenuItem>&) { return std::uintptr_t{1201}; };
    Tray(win::kWmRButtonDown);
    EXPECT_FALSE(desk.QuitPosted());  // the choice arrives as a posted command
    desk.Pump();
    EXPECT_TRUE(desk.TrayIcons().empty());
    auto removed = TrayEvents(desk, win::kNimDelete);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].hwnd, main);
    EXPECT_EQ(removed[0].b, 10);
    EXPECT_TRUE(desk.QuitPosted());
    EXPECT_EQ(desk.QuitCode(), 0);
}

TEST_F(MainWindowTest, BothExitCommandsRemoveTheIconAndQuit) {
    for (std::uintptr_t id : {1201u, 31u}) {
        SCOPED_TRACE(id);
        SimDesktop d;
        System s(d);
        RunRemoteControl(s);
        ASSERT_EQ(d.TrayIcons().size(), 1u);
        EXPECT_EQ(d.SendToMainWindow(win::kWmCommand, id, 0), 0);
        EXPECT_TRUE(d.TrayIcons().empty());
        EXPECT_TRUE(d.QuitPosted());
        EXPECT_EQ(d.QuitCode(), 0);
    }
}

TEST_F(MainWindowTest, MenuSwitchSetsTheCurrentApplicationInMemoryOnly) {
    const std::pair<std::uintptr_t, std::uint32_t> items[] = {{1102, 2}, {1104, 4}, {1105, 5},
                                                              {1109, 9}, {1101, 1}, {1106, 6}};
    for (auto [id, app] : items) {
        SCOPED_TRACE(id);
        sys.nCurRemoteTV = 3;
        EXPECT_EQ(Command(id), 0);
        EXPECT_EQ(sys.nCurRemoteTV, app);
        EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 9u);
    }
}

TEST_F(MainWindowTest, LaunchFlagIsInvertedInMemory) {
    ASSERT_EQ(sys.bLaunchap, 0u);
    EXPECT_EQ(Command(1202), 0);
    EXPECT_EQ(sys.bLaunchap, 1u);
    Command((1u << 16) | 1202);  // the notification code in the high word is ignored
    EXPECT_EQ(sys.bLaunchap, 0u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 0u);
}

TEST_F(MainWindowTest, UnknownCommandsChangeNothing) {
    for (std::uintptr_t id : {0u, 1u, 33u, 1100u, 1103u, 1107u, 1200u, 1203u}) {
        Command(id);
    }
    EXPECT_EQ(sys.nCurRemoteTV, 9u);
    EXPECT_EQ(sys.bLaunchap, 0u);
    EXPECT_FALSE(desk.QuitPosted());
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

TEST_F(MainWindowTest, DisplayChangeResizesThePointerArea) {
    EXPECT_EQ(desk.SendToMainWindow(win::kWmDisplayChange, 32, (768 << 16) | 1024), 0);
    EXPECT_EQ(sys.pointer.right, 1023);
    EXPECT_EQ(sys.pointer.bottom, 767);
    desk.SendToMainWindow(win::kWmDisplayChange, 32, (1080 << 16) | 1920);
    EXPECT_EQ(sys.pointer.right, 1919);
    EXPECT_EQ(sys.pointer.bottom, 1079);
    EXPECT_EQ(sys.pointer.largeStep, 24);
    EXPECT_EQ(sys.pointer.smallStep, 12);
}

TEST_F(MainWindowTest, TaskbarCreatedAddsTheIconAgain) {
    std::uint32_t taskbarCreated = desk.RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    EXPECT_EQ(desk.SendToMainWindow(taskbarCreated, 0, 0), 0);
    auto added = TrayEvents(desk, win::kNimAdd);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].hwnd, main);
    EXPECT_EQ(added[0].b, 10);
    EXPECT_EQ(added[0].c, 7);
    EXPECT_EQ(added[0].d, 1001);
    EXPECT_EQ(added[0].text, "Remote Control");
    ExpectTrayRecord(sys.trayIcon, main, desk.LoadIconA(50));
}

TEST_F(MainWindowTest, DestroyRemovesTheIconQuitsAndClosesTheHidChannel) {
    EXPECT_EQ(desk.SendToMainWindow(win::kWmDestroy, 0, 0), 0);
    EXPECT_TRUE(desk.TrayIcons().empty());
    EXPECT_TRUE(desk.QuitPosted());
    EXPECT_EQ(sys.hid.hidHandle, 0u);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
}

}  // namespace
}  // namespace rc
