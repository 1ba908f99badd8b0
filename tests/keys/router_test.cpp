#include "keys/router.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "apps/target_app.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"
#include "platform/win_defs.h"

namespace rc {
namespace {

constexpr const char* kActive = "Check AP Active tahn Send Message to AP";
constexpr const char* kNoAp = "Check NO AP is Running";
constexpr const char* kOneOne =
    "if click button 1-1 than  check whether the nCurRemoteTV is valid or not";
constexpr const char* kValid = "if nCurRemoteTV is valid  than launch";
constexpr const char* kOneThree = "if click button 1-3 than  send key to AP";
constexpr const char* kOther = "if click button not 1-1 & not 1-3 than  send key to AP";
constexpr const char* kRecheck = "Re-check whether there is no any AP or not.";

using Lines = std::vector<std::string>;
using Marks = std::vector<std::int32_t>;

class RouterTest : public ::testing::Test {
  protected:
    RouterTest() {
        test::InstallAllApps(desk, "C:\\MCE");
        desk.SetRegDword("SOFTWARE\\Orvalix Multimedia\\Calderin", "DefaultTVAPP", 9);
        sys = std::make_unique<System>(desk);
        mainWindow = desk.AddWindow("Remote Control", "Remote Control", false);
        BindTimerSlots(*sys, mainWindow);
        sys->traceOn = true;
    }

    Hwnd OpenPowerCinema() { return test::OpenAppWindow(desk, kPowerCinema); }
    Hwnd OpenPallamo() { return test::OpenAppWindow(desk, kPallamo); }
    Hwnd OpenPanel() { return test::OpenAppWindow(desk, kLumetraPanel); }
    Hwnd OpenCenter() { return test::OpenAppWindow(desk, kLumetraCenter); }
    Hwnd OpenTotalMedia() { return test::OpenAppWindow(desk, kTotalMedia); }

    PressOutcome Route(std::uint32_t keyCode) { return RouteKey(*sys, Press{keyCode}, mainWindow); }
    void Reset() {
        for (std::uint32_t id :
             {kPowerCinema, kPallamo, kMediaCenter, kLumetraPanel, kTotalMedia, kLumetraCenter}) {
            App(*sys, id)->bLaunched = 0;
            *WatchMark(*sys, id) = false;
        }
        KillAppWatchTimer(*sys);
        desk.ClearLog();
    }

    Lines Traces() const {
        Lines lines;
        for (const std::string& t : desk.Traces()) {
            lines.push_back(test::Untraced(t));
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
    Marks Marked() const {
        return {App(*sys, kPowerCinema)->bLaunched, App(*sys, kPallamo)->bLaunched,
                App(*sys, kMediaCenter)->bLaunched, App(*sys, kLumetraPanel)->bLaunched,
                App(*sys, kTotalMedia)->bLaunched,  App(*sys, kLumetraCenter)->bLaunched};
    }
    std::string Script() const { return test::Script(desk); }

    SimDesktop desk;
    std::unique_ptr<System> sys;
    Hwnd mainWindow = 0;
};

// ---- Step 3: the marked application ----------------------------------------

TEST_F(RouterTest, MarkedApplicationWritesItsTracesByLayout) {
    struct {
        std::uint32_t appId, layout;
        Lines traces;  // after kActive
    } cases[] = {
        {kPowerCinema, k44Key, {}},
        {kLumetraPanel, k50Key, {}},
        {kPallamo, k35Key, {"Send Message to PALLAMO", "nIRKEYType= (5)", "35KEY"}},
        {kPallamo, k50Key, {"Send Message to PALLAMO", "nIRKEYType= (4)", "32KEY"}},
        {kMediaCenter, k50Key, {"Send Message to MCE", "nIRKEYType= (4)", "50KEY"}},
        {kMediaCenter, k32Key, {"Send Message to MCE", "nIRKEYType= (3)", "32KEY"}},
        {kTotalMedia, k35Key, {"Send Message to TTM3.5", "nIRKEYType= (5)", "35KEY"}},
        {kLumetraCenter,
         k44Key,
         {"Send Message to Lumetra Center", "nIRKEYType= (0)", "44KEY", "Check bActive is finish"}},
        {kLumetraCenter,
         k50Key,
         {"Send Message to Lumetra Center", "nIRKEYType= (4)", "32KEY", "Check bActive is finish"}},
    };
    for (std::uint32_t appId :
         {kPowerCinema, kPallamo, kMediaCenter, kTotalMedia, kLumetraPanel, kLumetraCenter}) {
        test::OpenAppWindow(desk, appId);  // else step 1 drops the marks
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.appId << " on " << c.layout);
        Reset();
        sys->nIRKEYType = c.layout;
        App(*sys, c.appId)->bLaunched = 1;
        Route(255);
        Lines expected = {kActive};
        expected.insert(expected.end(), c.traces.begin(), c.traces.end());
        EXPECT_EQ(Traces(), expected);
        EXPECT_EQ(Script(), "");
    }
}

TEST_F(RouterTest, OnOffKeysOfTheLayoutReachToggleApp) {
    struct {
        std::uint32_t appId, layout, keyCode;
        bool toggles;
    } cases[] = {
        {kPowerCinema, k44Key, 67, true},   {kPowerCinema, k35Key, 67, true},
        {kPowerCinema, k44Key, 12, false},  {kPallamo, k44Key, 12, true},
        {kPallamo, k50Key, 67, true},       {kPallamo, k50Key, 13, false},
        {kMediaCenter, k50Key, 13, true},   {kMediaCenter, k50Key, 50, true},
        {kMediaCenter, k32Key, 67, true},   {kMediaCenter, k50Key, 12, false},
        {kLumetraPanel, k44Key, 67, true},  {kLumetraPanel, k44Key, 12, false},
        {kTotalMedia, k44Key, 12, true},    {kTotalMedia, k50Key, 50, true},
        {kTotalMedia, k35Key, 67, false},   {kLumetraCenter, k44Key, 12, true},
        {kLumetraCenter, k32Key, 67, true}, {kLumetraCenter, k44Key, 67, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.appId << " on " << c.layout << " key " << c.keyCode);
        Reset();
        sys->nIRKEYType = c.layout;
        App(*sys, c.appId)->bLaunched = 1;
        Hwnd window = test::OpenAppWindow(desk, c.appId);  // open: its ToggleApp closes it
        Route(c.keyCode);
        EXPECT_EQ(App(*sys, c.appId)->bLaunched, !c.toggles) << "a close clears the mark";
        EXPECT_TRUE(Launched().empty());
        desk.RemoveWindow(window);
    }
}

TEST_F(RouterTest, TotalMediaWritesTwoBeforeItsToggle) {
    sys->nIRKEYType = k32Key;
    App(*sys, kTotalMedia)->bLaunched = 1;
    OpenTotalMedia();
    Route(67);
    EXPECT_EQ(Traces(),
              (Lines{kActive, "Send Message to TTM3.5", "nIRKEYType= (3)", "32KEY", "2"}));
    EXPECT_NE(Script().find("115d"), std::string::npos) << "closed with Alt+F4";
    EXPECT_FALSE(App(*sys, kTotalMedia)->bLaunched);
}

TEST_F(RouterTest, FirstMarkInTheApplicationOrderWins) {
    OpenCenter();
    OpenPanel();
    sys->nIRKEYType = k32Key;
    App(*sys, kLumetraCenter)->bLaunched = 1;
    App(*sys, kLumetraPanel)->bLaunched = 1;
    Route(67);
    // The panel takes the key: its ToggleApp closes it; the Lumetra Center
    // window is left alone.
    EXPECT_EQ(Script(), "post:Mirvo:4024:1");
    EXPECT_EQ(Traces(), (Lines{kActive}));
}

TEST_F(RouterTest, MarkedApplicationGetsItsKeysThroughTheLayoutMap) {
    OpenPallamo();
    App(*sys, kPallamo)->bLaunched = 1;
    sys->nIRKEYType = k50Key;
    Route(4);
    sys->nIRKEYType = k44Key;
    Route(4);
    EXPECT_EQ(Script(), "post:Tessaryn:3000:10001 post:Tessaryn:3000:10005");
}

// ---- Step 1 and the marks -------------------------------------------------------

TEST_F(RouterTest, LumetraCenterMarkGoesWithItsWindow) {
    OpenPowerCinema();
    App(*sys, kLumetraCenter)->bLaunched = 1;
    Route(255);
    EXPECT_EQ(Marked(), (Marks{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOther, kRecheck}));
}

TEST_F(RouterTest, EveryMarkGoesWithItsWindow) {
    sys->nIRKEYType = k44Key;
    for (std::uint32_t appId :
         {kPowerCinema, kPallamo, kMediaCenter, kLumetraPanel, kTotalMedia, kLumetraCenter}) {
        SCOPED_TRACE(appId);
        Reset();
        Hwnd window = test::OpenAppWindow(desk, appId);
        Route(255);  // found by the window search and marked
        ASSERT_TRUE(App(*sys, appId)->bLaunched);
        desk.RemoveWindow(window);  // closed by hand
        desk.ClearLog();
        Route(0);  // routed as if nothing were marked: the pointer's left click
        EXPECT_EQ(Marked(), (Marks{0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(desk.Events(SimEvent::Kind::MouseEvent).size(), 2u);
    }
    // While the window is there the mark holds, also for a key the search
    // would give to another application.
    Reset();
    OpenPowerCinema();
    OpenPanel();
    App(*sys, kPowerCinema)->bLaunched = 1;
    Route(29);  // the 1-3 button, but PowerCinema is marked: no search, no offer
    EXPECT_EQ(Marked(), (Marks{1, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
}

// ---- Step 2: the 35-key remote ------------------------------------------------------

TEST_F(RouterTest, Key22On35KeySwitchesToMediaCenter) {
    sys->nIRKEYType = k35Key;
    sys->nCurRemoteTV = kPallamo;
    App(*sys, kPallamo)->bLaunched = 1;
    OpenPallamo();
    Route(22);
    EXPECT_EQ(sys->nCurRemoteTV, static_cast<std::uint32_t>(kMediaCenter));
    EXPECT_EQ(desk.RegDword("SOFTWARE\\Orvalix Multimedia\\Calderin", "DefaultTVAPP"), 4u);
    EXPECT_EQ(Marked(), (Marks{0, 0, 1, 0, 0, 0}));
    // Pallamo closed, then Media Center's window is absent: launched.
    EXPECT_EQ(Script(), "post:Tessaryn:3000:25");
    EXPECT_EQ(Launched(), (Lines{"C:\\MCE\\"}));
    EXPECT_EQ(Traces(), (Lines{"RC is 35key  & Launch Media Center Edition", kActive,
                               "Send Message to MCE", "nIRKEYType= (5)", "35KEY"}));
}

TEST_F(RouterTest, Key12On35KeySwitchesToPallamoBothWays) {
    sys->nIRKEYType = k35Key;
    sys->nCurRemoteTV = kMediaCenter;
    Hwnd pallamo = OpenPallamo();
    test::OpenAppWindow(desk, kMediaCenter);
    Route(12);
    EXPECT_EQ(sys->nCurRemoteTV, static_cast<std::uint32_t>(kPallamo));
    EXPECT_EQ(desk.RegDword("SOFTWARE\\Orvalix Multimedia\\Calderin", "DefaultTVAPP"), 2u);
    // Media Center closed, then Pallamo's window exists: closed too.
    EXPECT_EQ(Script(),
              "fg:Windows Media Center active:Windows Media Center 18:0 115d 115u 18:2 "
              "post:Tessaryn:3000:25");
    EXPECT_EQ(Traces(), (Lines{"RC is 35key  & Launch PALLAMO", kActive, "Send Message to PALLAMO",
                               "nIRKEYType= (5)", "35KEY"}));
    EXPECT_EQ(App(*sys, kPallamo)->bLaunched, 0);

    desk.RemoveWindow(pallamo);
    Route(12);  // now absent: launched and watched
    EXPECT_EQ(Launched(), (Lines{"C:\\Pallamo\\Quillet.exe"}));
    EXPECT_TRUE(*WatchMark(*sys, kPallamo));
}

TEST_F(RouterTest, EarlierMarkKeepsThe35KeyButtons) {
    sys->nIRKEYType = k35Key;
    App(*sys, kPowerCinema)->bLaunched = 1;
    OpenPowerCinema();
    Route(22);
    EXPECT_EQ(Marked(), (Marks{1, 0, 1, 0, 0, 0}));
    EXPECT_TRUE(Launched().empty());  // 22 went to PowerCinema's map
}

// ---- Steps 4 and 5: the power key with nothing marked ---------------------------------

TEST_F(RouterTest, PowerKeyClosesTheOthersInOrderThenTogglesTheCurrent) {
    struct {
        std::uint32_t current;
        std::string trace;
        std::string closes;
    } cases[] = {
        {kPowerCinema, "", "MCE Mirvo TM Center Tessaryn PowerCinema"},
        {kPallamo, "TV_PALLAMO_OPEN", "MCE Mirvo TM Center PowerCinema Tessaryn"},
        {kMediaCenter, "TV_MCE_OPEN", "PowerCinema Mirvo TM Center Tessaryn MCE"},
        {kTotalMedia, "3", "PowerCinema MCE Mirvo Center Tessaryn TM"},
        {kLumetraPanel, "", "PowerCinema MCE TM Center Tessaryn Mirvo"},
        {kLumetraCenter, "", "PowerCinema MCE Mirvo TM Tessaryn Center"},
    };
    for (std::uint32_t appId :
         {kPowerCinema, kPallamo, kMediaCenter, kTotalMedia, kLumetraPanel, kLumetraCenter}) {
        test::OpenAppWindow(desk, appId);
    }
    sys->nIRKEYType = k44Key;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        Reset();
        sys->nCurRemoteTV = c.current;
        Route(12);
        std::string closes;
        for (const SimEvent& e : desk.Log()) {
            if (e.kind == SimEvent::Kind::SetForeground || e.kind == SimEvent::Kind::PostMessage) {
                std::string title = desk.WindowTitle(e.hwnd);
                std::string name = title == "Windows Media Center" ? "MCE"
                                   : title == "ArcSoft TotalMedia" ? "TM"
                                   : title == "Lumetra Center"     ? "Center"
                                                                   : title;
                closes += (closes.empty() ? "" : " ") + name;
            }
        }
        EXPECT_EQ(closes, c.closes);
        Lines traces = {kActive, kNoAp, kOneOne, kValid};
        if (!c.trace.empty()) {
            traces.push_back(c.trace);
        }
        EXPECT_EQ(Traces(), traces);
    }
}

TEST_F(RouterTest, PowerKeyWithTheCurrentApplicationMissing) {
    App(*sys, kTotalMedia)->bInstalled = 0;
    sys->nIRKEYType = k50Key;
    sys->nCurRemoteTV = kTotalMedia;
    OpenPowerCinema();
    OpenCenter();
    std::vector<Lines> tracesAtBox;
    desk.onMessageBox = [&](const std::string&, const std::string&) {
        tracesAtBox.push_back(Traces());
        return win::kIdOk;
    };
    Route(50);
    auto boxes = desk.Events(SimEvent::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hwnd, 0u);
    EXPECT_EQ(boxes[0].text, "Please re-initialize the TV application settings.");
    EXPECT_EQ(boxes[0].text2, "Remote Control");
    EXPECT_EQ(boxes[0].a, win::kMbSetForeground);
    EXPECT_EQ(tracesAtBox, (std::vector<Lines>{{kActive, kNoAp, kOneOne}}));
    // The launch goes on: the others are closed, TotalMedia is not started.
    EXPECT_EQ(Script(),
              "fg:PowerCinema active:PowerCinema 18:0 115d 115u 18:2 post:Lumetra Center:4024:25");
    EXPECT_TRUE(Launched().empty());
    EXPECT_TRUE(sys->appWatchTimer.armed);
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneOne, kValid, "3"}));
}

TEST_F(RouterTest, PowerPressesWhileALaunchBoxIsOpenStackNoOtherBox) {
    sys->nIRKEYType = k44Key;
    sys->nCurRemoteTV = kPallamo;
    desk.shellExecuteResult = 2;  // installed, but the program file is gone
    for (const char* text : {"Can't launch TV application what you want.",
                             "Please re-initialize the TV application settings."}) {
        SCOPED_TRACE(text);
        Reset();
        int presses = 1;
        desk.onMessageBox = [&](const std::string&, const std::string&) {
            while (presses < 3) {  // the poll goes on inside the box
                ++presses;
                Route(12);
            }
            return win::kIdOk;
        };
        Route(12);
        auto boxes = desk.Events(SimEvent::Kind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        const Lines traces = Traces();
        EXPECT_EQ(std::count(traces.begin(), traces.end(), text), 2);
        Route(12);  // with the box closed, the next failure shows it again
        EXPECT_EQ(desk.Events(SimEvent::Kind::MessageBox).size(), 2u);
        App(*sys, kPallamo)->bInstalled = 0;
    }
}

TEST_F(RouterTest, PowerKeyWithAnUnknownCurrentApplicationOnlyTraces) {
    OpenPowerCinema();
    sys->nIRKEYType = k32Key;
    for (std::uint32_t current : {0u, 3u, 7u, 10u}) {
        Reset();
        sys->nCurRemoteTV = current;
        Route(67);
        EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneOne, kValid}));
        EXPECT_EQ(Script(), "");
        EXPECT_EQ(Marked(), (Marks{0, 0, 0, 0, 0, 0}));
    }
}

// ---- Steps 6 to 8: the window search ----------------------------------------------------

TEST_F(RouterTest, OneThreeWithAWindowOpenMarksItWithoutTheOffer) {
    sys->nIRKEYType = k32Key;
    OpenPanel();
    Route(3);
    EXPECT_EQ(Marked(), (Marks{0, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneThree, kOneOne}));
}

TEST_F(RouterTest, FirstOpenApplicationIsMarkedSilentlyByARepeat) {
    OpenCenter();
    desk.AddWindow("AnyClass", "Arcsoft TotalMedia");  // TotalMedia by its title alone
    Hwnd pallamo = OpenPallamo();
    Route(255);
    EXPECT_EQ(Marked(), (Marks{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOther, kRecheck}));
    EXPECT_EQ(Script(), "");
    desk.RemoveWindow(pallamo);
    App(*sys, kPallamo)->bLaunched = 0;
    Route(255);
    EXPECT_EQ(Marked(), (Marks{0, 0, 0, 0, 1, 0}));
}

// The window search gives the key to the map the application would use as the
// marked one, so the first key after finding the window already acts.
TEST_F(RouterTest, FoundApplicationGetsTheMapOfItsLayout) {
    struct {
        std::uint32_t layout, keyCode;
        const char *pallamo, *center, *totalMedia;
    } cases[] = {
        {k44Key, 4, "10005", "10005", "101d 101u"},  // NumPad 5
        {k44Key, 29, "", "26", ""},                  // the 1-3 button
        {k32Key, 4, "10001", "10001", "97d 97u"},    // NumPad 1
        {k50Key, 4, "10001", "10001", "100d 100u"},  // NumPad 4
        {k50Key, 12, "10007", "10007", ""},          // the 1-3 button
        {k35Key, 4, "10005", "10001", ""},           // TotalMedia has no 35KEY map
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.layout << " key " << c.keyCode);
        sys->nIRKEYType = c.layout;
        const struct {
            std::uint32_t appId;
            std::string expected;
        } apps[] = {
            {kPallamo, *c.pallamo ? std::string("post:Tessaryn:3000:") + c.pallamo : ""},
            {kLumetraCenter, *c.center ? std::string("post:Lumetra Center:4024:") + c.center : ""},
            {kTotalMedia,
             *c.totalMedia
                 ? std::string("fg:ArcSoft TotalMedia active:ArcSoft TotalMedia ") + c.totalMedia
                 : ""},
        };
        for (const auto& app : apps) {
            Reset();
            Hwnd window = test::OpenAppWindow(desk, app.appId);
            Route(c.keyCode);
            EXPECT_EQ(Script(), app.expected);
            EXPECT_EQ(App(*sys, app.appId)->bLaunched, 1);
            desk.RemoveWindow(window);
        }
    }
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
}

TEST_F(RouterTest, NothingOpenOffersShutdownOnOneThreeAndElseDrivesTheMouse) {
    sys->nIRKEYType = k44Key;
    Route(29);
    auto dialogs = desk.Events(SimEvent::Kind::DialogOpened);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].a, 107);
    // Cancelled: the key goes on to the mouse emulation, which ignores it.
    EXPECT_TRUE(desk.Events(SimEvent::Kind::MouseEvent).empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::ExitWindows).empty());
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp, kOneThree, kOneOne}));

    Reset();
    Route(0);  // a left click
    EXPECT_EQ(desk.Events(SimEvent::Kind::MouseEvent).size(), 2u);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
    EXPECT_EQ(Marked(), (Marks{0, 0, 0, 0, 0, 0}));
}

// ---- The user's own application, where nothing is open --------------------------

TEST_F(RouterTest, UserApplicationTakesOnlyWhatTheSixLeave) {
    desk.SetFileText("C:\\Users\\Ada\\AppData\\Roaming\\Remote Control\\applications.ini",
                     "[Player]\nExe = player.exe\npower = command 1\nshutdown = command 2\n"
                     "num1 = command 3\n");
    Hwnd player = desk.AddWindow("PlayerClass", "Player");
    desk.SetProcessImage(desk.GetWindowProcessId(player), "C:\\Tools\\player.exe");
    desk.SetForegroundWindow(player);
    sys->nIRKEYType = k44Key;
    Reset();
    Route(12);  // power
    Route(29);  // 1-3
    Route(0);   // num1
    EXPECT_EQ(Script(), "post:Player:273:1 post:Player:273:2 post:Player:273:3");
    EXPECT_TRUE(Launched().empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::MouseEvent).empty());
    EXPECT_EQ(Traces(), (Lines{kActive, kNoAp,
                               "User applications read from C:\\Users\\Ada\\AppData\\Roaming\\"
                               "Remote Control\\applications.ini (1)",
                               "User application Player: KeyCode (C)", kActive, kNoAp, kOneThree,
                               kOneOne, "User application Player: KeyCode (1D)", kActive, kNoAp,
                               kOther, kRecheck, "User application Player: KeyCode (0)"}));

    // An open application comes first and is marked; then it has the keys.
    Reset();
    OpenPallamo();
    Route(0);
    Route(12);
    EXPECT_EQ(Script(), "post:Tessaryn:3000:10001 post:Tessaryn:3000:25");

    // The power key launches while one of the six is open, marked or not.
    Reset();
    sys->nCurRemoteTV = kPallamo;
    Route(12);
    EXPECT_EQ(Script(), "post:Tessaryn:3000:25");
}

// ---- What a press did -------------------------------------------------------------

std::string Said(const PressOutcome& o) {
    return std::to_string(static_cast<int>(o.taker)) + " " + o.name + ": " +
           (o.sent.empty() ? "(" + o.why + ")" : o.sent);
}

TEST_F(RouterTest, TheOutcomeSaysWhoTookThePressAndWhatWasSent) {
    constexpr int kApp = static_cast<int>(PressTaker::kBuiltInApp);
    sys->nIRKEYType = k44Key;
    OpenTotalMedia();
    App(*sys, kTotalMedia)->bLaunched = 1;
    EXPECT_EQ(Said(Route(68)), std::to_string(kApp) + " TotalMedia: Ctrl+P");
    EXPECT_EQ(Said(RouteKey(*sys, Press{68, true}, mainWindow)),
              std::to_string(kApp) + " TotalMedia: (TotalMedia does nothing with a held button)");
    EXPECT_EQ(Said(Route(29)),
              std::to_string(kApp) + " TotalMedia: (TotalMedia has no command for this button)");
    desk.SetForegroundWindow(desk.AddWindow("Notepad", "Editor"));
    desk.refuseForeground = true;
    desk.refuseForegroundAttached = true;
    EXPECT_EQ(Said(Route(68)), std::to_string(kApp) + " TotalMedia: (TotalMedia is not in front)");

    Reset();
    OpenPallamo();
    EXPECT_EQ(Said(Route(0)), std::to_string(kApp) + " Pallamo: message 3000 (10001)")
        << "found by the window search";

    // The power key: the current application's launch, not the others' closes.
    Reset();
    sys->nCurRemoteTV = kLumetraCenter;
    EXPECT_EQ(Said(Route(12)), std::to_string(kApp) + " Lumetra Center: launch");
}

TEST_F(RouterTest, TheOutcomeOfThePointerAndTheShutDownOffer) {
    constexpr int kPointer = static_cast<int>(PressTaker::kPointer);
    sys->nIRKEYType = k44Key;
    EXPECT_EQ(Said(Route(2)), std::to_string(kPointer) + " : pointer up");
    EXPECT_EQ(Said(Route(40)), std::to_string(kPointer) + " : (no pointer action for this button)");
    const std::string offered =
        std::to_string(static_cast<int>(PressTaker::kShutdownDialog)) + " : opened";
    EXPECT_EQ(Said(Route(29)), offered);
    sys->nIRKEYType = k32Key;  // its 1-3 button, KeyCode 3, is also a pointer direction
    EXPECT_EQ(Said(Route(3)), offered);
}

}  // namespace
}  // namespace rc
