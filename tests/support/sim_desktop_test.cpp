// The simulated desktop's behaviours that the other tests lean on: windows,
// messages, timers, dialogs, input and the system. Its parts have tests of
// their own (sim_registry_test, sim_devices_test, sim_libraries_test).
#include "support/sim_desktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/file_facts.h"
#include "platform/win_defs.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;

// A timer callback context: records "name@time" for every tick and runs an
// optional action inside the tick.
struct Ticks {
    SimDesktop* desk;
    std::vector<std::string>* out;
    std::string name;
    std::function<void()> action;
};

void OnTick(void* ctx, Hwnd, std::uintptr_t) {
    auto* t = static_cast<Ticks*>(ctx);
    t->out->push_back(t->name + "@" + std::to_string(t->desk->Now() - 100000));
    if (t->action) {
        t->action();
    }
}

// ----- Clock and timers -------------------------------------------------------

TEST(SimTimers, FireInDueOrderWithTiesInSettingOrder) {
    SimDesktop desk;
    std::vector<std::string> fired;
    Ticks a{&desk, &fired, "a", {}}, b{&desk, &fired, "b", {}}, c{&desk, &fired, "c", {}};
    EXPECT_EQ(desk.Now(), 100000u);
    EXPECT_EQ(desk.SetTimer(7, 2, 50, OnTick, &b), 2u);
    EXPECT_EQ(desk.SetTimer(7, 1, 50, OnTick, &a), 1u);
    desk.SetTimer(7, 3, 30, OnTick, &c);
    desk.Advance(100);
    EXPECT_EQ(fired,
              (std::vector<std::string>{"c@30", "b@50", "a@50", "c@60", "c@90", "b@100", "a@100"}));
    EXPECT_EQ(desk.Now(), 100100u);
    EXPECT_EQ(desk.SetTimerCount(), 3);
    EXPECT_EQ(desk.Events(Kind::TimerSet).size(), 3u);
}

TEST(SimTimers, SleepOverrunCoalescesToOneLateTick) {
    SimDesktop desk;
    std::vector<std::string> fired;
    bool slept = false;
    Ticks t{&desk, &fired, "t", {}};
    t.action = [&] {
        if (!slept) {
            slept = true;
            desk.Sleep(200);  // blocks three periods' worth
        }
    };
    desk.SetTimer(1, 1, 65, OnTick, &t);
    desk.Advance(65);
    EXPECT_EQ(fired, (std::vector<std::string>{"t@65"}));
    EXPECT_EQ(desk.Now(), 100265u);  // the pause moved the clock; nothing else fired
    desk.Advance(65);
    // One late tick at once, then on its period from there.
    EXPECT_EQ(fired, (std::vector<std::string>{"t@65", "t@265", "t@330"}));
    ASSERT_EQ(desk.Events(Kind::Sleep).size(), 1u);
    EXPECT_EQ(desk.Events(Kind::Sleep)[0].a, 200);
}

TEST(SimTimers, SleepAndSetNowFireNothing) {
    SimDesktop desk;
    std::vector<std::string> fired;
    Ticks t{&desk, &fired, "t", {}};
    desk.SetTimer(1, 1, 100, OnTick, &t);
    desk.Sleep(1000);
    EXPECT_TRUE(fired.empty());
    desk.Advance(0);  // ten periods missed: one tick, now
    EXPECT_EQ(fired, (std::vector<std::string>{"t@1000"}));
    desk.SetNow(500000);  // the timer keeps its phase relative to the clock
    EXPECT_EQ(desk.GetTickCount(), 500000u);
    desk.Advance(99);
    EXPECT_EQ(fired.size(), 1u);
    desk.Advance(1);
    EXPECT_EQ(fired.size(), 2u);
}

TEST(SimTimers, KilledInsideAnotherCallbackNeverFires) {
    SimDesktop desk;
    std::vector<std::string> fired;
    Ticks victim{&desk, &fired, "victim", {}};
    Ticks killer{&desk, &fired, "killer", [&] {
                     if (desk.TimerArmed(1, 2)) {
                         desk.KillTimer(1, 2);
                     }
                 }};
    desk.SetTimer(1, 1, 50, OnTick, &killer);
    desk.SetTimer(1, 2, 50, OnTick, &victim);  // same due time, set later
    desk.Advance(500);
    EXPECT_EQ(fired.front(), "killer@50");
    EXPECT_EQ(std::count(fired.begin(), fired.end(), std::string("victim@50")), 0);
    EXPECT_FALSE(desk.TimerArmed(1, 2));
    EXPECT_FALSE(desk.KillTimer(1, 2));  // already gone
    EXPECT_EQ(desk.KillTimerCount(), 2);
    EXPECT_EQ(desk.Events(Kind::TimerKilled).size(), 1u);
}

TEST(SimTimers, ReplacingRestartsThePhaseAndFailureSetsNothing) {
    SimDesktop desk;
    std::vector<std::string> fired;
    Ticks t{&desk, &fired, "t", {}};
    desk.SetTimer(1, 1, 100, OnTick, &t);
    desk.Advance(60);
    desk.SetTimer(1, 1, 100, OnTick, &t);
    desk.Advance(100);
    EXPECT_EQ(fired, (std::vector<std::string>{"t@160"}));
    desk.failSetTimer = true;
    EXPECT_EQ(desk.SetTimer(1, 9, 10, OnTick, &t), 0u);
    EXPECT_FALSE(desk.TimerArmed(1, 9));
    EXPECT_EQ(desk.SetTimerCount(), 3);
}

TEST(SimTimers, NestedAdvanceInsideACallbackAndADialog) {
    SimDesktop desk;
    std::vector<std::string> fired;
    Ticks poll{&desk, &fired, "poll", {}};
    Ticks opener{&desk, &fired, "open", {}};
    // The opener's tick runs a modal dialog whose script waits 200 ms: the
    // poll keeps ticking inside, and so does the opener itself.
    opener.action = [&] {
        if (desk.Now() != 100100) {
            return;
        }
        desk.onDialog = [&](Hwnd, std::uint32_t) { desk.Advance(200); };
        desk.DialogBoxParamA(
            107, 0,
            [](void*, Hwnd, std::uint32_t, std::uintptr_t, std::intptr_t) -> std::intptr_t {
                return 0;
            },
            nullptr);
    };
    desk.SetTimer(1, 1, 65, OnTick, &poll);
    desk.SetTimer(1, 2, 100, OnTick, &opener);
    desk.Advance(400);
    EXPECT_EQ(fired, (std::vector<std::string>{"poll@65", "open@100", "poll@130", "poll@195",
                                               "open@200", "poll@260", "open@300", "poll@325",
                                               "poll@390", "open@400"}));
    EXPECT_EQ(desk.Now(), 100400u);
}

// ----- Windows ---------------------------------------------------------------------

TEST(SimWindows, FindWindowExMatchesNullAsAnyAndContinuesAfterChild) {
    SimDesktop desk;
    Hwnd a = desk.AddWindow("Shell", "One");
    Hwnd b = desk.AddWindow("Other", "Two", false);
    Hwnd c = desk.AddWindow("Shell", "Two");
    Hwnd top = desk.GetDesktopWindow();
    EXPECT_EQ(desk.FindWindowExA(top, 0, "Shell", nullptr), a);
    EXPECT_EQ(desk.FindWindowExA(top, a, "Shell", nullptr), c);
    EXPECT_EQ(desk.FindWindowExA(top, c, "Shell", nullptr), 0u);
    EXPECT_EQ(desk.FindWindowExA(top, 0, nullptr, "Two"), b);  // hidden windows count
    EXPECT_EQ(desk.FindWindowExA(0, b, nullptr, "two"), c);    // case-insensitive
    EXPECT_EQ(desk.FindWindowExA(top, 0, nullptr, nullptr), a);
    EXPECT_EQ(desk.FindWindowExA(top, 0, "Shell", ""), 0u);  // "" is an empty title, not any
    EXPECT_EQ(desk.FindWindowExA(top, 0x999, nullptr, nullptr), 0u);
    EXPECT_EQ(desk.FindWindowExA(a, 0, nullptr, nullptr), 0u);  // no child windows
    EXPECT_EQ(desk.FindWindowA("other", nullptr), b);
    desk.RemoveWindow(a);
    EXPECT_EQ(desk.FindWindowA("Shell", nullptr), c);
    EXPECT_FALSE(desk.IsWindow(a));
    EXPECT_FALSE(desk.IsWindowVisible(b));
    EXPECT_TRUE(desk.IsWindowVisible(c));
}

TEST(SimWindows, GetWindowWalksInListOrderAndClassNamesTruncate) {
    SimDesktop desk;
    Hwnd a = desk.AddWindow("AlphaClass", "");
    Hwnd b = desk.AddWindow("B", "");
    EXPECT_EQ(desk.GetWindow(desk.GetDesktopWindow(), win::kGwChild), a);
    EXPECT_EQ(desk.GetWindow(a, win::kGwHwndNext), b);
    EXPECT_EQ(desk.GetWindow(b, win::kGwHwndNext), 0u);
    EXPECT_EQ(desk.GetWindow(a, win::kGwChild), 0u);
    char buf[6];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(desk.GetClassNameA(a, buf, sizeof buf), 5);
    EXPECT_STREQ(buf, "Alpha");
    EXPECT_EQ(desk.GetClassNameA(0x999, buf, sizeof buf), 0);
    SimDesktop empty;
    EXPECT_EQ(empty.GetWindow(empty.GetDesktopWindow(), win::kGwChild), 0u);
}

TEST(SimWindows, ActivationIsLoggedAndCanBeRefused) {
    SimDesktop desk;
    Hwnd w = desk.AddWindow("C", "T");
    EXPECT_TRUE(desk.SetForegroundWindow(w));
    EXPECT_EQ(desk.Foreground(), w);
    Hwnd v = desk.AddWindow("D", "U");
    desk.refuseForeground = true;
    EXPECT_FALSE(desk.SetForegroundWindow(v));
    EXPECT_EQ(desk.Foreground(), w);
    auto fg = desk.Events(Kind::SetForeground);
    ASSERT_EQ(fg.size(), 2u);
    EXPECT_EQ(fg[1].hwnd, v);
    EXPECT_EQ(fg[1].a, 0);
    EXPECT_TRUE(desk.SetWindowPos(v, win::kHwndTopmost, 10, 20, 0, 0, win::kSwpNoSize));
    EXPECT_TRUE(desk.IsTopmost(v));
    EXPECT_EQ(desk.WindowPosition(v).y, 20);
}

// A text panel is ours and hidden at first; showing it with SW_SHOW
// activates it as Windows does, SW_SHOWNOACTIVATE does not.
TEST(SimWindows, TextPanelsActivateOnlyWhenShownSo) {
    SimDesktop desk;
    const Hwnd app = desk.AddWindow("App", "App");
    desk.SetForegroundWindow(app);
    const Hwnd panel = desk.CreateTextPanel("Panel", win::kWsExLayered | win::kWsExTopmost, 0);
    EXPECT_FALSE(desk.IsWindowVisible(panel));
    EXPECT_TRUE(desk.IsTopmost(panel));
    EXPECT_EQ(desk.GetWindowProcessId(panel), SimDesktop::kOurProcess);
    EXPECT_EQ(desk.WindowAlpha(panel), -1);
    EXPECT_TRUE(desk.SetLayeredWindowAttributes(panel, 0, 128, win::kLwaAlpha));
    EXPECT_EQ(desk.WindowAlpha(panel), 128);
    EXPECT_FALSE(desk.SetLayeredWindowAttributes(app, 0, 128, win::kLwaAlpha));  // not layered
    EXPECT_TRUE(desk.SetWindowTextW(panel, u"\u2192"));
    EXPECT_EQ(desk.WindowTitle(panel), "\xE2\x86\x92");

    desk.ShowWindow(panel, win::kSwShowNoActivate);
    EXPECT_TRUE(desk.IsWindowVisible(panel));
    EXPECT_EQ(desk.Foreground(), app);
    desk.ShowWindow(panel, win::kSwHide);
    desk.ShowWindow(panel, win::kSwShow);
    EXPECT_EQ(desk.Foreground(), panel);
}

TEST(SimWindows, ADelayedForegroundChangeLandsWhenItsTimeHasCome) {
    SimDesktop desk;
    Hwnd w = desk.AddWindow("C", "T");
    Hwnd v = desk.AddWindow("D", "U");
    desk.SetForegroundWindow(w);
    desk.foregroundDelay = 40;
    EXPECT_TRUE(desk.SetForegroundWindow(v));
    desk.Sleep(30);
    EXPECT_TRUE(desk.SetForegroundWindow(v));  // already on its way: the time stays
    desk.Sleep(9);
    EXPECT_EQ(desk.GetForegroundWindow(), w);
    desk.Sleep(1);
    EXPECT_EQ(desk.GetForegroundWindow(), v);

    desk.foregroundDelay = SimDesktop::kNeverLands;
    desk.SetForegroundWindow(w);
    desk.Sleep(100000);
    EXPECT_EQ(desk.Foreground(), v);
}

TEST(SimWindows, WindowsBelongToProcessesWithImages) {
    SimDesktop desk;
    Hwnd app = desk.AddWindow("App", "Player");
    Hwnd dialog = desk.AddWindow("#32770", "Options");
    EXPECT_NE(desk.GetWindowProcessId(app), desk.GetWindowProcessId(dialog));
    desk.SetWindowProcess(dialog, desk.GetWindowProcessId(app));
    EXPECT_EQ(desk.GetWindowProcessId(dialog), desk.GetWindowProcessId(app));
    EXPECT_EQ(desk.GetWindowProcessId(0x999), 0u);

    char16_t image[16] = {};
    EXPECT_EQ(desk.GetProcessImageNameW(desk.GetWindowProcessId(app), image, 16), 0);
    desk.SetProcessImage(desk.GetWindowProcessId(app), "C:\\P\\\u0432\u043B\u0446.exe");
    EXPECT_EQ(desk.GetProcessImageNameW(desk.GetWindowProcessId(app), image, 16), 12);
    EXPECT_EQ(std::u16string(image), u"C:\\P\\\u0432\u043B\u0446.exe");
    EXPECT_EQ(desk.GetProcessImageNameW(desk.GetWindowProcessId(app), image, 8), 0);
}

// ----- Main window, messages, menus ---------------------------------------------------

struct MainLog {
    SimDesktop* desk;
    std::vector<std::uint32_t> messages;
    std::intptr_t createResult = 0;
};

std::intptr_t MainProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    auto* m = static_cast<MainLog*>(ctx);
    m->messages.push_back(msg == win::kWmCommand ? 0x10000 + static_cast<std::uint32_t>(wParam)
                                                 : msg);
    if (msg == win::kWmCreate) {
        return m->createResult;
    }
    if (msg == win::kWmCommand && wParam == 1201) {
        m->desk->PostQuitMessage(3);
    }
    return m->desk->DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(SimMainWindow, CreationRunsCreateInsideAndCanBeRefused) {
    SimDesktop desk;
    MainLog log{&desk, {}, -1};
    EXPECT_EQ(desk.CreateMainWindow("Remote Control", "Remote Control"), 0u);  // no class yet
    ASSERT_TRUE(desk.RegisterMainClass("Remote Control", 50, MainProc, &log));
    EXPECT_FALSE(desk.RegisterMainClass("remote control", 50, MainProc, &log));
    EXPECT_EQ(desk.CreateMainWindow("Remote Control", "Remote Control"), 0u);
    EXPECT_EQ(log.messages, (std::vector<std::uint32_t>{win::kWmCreate, win::kWmDestroy}));
    EXPECT_EQ(desk.FindWindowA("Remote Control", nullptr), 0u);
    EXPECT_EQ(desk.MainWindow(), 0u);

    log.createResult = 0;
    Hwnd w = desk.CreateMainWindow("Remote Control", "Remote Control");
    ASSERT_NE(w, 0u);
    EXPECT_EQ(desk.MainWindow(), w);
    EXPECT_EQ(desk.FindWindowA("Remote Control", nullptr), w);
    EXPECT_FALSE(desk.IsWindowVisible(w));
    EXPECT_TRUE(desk.DestroyWindow(w));
    EXPECT_EQ(log.messages.back(), win::kWmDestroy);
    EXPECT_FALSE(desk.IsWindow(w));
}

TEST(SimMainWindow, PostQueuesSendCallsAndTheLoopEndsWithTheQuitCode) {
    SimDesktop desk;
    MainLog log{&desk, {}, 0};
    desk.RegisterMainClass("RC", 50, MainProc, &log);
    Hwnd w = desk.CreateMainWindow("RC", "RC");
    Hwnd app = desk.AddWindow("App", "App");
    std::vector<std::uint32_t> appGot;
    desk.onAppMessage = [&](Hwnd, std::uint32_t msg, std::uintptr_t, std::intptr_t) {
        appGot.push_back(msg);
    };
    log.messages.clear();
    EXPECT_TRUE(desk.PostMessageA(w, 1001, 0, 513));
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(desk.SendMessageA(w, 1002, 0, 0), 0);
    EXPECT_EQ(log.messages, (std::vector<std::uint32_t>{1002}));
    EXPECT_TRUE(desk.PostMessageA(app, 3000, 25, 0));
    EXPECT_EQ(appGot, (std::vector<std::uint32_t>{3000}));
    EXPECT_FALSE(desk.PostMessageA(0x999, 3000, 25, 0));
    desk.PostMessageA(w, win::kWmCommand, 1201, 0);
    desk.PostMessageA(w, 1003, 0, 0);  // posted before the quit: still dispatched
    EXPECT_EQ(desk.RunMessageLoop(0), 3);
    EXPECT_TRUE(desk.QuitPosted());
    EXPECT_EQ(log.messages, (std::vector<std::uint32_t>{1002, 1001, 0x10000 + 1201, 1003}));
    auto posts = desk.Events(Kind::PostMessage);
    ASSERT_EQ(posts.size(), 5u);
    EXPECT_EQ(posts[1].hwnd, app);
    EXPECT_EQ(posts[1].b, 25);
}

TEST(SimMainWindow, MenuChoiceArrivesAsCommandThroughTheQueue) {
    SimDesktop desk;
    MainLog log{&desk, {}, 0};
    desk.RegisterMainClass("RC", 50, MainProc, &log);
    Hwnd w = desk.CreateMainWindow("RC", "RC");
    Handle menu = desk.CreatePopupMenu();
    desk.AppendMenuA(menu, 0, 30, "About");
    desk.AppendMenuA(menu, win::kMfSeparator, 0, nullptr);
    desk.AppendMenuA(menu, 0, 1201, "Exit");
    desk.onTrackPopupMenu = [](const std::vector<SimMenuItem>& items) { return items[2].id; };
    log.messages.clear();
    EXPECT_NE(desk.TrackPopupMenu(menu, 0, 5, 6, w), 0);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(desk.Pump(), 1);
    EXPECT_EQ(log.messages, (std::vector<std::uint32_t>{0x10000 + 1201}));
    ASSERT_EQ(desk.Events(Kind::MenuTracked).size(), 1u);
    EXPECT_EQ(desk.Events(Kind::MenuTracked)[0].text, "About||Exit");
    desk.onTrackPopupMenu = [](const std::vector<SimMenuItem>&) { return std::uintptr_t{77}; };
    desk.TrackPopupMenu(menu, 0, 5, 6, w);  // not an item of the menu: nothing chosen
    EXPECT_EQ(desk.PostedCount(), 0);
    EXPECT_EQ(desk.OpenMenuCount(), 1);
    EXPECT_TRUE(desk.DestroyMenu(menu));
    EXPECT_FALSE(desk.DestroyMenu(menu));
    EXPECT_EQ(desk.OpenMenuCount(), 0);
}

TEST(SimMainWindow, TrayIconsAreTrackedByWindowAndId) {
    SimDesktop desk;
    TrayIconData icon{88, 0x20, 10, 7, 1001, 0x6032, "Remote Control"};
    EXPECT_TRUE(desk.Shell_NotifyIconW(win::kNimAdd, icon));
    EXPECT_FALSE(desk.Shell_NotifyIconW(win::kNimAdd, icon));
    TrayIconData tip = icon;
    std::strcpy(tip.szTip, "Other");
    tip.uFlags = win::kNifTip;
    EXPECT_TRUE(desk.Shell_NotifyIconW(win::kNimModify, tip));
    ASSERT_EQ(desk.TrayIcons().size(), 1u);
    EXPECT_STREQ(desk.TrayIcons()[0].szTip, "Other");
    TrayIconData del{88, 0x20, 10, 0, 0, 0, ""};
    EXPECT_TRUE(desk.Shell_NotifyIconW(win::kNimDelete, del));
    EXPECT_FALSE(desk.Shell_NotifyIconW(win::kNimDelete, del));
    EXPECT_TRUE(desk.TrayIcons().empty());
    EXPECT_EQ(desk.Events(Kind::TrayIcon).size(), 5u);

    desk.failTrayAdds = 1;  // Explorer not ready
    EXPECT_FALSE(desk.Shell_NotifyIconW(win::kNimAdd, icon));
    EXPECT_TRUE(desk.TrayIcons().empty());
    desk.trayAddTimesOut = true;  // added, but answered too late
    EXPECT_FALSE(desk.Shell_NotifyIconW(win::kNimAdd, icon));
    EXPECT_EQ(desk.TrayIcons().size(), 1u);
}

TEST(SimMainWindow, MessageFilterAllowsAMessagePerWindow) {
    SimDesktop desk;
    Hwnd w = desk.AddWindow("C", "T");
    EXPECT_FALSE(desk.MessageAllowed(w, 0xC001));
    EXPECT_TRUE(desk.ChangeWindowMessageFilterEx(w, 0xC001, win::kMsgFltAllow));
    EXPECT_TRUE(desk.MessageAllowed(w, 0xC001));
    EXPECT_FALSE(desk.MessageAllowed(w, 0xC002));
    EXPECT_FALSE(desk.ChangeWindowMessageFilterEx(0x1234, 0xC001, win::kMsgFltAllow));
    desk.lacksMessageFilter = true;
    EXPECT_FALSE(desk.ChangeWindowMessageFilterEx(w, 0xC002, win::kMsgFltAllow));
    EXPECT_FALSE(desk.MessageAllowed(w, 0xC002));
}

TEST(SimMainWindow, ResourcesAndRegisteredMessages) {
    SimDesktop desk;
    char buf[100];
    EXPECT_EQ(desk.LoadStringA(22, buf, sizeof buf), 14);
    EXPECT_STREQ(buf, "Remote Control");
    EXPECT_EQ(desk.LoadStringA(23, buf, 7), 6);
    EXPECT_STREQ(buf, "Remote");
    EXPECT_EQ(desk.LoadStringA(99, buf, sizeof buf), 0);
    EXPECT_NE(desk.LoadIconA(50), 0u);
    EXPECT_NE(desk.LoadAcceleratorsA(23), 0u);
    EXPECT_EQ(desk.LoadedAccelerators(), 23);
    std::uint32_t id = desk.RegisterWindowMessageA("TaskbarCreated");
    EXPECT_GE(id, 0xC000u);
    EXPECT_EQ(desk.RegisterWindowMessageA("taskbarcreated"), id);
    EXPECT_NE(desk.RegisterWindowMessageA("Other"), id);
}

// ----- Input and log -------------------------------------------------------------------

TEST(SimInput, KeyTextAndCursorStayOnScreen) {
    SimDesktop desk;
    desk.keybd_event(17, 0, 1, 0);
    desk.keybd_event(84, 0, 1, 0);
    desk.keybd_event(84, 0, 3, 0);
    desk.keybd_event(17, 0, 2, 0);
    EXPECT_EQ(desk.KeyText(), "17d 84d 84u 17:2");
    desk.SetCursorPos(-5, 5000);
    Point p;
    ASSERT_TRUE(desk.GetCursorPos(&p));
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 767);
    EXPECT_EQ(desk.Events(Kind::SetCursorPos)[0].b, 5000);  // as sent
    desk.OutputDebugStringA("one");
    desk.OutputDebugStringA(nullptr);
    EXPECT_EQ(desk.Traces(), (std::vector<std::string>{"one", ""}));
    desk.ClearLog();
    EXPECT_TRUE(desk.Log().empty());
}

// ----- Dialogs and message boxes ----------------------------------------------------------

struct DialogLog {
    SimDesktop* desk;
    std::vector<std::string> got;
    bool endOnInit = false;
    bool endOnCancel = true;
};

std::intptr_t DlgProcFn(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                        std::intptr_t) {
    auto* d = static_cast<DialogLog*>(ctx);
    if (msg == win::kWmInitDialog) {
        d->got.push_back("init");
        d->desk->SendDlgItemMessageA(dlg, 5, win::kBmSetCheck, win::kBstChecked, 0);
        if (d->endOnInit) {
            d->desk->EndDialog(dlg, 7);
        }
        return 1;
    }
    if (msg == win::kWmCommand) {
        d->got.push_back("cmd" + std::to_string(wParam & 0xFFFF));
        if (wParam == 1 || (wParam == 2 && d->endOnCancel)) {
            d->desk->EndDialog(dlg, static_cast<std::intptr_t>(wParam));
        }
    }
    return 0;
}

TEST(SimDialogs, EndPaths) {
    SimDesktop desk;
    DialogLog log{&desk, {}};
    // Ended by the script.
    desk.onDialog = [&](Hwnd dlg, std::uint32_t id) {
        EXPECT_EQ(id, 20u);
        EXPECT_EQ(desk.OpenDialog(), dlg);
        EXPECT_EQ(desk.WindowTitle(dlg), "Remote Control - Setting");
        EXPECT_EQ(desk.FindWindowA("#32770", "Remote Control - Setting"), dlg);
        desk.ClickDialogItem(dlg, 5);
        desk.ClickDialogItem(dlg, 1);
    };
    EXPECT_EQ(desk.DialogBoxParamA(20, 0, DlgProcFn, &log), 1);
    EXPECT_EQ(log.got, (std::vector<std::string>{"init", "cmd5", "cmd1"}));
    EXPECT_EQ(desk.OpenDialog(), 0u);
    Hwnd first = desk.Events(Kind::DialogOpened)[0].hwnd;
    EXPECT_FALSE(desk.ItemChecked(first, 5));  // the click unchecked it
    EXPECT_FALSE(desk.IsWindow(first));

    // Left open by the script: closed with IDCANCEL through the procedure.
    log.got.clear();
    desk.onDialog = nullptr;
    EXPECT_EQ(desk.DialogBoxParamA(21, 0, DlgProcFn, &log), 2);
    EXPECT_EQ(log.got, (std::vector<std::string>{"init", "cmd2"}));

    // A procedure that ignores IDCANCEL still ends with 2.
    log.endOnCancel = false;
    EXPECT_EQ(desk.DialogBoxParamA(107, 0, DlgProcFn, &log), 2);

    // Ended during WM_INITDIALOG: the script never runs.
    log.endOnInit = true;
    bool scripted = false;
    desk.onDialog = [&](Hwnd, std::uint32_t) { scripted = true; };
    EXPECT_EQ(desk.DialogBoxParamA(107, 0, DlgProcFn, &log), 7);
    EXPECT_FALSE(scripted);

    EXPECT_EQ(desk.DialogBoxParamA(999, 0, DlgProcFn, &log), -1);
    auto ended = desk.Events(Kind::DialogEnded);
    ASSERT_EQ(ended.size(), 4u);
    EXPECT_EQ(ended[3].a, 7);
}

// The template with a list view needs the common controls' classes, as
// Windows' dialog manager does; its list is then found by id.
TEST(SimDialogs, AListViewDialogNeedsTheCommonControls) {
    SimDesktop desk;
    DialogLog log{&desk, {}};
    EXPECT_EQ(desk.DialogBoxParamA(120, 0, DlgProcFn, &log), -1);
    EXPECT_TRUE(log.got.empty());

    desk.InitCommonControlsEx(win::kIccListViewClasses);
    Hwnd list = 0;
    desk.onDialog = [&](Hwnd dlg, std::uint32_t) {
        EXPECT_EQ(desk.WindowTitle(dlg), "Add a program");
        list = desk.GetDlgItem(dlg, 1201);
        EXPECT_EQ(desk.GetDlgItem(dlg, 1), 0u);
    };
    EXPECT_EQ(desk.DialogBoxParamA(120, 0, DlgProcFn, &log), 2);
    EXPECT_NE(list, 0u);
}

TEST(SimDialogs, NestedDialogsAndComboBoxes) {
    SimDesktop desk;
    DialogLog outer{&desk, {}}, inner{&desk, {}};
    Hwnd outerDlg = 0;
    desk.onDialog = [&](Hwnd dlg, std::uint32_t id) {
        if (id == 20) {
            outerDlg = dlg;
            EXPECT_EQ(desk.DialogBoxParamA(21, 0, DlgProcFn, &inner), 2);
            EXPECT_EQ(desk.OpenDialog(), dlg);
            auto cb = [&](std::uint32_t msg, std::uintptr_t w, const char* l = nullptr) {
                return desk.SendDlgItemMessageA(dlg, 9, msg, w, reinterpret_cast<std::intptr_t>(l));
            };
            EXPECT_EQ(cb(win::kCbAddString, 0, "Pallamo"), 0);
            EXPECT_EQ(cb(win::kCbAddString, 0, "TotalMedia"), 1);
            EXPECT_EQ(cb(win::kCbGetCount, 0), 2);
            EXPECT_EQ(cb(win::kCbGetCurSel, 0), -1);
            EXPECT_EQ(cb(win::kCbSetCurSel, 1), 1);
            EXPECT_EQ(cb(win::kCbGetLbTextLen, 1), 10);
            char text[32];
            EXPECT_EQ(cb(win::kCbGetLbText, 1, text), 10);
            EXPECT_STREQ(text, "TotalMedia");
            EXPECT_EQ(cb(win::kCbSetCurSel, 5), win::kCbErr);
            EXPECT_EQ(cb(win::kCbGetCurSel, 0), -1);
            EXPECT_EQ(cb(win::kCbGetLbText, 5, text), win::kCbErr);
            desk.SetComboSelection(dlg, 9, 0);
            EXPECT_EQ(cb(win::kCbGetCurSel, 0), 0);
            EXPECT_EQ(cb(win::kCbSetCurSel, static_cast<std::uintptr_t>(-1)), win::kCbErr);
            EXPECT_EQ(desk.SendDlgItemMessageA(dlg, 5, win::kBmGetCheck, 0, 0), 1);
            desk.ClickDialogItem(dlg, 1);
        }
    };
    EXPECT_EQ(desk.DialogBoxParamA(20, 0, DlgProcFn, &outer), 1);
    EXPECT_EQ(desk.ComboItems(outerDlg, 9), (std::vector<std::string>{"Pallamo", "TotalMedia"}));
    EXPECT_EQ(desk.ComboSelection(outerDlg, 9), -1);
    EXPECT_EQ(desk.SendDlgItemMessageA(outerDlg, 9, win::kCbGetCount, 0, 0), 0);  // closed
}

TEST(SimDialogs, MessageBoxAnswersAndMayRunTimers) {
    SimDesktop desk;
    std::vector<std::string> fired;
    Ticks t{&desk, &fired, "t", {}};
    desk.SetTimer(1, 1, 65, OnTick, &t);
    EXPECT_EQ(desk.MessageBoxA(0, "Hello", "Remote Control", 0), win::kIdOk);
    desk.onMessageBox = [&](const std::string& text, const std::string& caption) {
        EXPECT_EQ(text, "Again");
        EXPECT_EQ(caption, "Remote Control");
        desk.Advance(130);
        return win::kIdCancel;
    };
    EXPECT_EQ(desk.MessageBoxA(0, "Again", "Remote Control", 0), win::kIdCancel);
    EXPECT_EQ(fired.size(), 2u);
    auto boxes = desk.Events(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Hello");
}

// ----- Shell and system -------------------------------------------------------------------

TEST(SimSystem, ShellVersionDirectoryFilesAndShutdown) {
    SimDesktop desk;
    std::string launched;
    desk.onShellExecute = [&](const std::string& file, const std::string& params) {
        launched = file + " " + params;
    };
    EXPECT_EQ(desk.ShellExecuteA(0, "open", "C:\\a.exe", "remote", "C:\\", 1), 42);
    EXPECT_EQ(launched, "C:\\a.exe remote");
    EXPECT_EQ(desk.Events(Kind::ShellExecute)[0].text2, "open|remote");
    OsVersion v{};
    desk.failVersionEx = true;
    EXPECT_FALSE(desk.GetVersionExA(&v, true));
    EXPECT_TRUE(desk.GetVersionExA(&v, false));
    EXPECT_EQ(v.major, 6u);
    char dir[8];
    EXPECT_EQ(desk.GetWindowsDirectoryA(dir, 5), 11u);  // too small: size needed
    char big[64];
    EXPECT_EQ(desk.GetWindowsDirectoryA(big, sizeof big), 10u);
    EXPECT_STREQ(big, "C:\\windows");
    desk.AddFile("C:\\Windows\\ehome\\EHSHELL.EXE");
    EXPECT_EQ(desk.GetFileAttributesA("c:\\windows\\ehome\\ehshell.exe"),
              win::kFileAttributeArchive);
    EXPECT_EQ(desk.GetFileAttributesA("c:\\windows\\EHOME"), win::kFileAttributeDirectory);
    EXPECT_EQ(desk.GetFileAttributesA("c:\\windows\\eh"), win::kInvalidFileAttributes);
    Handle token = 0;
    ASSERT_TRUE(desk.OpenProcessToken(&token));
    desk.adjustPrivilegeError = 1300;
    EXPECT_EQ(desk.AdjustShutdownPrivilege(token), 1300u);
    EXPECT_TRUE(desk.CloseHandle(token));
    EXPECT_FALSE(desk.CloseHandle(token));
    desk.failExitWindows = true;
    EXPECT_FALSE(desk.ExitWindowsEx(12, 0));
    EXPECT_EQ(desk.Events(Kind::ExitWindows)[0].a, 12);
}

TEST(SimSystem, TheKeyMapFileReadsAsWindowsReadsIt) {
    SimDesktop desk;
    desk.SetFileText("C:\\Data\\rc_\u0444\u0430\u0439\u043B.ini", test::kFileBytes);
    test::CheckFileFacts(desk, u"c:\\data\\RC_\u0444\u0430\u0439\u043B.ini",
                         u"C:\\Data\\missing.ini");
    FileInfo before{}, after{};
    desk.GetFileAttributesExA("C:\\Data\\test.ini", &before);
    desk.SetFileText("C:\\Data\\test.ini", "");
    desk.GetFileAttributesExA("C:\\Data\\test.ini", &after);
    EXPECT_GT(after.lastWriteTime, before.lastWriteTime) << "every write is later";
    char folder[260];
    EXPECT_EQ(desk.SHGetFolderPathA(win::kCsidlAppData, folder), 0);
    EXPECT_STREQ(folder, "C:\\Users\\Ada\\AppData\\Roaming");
    EXPECT_NE(desk.SHGetFolderPathA(0x0005, folder), 0);  // CSIDL_PERSONAL: not simulated
    EXPECT_STREQ(folder, "");

    desk.fileReadError = 32;  // held open by another program
    std::uint8_t buffer[8];
    std::uint32_t read = 99;
    EXPECT_EQ(desk.ReadWholeFileW(u"C:\\Data\\test.ini", buffer, 8, &read), 32u);
    EXPECT_EQ(read, 0u);
    char16_t text[4] = {};
    EXPECT_EQ(desk.MultiByteToWideChar(win::kCpAcp, "\x80\xE9\x9F", 3, text, 4), 3);
    EXPECT_EQ(std::u16string(text), u"\u20AC\u00E9\u0178") << "Windows-1252";
}

TEST(SimSystem, TheKeyMapFileIsWrittenAsWindowsWritesIt) {
    SimDesktop desk;
    desk.AddFolder("C:\\Data");
    test::CheckWriteFacts(desk, u"C:\\Data");
    // The time stamp is the clock's: one within a tick, later after it.
    FileInfo first{}, second{}, third{};
    const std::uint8_t bytes[] = {'a', 'b'};
    desk.WriteWholeFileW(u"C:\\Data\\t.ini", bytes, 2);
    desk.GetFileAttributesExW(u"C:\\Data\\t.ini", &first);
    desk.WriteWholeFileW(u"C:\\Data\\t.ini", bytes, 1);
    desk.GetFileAttributesExW(u"C:\\Data\\t.ini", &second);
    desk.Advance(16);
    desk.WriteWholeFileW(u"C:\\Data\\t.ini", bytes, 1);
    desk.GetFileAttributesExW(u"C:\\Data\\t.ini", &third);
    EXPECT_EQ(second.lastWriteTime, first.lastWriteTime);
    EXPECT_EQ(third.lastWriteTime, first.lastWriteTime + 160000);
    desk.fileWriteError = 5;
    EXPECT_EQ(desk.WriteWholeFileW(u"C:\\Data\\t.ini", bytes, 2), 5u);
    EXPECT_EQ(desk.FileText("C:\\Data\\t.ini"), "a") << "left alone";
}

TEST(SimSystem, FoldersAreMadeAndFilesCopiedAsOnWindows) {
    SimDesktop desk;
    desk.SetFileText("C:\\Data\\test.ini", test::kFileBytes);
    test::CheckFolderAndCopyFacts(desk, "C:\\Data", "C:\\Data\\test.ini");
    EXPECT_EQ(desk.FileText("c:\\data\\sub\\COPY.ini"), test::kFileBytes);
    desk.modulePath.clear();
    char program[260];
    EXPECT_EQ(desk.GetModuleFileNameA(program, sizeof program), 0u);
}

// ----- Sessions -------------------------------------------------------------------

std::intptr_t SessionProc(void* ctx, Hwnd, std::uint32_t msg, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    if (msg == win::kWmWtsSessionChange) {
        static_cast<std::vector<std::string>*>(ctx)->push_back(std::to_string(wParam) + ":" +
                                                               std::to_string(lParam));
    }
    return 0;
}

TEST(SimSystem, SessionEventsReachTheRegisteredWindowOfTheirSessionOnly) {
    SimDesktop desk;
    std::vector<std::string> events;
    desk.RegisterMainClass("RC", 50, SessionProc, &events);
    Hwnd w = desk.CreateMainWindow("RC", "RC");
    std::uint32_t session = 0;
    ASSERT_TRUE(desk.ProcessIdToSessionId(desk.GetCurrentProcessId(), &session));
    EXPECT_EQ(session, 1u);
    EXPECT_FALSE(desk.ProcessIdToSessionId(0x4321, &session));
    EXPECT_EQ(desk.WTSGetActiveConsoleSessionId(), 1u);

    desk.SwitchConsole(2);                                    // not registered yet: nothing heard
    EXPECT_FALSE(desk.WTSRegisterSessionNotification(w, 1));  // all sessions: not modelled
    ASSERT_TRUE(desk.WTSRegisterSessionNotification(w, win::kNotifyForThisSession));
    desk.SwitchConsole(3);  // between two other sessions
    desk.SwitchConsole(1);
    desk.SwitchConsole(2);
    desk.ConnectRemote();  // our session, away from the console already
    EXPECT_EQ(desk.GetSystemMetrics(win::kSmRemoteSession), 1);
    desk.SwitchConsole(1);
    EXPECT_EQ(desk.GetSystemMetrics(win::kSmRemoteSession), 0);
    desk.ConnectRemote();  // from the console
    EXPECT_EQ(desk.WTSGetActiveConsoleSessionId(), 2u);
    EXPECT_TRUE(events.empty()) << "posted";
    desk.Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"1:1", "2:1", "3:1", "4:1", "1:1", "2:1", "3:1"}));

    EXPECT_TRUE(desk.WTSUnRegisterSessionNotification(w));
    EXPECT_EQ(desk.SessionWindow(), 0u);
    desk.SwitchConsole(1);
    EXPECT_EQ(desk.Pump(), 0);
    desk.failProcessSession = true;
    EXPECT_FALSE(desk.ProcessIdToSessionId(desk.GetCurrentProcessId(), &session));
}

}  // namespace
}  // namespace rc
