#include "keys/router.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "apps/target_app.h"
#include "platform/sim_desktop.h"
#include "platform/win_defs.h"
#include "shell/system.h"
#include "shell/timer_slots.h"

namespace rc {
namespace {

constexpr const char* kLumetraClass = "OrvalixMainPanel_Class";
constexpr const char* kTotalMediaClass = "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS";
constexpr const char* kReinit = "Please re-initialize the TV application settings.";
constexpr const char* kActive = "Check AP Active tahn Send Message to AP";
constexpr const char* kNoAp = "Check NO AP is Running";
constexpr const char* kOneOne =
    "if click button 1-1 than  check whether the nCurRemoteTV is valid or not";
constexpr const char* kValid = "if nCurRemoteTV is valid  than launch";
constexpr const char* kOneThree = "if click button 1-3 than  send key to AP";
constexpr const char* kOther = "if click button not 1-1 & not 1-3 than  send key to AP";
constexpr const char* kRecheck = "Re-check whether there is no any AP or not.";

using Lines = std::vector<std::string>;

class RouterTest : public ::testing::Test {
  protected:
    RouterTest() {
        desk.SetRegString("SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "C:\\PC");
        desk.SetRegString("Software\\Orvalix Multimedia\\Nurvel", "AppPath", "C:\\Pallamo");
        desk.SetRegString("SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "",
                          "C:\\MCE");
        desk.SetRegString("SOFTWARE\\ArcSoft\\TotalMedia\\3.0", "AppPath", "C:\\TM");
        desk.SetRegString("Software\\Orvalix Multimedia\\Corvane\\Sorvane", "AppPath", "C:\\Panel");
        desk.SetRegString("Software\\Orvalix Multimedia\\Halvex\\Sorvane", "AppPath", "C:\\Center");
        sys = std::make_unique<System>(desk);
        mainWindow = desk.AddWindow("Remote Control", "Remote Control", false);
        BindTimerSlots(*sys, mainWindow);
        sys->traceOn = true;
    }

    // Windows as the router's searches see them.
    Hwnd OpenPowerCinema() { return desk.AddWindow("PCClass", "PowerCinema"); }
    Hwnd OpenPallamo() { return desk.AddWindow("PForm", "Tessaryn"); }
    Hwnd OpenPanel() { return desk.AddWindow(kLumetraClass, "Mirvo"); }
    Hwnd OpenCenter() { return desk.AddWindow(kLumetraClass, "Lumetra Center"); }
    Hwnd OpenTotalMedia() { return desk.AddWindow("TMClass", "Arcsoft TotalMedia"); }

    void Route(std::uint32_t keyCode) { RouteKey(*sys, keyCode, mainWindow); }

    Lines Traces() const {
        Lines lines;
        const std::string prefix = "<Remote Control>  ";
        for (const std::string& t : desk.Traces()) {
            lines.push_back(t.rfind(prefix, 0) == 0 ? t.substr(prefix.size()) : t);
        }
        return lines;
    }
    Lines Launched() const {
        Lines files;
        for (const SimEvent& e : desk.Events(SimEvent::Kind::ShellExecute)) {
            files.push_back(e.text);
        }
        return files;
    }
    std::vector<std::int32_t> Marks() const {
        return {sys->powerCinema.bLaunched, sys->pallamo.bLaunched,
                sys->mediaCenter.bLaunched, sys->lumetraPanel.bLaunched,
                sys->totalMedia.bLaunched,  sys->lumetraCenter.bLaunched};
    }
    // Every window a close reached, in order: activations for keystroke
    // closes, posts for message closes.
    std::vector<Hwnd> Closed() const {
        std::vector<Hwnd> windows;
        for (const SimEvent& e : desk.Log()) {
            if (e.kind == SimEvent::Kind::SetForeground || e.kind == SimEvent::Kind::PostMessage) {
                windows.push_back(e.hwnd);
            }
        }
        return windows;
    }

    SimDesktop desk;
    std::unique_ptr<System> sys;
    Hwnd mainWindow = 0;
};

// ---- Step 3: the active-application table ---------------------------------

struct ActiveCase {
    std::uint32_t appId;
    std::uint32_t layout;
    Lines traces;  // after "Check AP Active tahn Send Message to AP"
};

class ActiveTraceTest : public RouterTest, public ::testing::WithParamInterface<ActiveCase> {};

TEST_P(ActiveTraceTest, MarkedApplicationTakesTheKeyWithItsTraces) {
    const ActiveCase& c = GetParam();
    OpenCenter();  // else step 1 drops Lumetra Center's mark
    sys->nIRKEYType = c.layout;
    sys->App(c.appId)->bLaunched = 1;
    Route(7);
    Lines expected = {kActive};
    expected.insert(expected.end(), c.traces.begin(), c.traces.end());
    EXPECT_EQ(Traces(), expected);
    EXPECT_TRUE(Launched().empty());
    EXPECT_EQ(sys->App(c.appId)->bLaunched, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ActiveTraceTest,
    ::testing::Values(
        ActiveCase{kPowerCinema, k44Key, {}}, ActiveCase{kLumetraPanel, k50Key, {}},
        ActiveCase{kPallamo, k44Key, {"Send Message to PALLAMO", "nIRKEYType= (0)", "44KEY"}},
        ActiveCase{kPallamo, k35Key, {"Send Message to PALLAMO", "nIRKEYType= (5)", "35KEY"}},
        ActiveCase{kPallamo, k50Key, {"Send Message to PALLAMO", "nIRKEYType= (4)", "32KEY"}},
        ActiveCase{kMediaCenter, k50Key, {"Send Message to MCE", "nIRKEYType= (4)", "50KEY"}},
        ActiveCase{kMediaCenter, k32Key, {"Send Message to MCE", "nIRKEYType= (3)", "32KEY"}},
        ActiveCase{kTotalMedia, k35Key, {"Send Message to TTM3.5", "nIRKEYType= (5)", "35KEY"}},
        ActiveCase{kTotalMedia, k44Key, {"Send Message to TTM3.5", "nIRKEYType= (0)", "44KEY"}},
        ActiveCase{kLumetraCenter,
                   k44Key,
                   {"Send Message to Lumetra Center", "nIRKEYType= (0)", "44KEY",
                    "Check bActive is finish"}},
        ActiveCase{kLumetraCenter,
                   k50Key,
                   {"Send Message to Lumetra Center", "nIRKEYType= (4)", "32KEY",
                    "Check bActive is finish"}}));

struct OnOffCase {
    std::uint32_t appId;
    std::uint32_t layout;
    std::uint32_t keyCode;
    bool toggles;
};

class OnOffTest : public RouterTest, public ::testing::WithParamInterface<OnOffCase> {};

TEST_P(OnOffTest, OnOffKeysOfTheLayoutReachToggleApp) {
    const OnOffCase& c = GetParam();
    if (c.appId == kLumetraCenter) {
        OpenCenter();
    }
    sys->nIRKEYType = c.layout;
    sys->App(c.appId)->bLaunched = 1;
    Route(c.keyCode);
    // ToggleApp closes the open Lumetra Center and launches the others.
    bool closed = false;  // Lumetra Center's close code
    for (const SimEvent& e : desk.Events(SimEvent::Kind::PostMessage)) {
        closed = closed || e.b == 25;
    }
    bool toggled = c.appId == kLumetraCenter ? closed : Launched().size() == 1;
    EXPECT_EQ(toggled, c.toggles);
    EXPECT_EQ(sys->appWatchTimer.armed, c.toggles && c.appId != kLumetraCenter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OnOffTest,
    ::testing::Values(
        OnOffCase{kPowerCinema, k44Key, 67, true}, OnOffCase{kPowerCinema, k35Key, 67, true},
        OnOffCase{kPowerCinema, k44Key, 12, false}, OnOffCase{kPallamo, k44Key, 12, true},
        OnOffCase{kPallamo, k44Key, 67, false}, OnOffCase{kPallamo, k50Key, 67, true},
        OnOffCase{kPallamo, k50Key, 13, false}, OnOffCase{kMediaCenter, k50Key, 13, true},
        OnOffCase{kMediaCenter, k50Key, 50, true}, OnOffCase{kMediaCenter, k50Key, 12, false},
        OnOffCase{kMediaCenter, k32Key, 67, true}, OnOffCase{kLumetraPanel, k44Key, 67, true},
        OnOffCase{kLumetraPanel, k44Key, 12, false}, OnOffCase{kTotalMedia, k44Key, 12, true},
        OnOffCase{kTotalMedia, k50Key, 50, true}, OnOffCase{kTotalMedia, k32Key, 67, true},
        OnOffCase{kTotalMedia, k35Key, 67, false}, OnOffCase{kLumetraCenter, k44Key, 12, true},
        OnOffCase{kLumetraCenter, k44Key, 67, false}, OnOffCase{kLumetraCenter, k32Key, 67, true}));

TEST_F(RouterTest, TotalMediaWritesTwoBeforeItsToggle) {
    sys->nIRKEYType = k32Key;
    sys->totalMedia.bLaunched = 1;
    Route(67);
    EXPECT_EQ(Traces(),
              (Lines{kActive, "Send Message to TTM3.5", "nIRKEYType= (3)", "32KEY", "2"}));
    EXPECT_EQ(Launched(), (Lines{"C:\\TM\\TotalMedia.exe"}));
    EXPECT_EQ(sys->watchMark[4], 1u);
}

TEST_F(RouterTest, FirstMarkInTheApplicationOrderWins) {
    Hwnd center = OpenCenter();
    sys->nIRKEYType = k32Key;
    sys->lumetraCenter.bLaunched = 1;
    sys->lumetraPanel.bLaunched = 1;
    Route(67);
    // The panel comes before Lumetra Center and takes the key; its window is
    // absent, so its ToggleApp looks for it by class and activates the
    // Lumetra Center window instead of launching. Nothing is closed.
    EXPECT_TRUE(Launched().empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::PostMessage).empty());
    EXPECT_EQ(desk.Foreground(), center);
    EXPECT_EQ(Traces(), (Lines{kActive}));
}

// ---- Step 1 and the marks ---------------------------------------------------

TEST_F(RouterTest, LumetraCenterMarkGoesWithItsWindow) {
    OpenPowerCinema();
    sys->lumetraCenter.bLaunched = 1;
    Route(7);
    EXPECT_EQ(Marks(), (std::vector<std::int32_t>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOther, kRecheck}));
}

TEST_F(RouterTest, OtherMarksStayWhenTheirWindowWasClosed) {
    sys->nIRKEYType = k44Key;
    sys->powerCinema.bLaunched = 1;
    OpenPanel();
    Route(29);  // the 1-3 button, but PowerCinema is marked: no search, no confirmation
    EXPECT_EQ(sys->powerCinema.bLaunched, 1);
    EXPECT_EQ(sys->lumetraPanel.bLaunched, 0);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
    EXPECT_EQ(Traces(), (Lines{kActive}));
    Route(67);  // its on/off key launches it again
    EXPECT_EQ(Launched(), (Lines{"C:\\PC\\PowerCinema.exe"}));
}

// ---- Step 2: the 35-key remote -------------------------------------------------

TEST_F(RouterTest, Key22On35KeySwitchesToMediaCenter) {
    sys->nIRKEYType = k35Key;
    sys->nCurRemoteTV = kPallamo;
    sys->pallamo.bLaunched = 1;
    Hwnd pallamo = OpenPallamo();
    Route(22);
    EXPECT_EQ(sys->nCurRemoteTV, static_cast<std::uint32_t>(kMediaCenter));
    EXPECT_EQ(sys->pallamo.bLaunched, 0);
    EXPECT_EQ(sys->mediaCenter.bLaunched, 1);
    auto posts = desk.Events(SimEvent::Kind::PostMessage);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].hwnd, pallamo);
    EXPECT_EQ(posts[0].a, 3000);
    EXPECT_EQ(posts[0].b, 25);
    // Media Center's window is absent: its ToggleApp launches it.
    EXPECT_EQ(Launched().size(), 1u);
    EXPECT_EQ(Traces(), (Lines{"RC is 35key  & Launch Media Center Edition", kActive,
                               "Send Message to MCE", "nIRKEYType= (5)", "35KEY"}));
}

TEST_F(RouterTest, Key12On35KeySwitchesToPallamoAndClosesItWhenOpen) {
    sys->nIRKEYType = k35Key;
    sys->nCurRemoteTV = kMediaCenter;
    Hwnd pallamo = OpenPallamo();
    Route(12);
    EXPECT_EQ(sys->nCurRemoteTV, static_cast<std::uint32_t>(kPallamo));
    // Pallamo's window exists, so its ToggleApp closes it.
    auto posts = desk.Events(SimEvent::Kind::PostMessage);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].hwnd, pallamo);
    EXPECT_EQ(posts[0].b, 25);
    EXPECT_EQ(sys->pallamo.bLaunched, 0);
    EXPECT_TRUE(Launched().empty());
    EXPECT_EQ(Traces(), (Lines{"RC is 35key  & Launch PALLAMO", kActive, "Send Message to PALLAMO",
                               "nIRKEYType= (5)", "35KEY"}));

    // Pressed again with the window gone: launched and watched.
    desk.RemoveWindow(pallamo);
    Route(12);
    EXPECT_EQ(Launched(), (Lines{"C:\\Pallamo\\Quillet.exe"}));
    EXPECT_EQ(sys->pallamo.bLaunched, 1);
    EXPECT_EQ(sys->watchMark[1], 1u);
}

TEST_F(RouterTest, EarlierMarkKeepsThe35KeyButtons) {
    sys->nIRKEYType = k35Key;
    sys->powerCinema.bLaunched = 1;
    Route(22);
    EXPECT_EQ(sys->mediaCenter.bLaunched, 1);
    EXPECT_EQ(sys->nCurRemoteTV, static_cast<std::uint32_t>(kMediaCenter));
    // PowerCinema comes first and 22 is not its on/off key.
    EXPECT_TRUE(Launched().empty());
}

// ---- Steps 4 and 5: the power key with nothing marked ------------------------------

struct LaunchCase {
    std::uint32_t current;
    const char* trace;
    std::vector<std::uint32_t> closeOrder;
};

class LaunchTableTest : public RouterTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchTableTest, ClosesTheOthersInOrderThenTogglesTheCurrent) {
    const LaunchCase& c = GetParam();
    // Every window open as the applications' own closes look for them.
    std::map<std::uint32_t, Hwnd> windows = {
        {kPowerCinema, OpenPowerCinema()},
        {kPallamo, OpenPallamo()},
        {kMediaCenter, desk.AddWindow("eHome Render Window", "Windows Media Center")},
        {kTotalMedia, desk.AddWindow(kTotalMediaClass, "ArcSoft TotalMedia")},
        {kLumetraPanel, OpenPanel()},
        {kLumetraCenter, OpenCenter()},
    };
    sys->nIRKEYType = k44Key;
    sys->nCurRemoteTV = c.current;
    Route(12);
    std::vector<Hwnd> expected;
    for (std::uint32_t id : c.closeOrder) {
        if (windows.count(id)) {
            expected.push_back(windows[id]);
        }
    }
    if (windows.count(c.current)) {
        expected.push_back(windows[c.current]);  // ToggleApp closes the open window
    }
    EXPECT_EQ(Closed(), expected);
    Lines traces = {kActive, kNoAp, kOneOne, kValid};
    if (c.trace != nullptr) {
        traces.push_back(c.trace);
    }
    EXPECT_EQ(Traces(), traces);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::MessageBox).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LaunchTableTest,
    ::testing::Values(
        LaunchCase{kPowerCinema,
                   nullptr,
                   {kMediaCenter, kLumetraPanel, kTotalMedia, kLumetraCenter, kPallamo}},
        LaunchCase{kPallamo,
                   "TV_PALLAMO_OPEN",
                   {kMediaCenter, kLumetraPanel, kTotalMedia, kLumetraCenter, kPowerCinema}},
        LaunchCase{kMediaCenter,
                   "TV_MCE_OPEN",
                   {kPowerCinema, kLumetraPanel, kTotalMedia, kLumetraCenter, kPallamo}},
        LaunchCase{kTotalMedia,
                   "3",
                   {kPowerCinema, kMediaCenter, kLumetraPanel, kLumetraCenter, kPallamo}},
        LaunchCase{kLumetraPanel,
                   nullptr,
                   {kPowerCinema, kMediaCenter, kTotalMedia, kLumetraCenter, kPallamo}},
        LaunchCase{kLumetraCenter,
                   nullptr,
                   {kPowerCinema, kMediaCenter, kLumetraPanel, kTotalMedia, kPallamo}}));

TEST_F(RouterTest, PowerKeyWithTheCurrentApplicationMissing) {
    sys->totalMedia.bInstalled = 0;
    sys->nIRKEYType = k50Key;
    sys->nCurRemoteTV = kTotalMedia;
    Hwnd pc = OpenPowerCinema();
    Hwnd center = OpenCenter();
    Route(50);
    auto boxes = desk.Events(SimEvent::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hwnd, 0u);
    EXPECT_EQ(boxes[0].text, kReinit);
    EXPECT_EQ(boxes[0].text2, "Remote Control");
    EXPECT_EQ(boxes[0].a, win::kMbSetForeground);
    // The launch goes on: the others are closed, TotalMedia is not started.
    EXPECT_EQ(Closed(), (std::vector<Hwnd>{pc, center}));
    EXPECT_TRUE(Launched().empty());
    EXPECT_TRUE(sys->appWatchTimer.armed);
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneOne, kValid, "3"}));
    // The box came between the two trace lines.
    std::size_t box = 0, valid = 0;
    for (std::size_t i = 0; i < desk.Log().size(); ++i) {
        const SimEvent& e = desk.Log()[i];
        if (e.kind == SimEvent::Kind::MessageBox) {
            box = i;
        }
        if (e.kind == SimEvent::Kind::Trace && e.text.find(kValid) != std::string::npos) {
            valid = i;
        }
    }
    EXPECT_LT(box, valid);
}

TEST_F(RouterTest, PowerKeyWithAnUnknownCurrentApplicationOnlyTraces) {
    OpenPowerCinema();
    sys->nIRKEYType = k32Key;
    for (std::uint32_t current : {0u, 3u, 7u, 10u}) {
        desk.ClearLog();
        sys->nCurRemoteTV = current;
        Route(67);
        EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneOne, kValid}));
        EXPECT_TRUE(Closed().empty());
        EXPECT_TRUE(desk.Events(SimEvent::Kind::MessageBox).empty());
        EXPECT_EQ(sys->powerCinema.bLaunched, 0);
    }
}

TEST_F(RouterTest, PowerKeyLaunchesTheCurrentApplicationAndWatchesIt) {
    sys->nIRKEYType = k44Key;
    sys->nCurRemoteTV = kLumetraCenter;
    Route(12);
    EXPECT_EQ(Launched(), (Lines{"C:\\Center\\MainCenter.exe"}));
    EXPECT_EQ(sys->lumetraCenter.bLaunched, 1);
    EXPECT_EQ(sys->watchMark[5], 1u);
    EXPECT_TRUE(desk.TimerArmed(mainWindow, kAppWatchTimerId));
}

// ---- Steps 6 to 8: the window search ---------------------------------------------------

TEST_F(RouterTest, OneThreeWithAWindowOpenMarksItWithoutConfirmation) {
    sys->nIRKEYType = k32Key;
    OpenPanel();
    Route(3);
    EXPECT_EQ(Marks(), (std::vector<std::int32_t>{0, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneThree, kOneOne}));
}

TEST_F(RouterTest, TwoOpenApplicationsMarkOnlyTheFirstInOrder) {
    sys->nIRKEYType = k44Key;
    OpenCenter();
    OpenTotalMedia();
    OpenPallamo();
    Route(7);
    EXPECT_EQ(Marks(), (std::vector<std::int32_t>{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOther, kRecheck}));
}

TEST_F(RouterTest, TotalMediaIsFoundByTitleAlone) {
    desk.AddWindow("SomeOtherClass", "Arcsoft TotalMedia");
    Route(7);
    EXPECT_EQ(sys->totalMedia.bLaunched, 1);
}

TEST_F(RouterTest, RepeatWithNothingMarkedMarksTheFirstOpenApplicationSilently) {
    OpenCenter();
    OpenPowerCinema();
    Route(255);
    EXPECT_EQ(Marks(), (std::vector<std::int32_t>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::PostMessage).empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::MouseEvent).empty());
    EXPECT_TRUE(Launched().empty());
}

// ---- What the maps send, end to end ----------------------------------------------------

// The posts of one message to one window, as "code" strings.
std::vector<std::int64_t> Codes(const SimDesktop& desk, Hwnd window, std::uint32_t msg) {
    std::vector<std::int64_t> codes;
    for (const SimEvent& e : desk.Events(SimEvent::Kind::PostMessage)) {
        if (e.hwnd == window && e.a == msg) {
            codes.push_back(e.b);
        }
    }
    return codes;
}

struct SearchCase {
    std::uint32_t layout;
    std::uint32_t keyCode;
    std::vector<std::int64_t> pallamo;        // Pallamo found by the search
    std::vector<std::int64_t> lumetraCenter;  // Lumetra Center found by the search
};

class SearchMapTest : public RouterTest, public ::testing::WithParamInterface<SearchCase> {};

// The window search gives the key to the map the application would use as the
// active one, so the first key after finding the window already acts.
TEST_P(SearchMapTest, FoundApplicationGetsTheMapOfItsLayout) {
    const SearchCase& c = GetParam();
    sys->nIRKEYType = c.layout;
    Hwnd pallamo = OpenPallamo();
    Route(c.keyCode);
    EXPECT_EQ(Codes(desk, pallamo, 3000), c.pallamo);
    EXPECT_EQ(sys->pallamo.bLaunched, 1);

    desk.RemoveWindow(pallamo);
    sys->pallamo.bLaunched = 0;
    Hwnd center = OpenCenter();
    Route(c.keyCode);
    EXPECT_EQ(Codes(desk, center, 4024), c.lumetraCenter);
    EXPECT_EQ(sys->lumetraCenter.bLaunched, 1);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, SearchMapTest,
                         ::testing::Values(SearchCase{k44Key, 4, {10005}, {10005}},
                                           SearchCase{k44Key, 29, {}, {26}},  // the 1-3 button
                                           SearchCase{k32Key, 4, {10001}, {10001}},
                                           SearchCase{k50Key, 4, {10001}, {10001}},
                                           SearchCase{
                                               k50Key, 12, {10007}, {10007}},  // the 1-3 button
                                           SearchCase{k35Key, 4, {10005}, {10001}}));

TEST_F(RouterTest, TotalMediaFoundBySearchUsesTheMapOfItsLayout) {
    desk.AddWindow(kTotalMediaClass, "ArcSoft TotalMedia");
    struct {
        std::uint32_t layout;
        std::uint32_t keyCode;
        const char* keys;
    } cases[] = {
        {k44Key, 3, "100d 100u"},  // NumPad 4
        {k50Key, 3, "99d 99u"},    // NumPad 3
        {k32Key, 4, "97d 97u"},    // NumPad 1
        {k35Key, 4, ""},           // no 35KEY map
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        desk.ClearLog();
        sys->totalMedia.bLaunched = 0;
        sys->nIRKEYType = c.layout;
        Route(c.keyCode);
        EXPECT_EQ(sys->totalMedia.bLaunched, 1);
        EXPECT_EQ(desk.KeyText(), c.keys);
    }
}

TEST_F(RouterTest, MarkedApplicationGetsItsKeysThroughTheLayoutMap) {
    Hwnd pallamo = OpenPallamo();
    sys->pallamo.bLaunched = 1;
    sys->nIRKEYType = k50Key;
    Route(4);
    sys->nIRKEYType = k44Key;
    Route(4);
    EXPECT_EQ(Codes(desk, pallamo, 3000), (std::vector<std::int64_t>{10001, 10005}));
}

// ---- Nothing marked, nothing open --------------------------------------------------------

TEST_F(RouterTest, OneThreeWithNothingOpenAsksToShutDownThenFallsToTheMouse) {
    sys->nIRKEYType = k44Key;
    std::vector<std::uint32_t> opened;
    desk.onDialog = [&](Hwnd, std::uint32_t templateId) { opened.push_back(templateId); };
    Route(29);
    EXPECT_EQ(opened, (std::vector<std::uint32_t>{107}));
    auto dialogs = desk.Events(SimEvent::Kind::DialogOpened);
    ASSERT_EQ(dialogs.size(), 1u);
    // Cancelled: the key goes on to the mouse emulation, which ignores it.
    EXPECT_TRUE(desk.Events(SimEvent::Kind::MouseEvent).empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::SetCursorPos).empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::ExitWindows).empty());
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneThree, kOneOne}));
}

TEST_F(RouterTest, OtherKeysWithNothingOpenDriveTheMouse) {
    sys->nIRKEYType = k32Key;
    Route(0);  // a left click
    EXPECT_FALSE(desk.Events(SimEvent::Kind::MouseEvent).empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
    EXPECT_EQ(Marks(), (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace rc
