#include "apps/switching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "apps/app_record.h"
#include "core/system.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"
#include "platform/win_defs.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;
using Lines = std::vector<std::string>;

// The registry of a machine with all six applications installed; it must be
// in place before the System reads it.
struct InstalledDesk {
    InstalledDesk() {
        test::InstallAllApps(desk);
        desk.SetRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center", "Ident",
                          "5.0");
    }
    SimDesktop desk;
};

class SwitchingTest : public InstalledDesk, public ::testing::Test {
  protected:
    SwitchingTest() : sys(desk) { sys.traceOn = true; }

    // Opens the main window of every application, named for the story.
    void OpenAll() {
        Name(test::OpenAppWindow(desk, kPowerCinema), "PowerCinema");
        Name(test::OpenAppWindow(desk, kPallamo), "Pallamo");
        Name(test::OpenAppWindow(desk, kMediaCenter), "MediaCenter");
        Name(test::OpenAppWindow(desk, kLumetraPanel), "Panel");
        Name(test::OpenAppWindow(desk, kTotalMedia), "TotalMedia");
        Name(test::OpenAppWindow(desk, kLumetraCenter), "Center");
    }
    Hwnd Name(Hwnd hwnd, const std::string& name) {
        names[hwnd] = name;
        return hwnd;
    }

    // What the system did to the applications, one line per act; SetActive
    // is left out (it always follows SetForeground here).
    Lines Story() const {
        Lines story;
        std::string keys;
        auto flushKeys = [&] {
            if (!keys.empty()) {
                story.push_back("keys" + keys);
                keys.clear();
            }
        };
        for (const SimEvent& e : desk.Log()) {
            if (e.kind == Kind::KeybdEvent) {
                keys += ' ';
                keys += std::to_string(e.a);
                if (e.b == 1 || e.b == 3) {
                    keys += e.b == 1 ? 'd' : 'u';
                } else {
                    keys += ':';
                    keys += std::to_string(e.b);
                }
                continue;
            }
            flushKeys();
            auto name = [&] {
                auto it = names.find(e.hwnd);
                return it == names.end() ? std::string("?") : it->second;
            };
            switch (e.kind) {
                case Kind::SetForeground:
                    story.push_back("activate " + name());
                    break;
                case Kind::PostMessage:
                    story.push_back("post " + name() + " " + std::to_string(e.a) + " " +
                                    std::to_string(e.b));
                    break;
                case Kind::ShellExecute:
                    story.push_back("run " + e.text);
                    break;
                case Kind::Sleep:
                    story.push_back("sleep " + std::to_string(e.a));
                    break;
                case Kind::Trace:
                    story.push_back(test::Untraced(e.text));
                    break;
                case Kind::MessageBox:
                    story.push_back("box " + e.text);
                    break;
                default:
                    break;
            }
        }
        flushKeys();
        return story;
    }

    System sys;
    std::map<Hwnd, std::string> names;
};

TEST_F(SwitchingTest, SwitchClosesTheOthersInOrderThenActivatesTheTarget) {
    OpenAll();
    Hwnd result = SwitchToApp(sys, kTotalMedia);
    EXPECT_EQ(names[result], "TotalMedia");
    EXPECT_EQ(Story(), (Lines{
                           "activate PowerCinema",
                           "keys 18:0 115d 115u 18:2",
                           "post Pallamo 3000 25",
                           "activate MediaCenter",
                           "keys 18:0 115d 115u 18:2",
                           "post Panel 4024 1",
                           "post Center 4024 25",
                           "activate TotalMedia",
                       }));
}

TEST_F(SwitchingTest, SwitchToRunningPallamoActivatesItAndStartsNothing) {
    OpenAll();
    EXPECT_EQ(names[SwitchToApp(sys, kPallamo)], "Pallamo");
    EXPECT_EQ(Story(), (Lines{
                           "activate PowerCinema",
                           "keys 18:0 115d 115u 18:2",
                           "activate MediaCenter",
                           "keys 18:0 115d 115u 18:2",
                           "post Panel 4024 1",
                           "activate TotalMedia",
                           "keys 18:0 115d 115u 18:2",
                           "sleep 1000",
                           "post Center 4024 25",
                           "activate Pallamo",
                       }));
}

TEST_F(SwitchingTest, SwitchFromLumetraCenterToThePanelLaunchesThePanel) {
    // The closed Lumetra Center window is still there when the panel is looked for.
    Name(test::OpenAppWindow(desk, kLumetraCenter), "Center");
    EXPECT_EQ(SwitchToApp(sys, kLumetraPanel), 0u);
    EXPECT_EQ(Story(), (Lines{"post Center 4024 25", "run C:\\Panel\\MainPanel.exe"}));
    EXPECT_EQ(App(sys, kLumetraPanel)->bLaunched, 1);
}

TEST_F(SwitchingTest, EveryTargetHasItsCloseOrder) {
    OpenAll();
    const struct {
        std::uint32_t target;
        Lines closed;
    } orders[] = {
        {kPallamo, {"PowerCinema", "MediaCenter", "Panel", "TotalMedia", "Center"}},
        {kMediaCenter, {"PowerCinema", "Pallamo", "Panel", "TotalMedia", "Center"}},
        {kLumetraPanel, {"PowerCinema", "Pallamo", "MediaCenter", "TotalMedia", "Center"}},
        {kLumetraCenter, {"PowerCinema", "Pallamo", "MediaCenter", "Panel", "TotalMedia"}},
    };
    for (const auto& order : orders) {
        desk.ClearLog();
        SwitchToApp(sys, order.target);
        Lines closed;
        for (const std::string& line : Story()) {
            if (line.rfind("activate ", 0) == 0 || line.rfind("post ", 0) == 0) {
                std::string who = line.substr(line.find(' ') + 1);
                who = who.substr(0, who.find(' '));
                if (closed.empty() || closed.back() != who) {
                    closed.push_back(who);
                }
            }
        }
        // The target comes last: activated.
        ASSERT_FALSE(closed.empty());
        closed.pop_back();
        EXPECT_EQ(closed, order.closed) << order.target;
    }
    desk.ClearLog();
    EXPECT_EQ(SwitchToApp(sys, 3), 0u);
    EXPECT_EQ(SwitchToApp(sys, 0), 0u);
    EXPECT_TRUE(Story().empty());
}

TEST_F(SwitchingTest, AfterLaunchSendsNothingToAnApplicationAlreadyUp) {
    Name(desk.AddWindow("SomeFrame", "Arcsoft TotalMedia"), "TotalMedia");
    AfterLaunch(sys, kTotalMedia);
    Name(test::OpenAppWindow(desk, kLumetraCenter), "Center");
    AfterLaunch(sys, kLumetraCenter);
    EXPECT_TRUE(Story().empty());
}

TEST_F(SwitchingTest, AfterLaunchWaitsAndItsCommandsFindNoWindow) {
    const struct {
        std::uint32_t appId;
        Lines story;
    } cases[] = {
        {kPowerCinema, {"sleep 4500", "sleep 4500"}},
        {kPallamo, {"sleep 4500", "sleep 4500"}},
        {kMediaCenter, {"sleep 6500"}},
        {kTotalMedia, {"sleep 2500", "sleep 2500"}},
        {kLumetraPanel, {"sleep 6500"}},
        {kLumetraCenter, {"sleep 3500", "sleep 1000"}},
    };
    for (const auto& c : cases) {
        desk.ClearLog();
        AfterLaunch(sys, c.appId);
        EXPECT_EQ(Story(), c.story) << c.appId;
    }
    desk.ClearLog();
    AfterLaunch(sys, 7);
    EXPECT_TRUE(Story().empty());
}

TEST_F(SwitchingTest, AutoLaunchOnlyTracesWithoutReceiverOrKnownApplication) {
    OpenAll();
    sys.bDeviceReady = 0;
    sys.nCurRemoteTV = kPallamo;
    AutoLaunchCurrentApp(sys);
    EXPECT_EQ(Story(), (Lines{"Launch Ap", "NOT bLaunchap"}));

    sys.bDeviceReady = 1;
    for (std::uint32_t appId : {0u, 3u, 7u, 8u, 10u, 255u}) {
        desk.ClearLog();
        sys.nCurRemoteTV = appId;
        AutoLaunchCurrentApp(sys);
        EXPECT_EQ(Story(), (Lines{"Launch Ap", "Find Device than Launch Ap"})) << appId;
    }
}

TEST_F(SwitchingTest, AutoLaunchSwitchesTracesThenFollowsUp) {
    sys.nCurRemoteTV = kPallamo;
    AutoLaunchCurrentApp(sys);
    EXPECT_EQ(Story(),
              (Lines{"Launch Ap", "Find Device than Launch Ap", "run C:\\Pallamo\\Quillet.exe",
                     "Launch Pallamo", "sleep 4500", "sleep 4500"}));

    const struct {
        std::uint32_t appId;
        const char* line;
    } lines[] = {{kPowerCinema, "Launch PowerCinema"},
                 {kMediaCenter, "Launch Media Center Edition"},
                 {kTotalMedia, "Launch TotalMedia "},
                 {kLumetraPanel, " Launch Lumetra"},
                 {kLumetraCenter, "Launch Lumetra Center"}};
    for (const auto& l : lines) {
        desk.ClearLog();
        sys.nCurRemoteTV = l.appId;
        AutoLaunchCurrentApp(sys);
        Lines story = Story();
        auto traced = std::find(story.begin(), story.end(), l.line);
        ASSERT_NE(traced, story.end()) << l.appId;
        // The switch happens before the line, the follow-up's pauses after.
        EXPECT_EQ((traced - 1)->rfind("run ", 0), 0u) << l.appId;
        EXPECT_EQ((traced + 1)->rfind("sleep ", 0), 0u) << l.appId;
    }
}

TEST_F(SwitchingTest, InstalledAndRunningForTheTrayMenu) {
    for (std::uint32_t appId : {1u, 2u, 4u, 5u, 6u, 9u}) {
        EXPECT_EQ(IsAppInstalled(sys, appId), 1) << appId;
        EXPECT_EQ(IsAppRunning(sys, appId), 0) << appId;
    }
    App(sys, kTotalMedia)->bInstalled = 0;
    EXPECT_EQ(IsAppInstalled(sys, kTotalMedia), 0);
    desk.DeleteRegKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center");
    EXPECT_EQ(IsAppInstalled(sys, kMediaCenter), 0);
    EXPECT_EQ(IsAppInstalled(sys, 3), 0);
    EXPECT_EQ(IsAppRunning(sys, 3), 0);

    // Searched as the tray menu searches: PowerCinema and TotalMedia by title
    // alone, the Lumetra windows by class and title.
    desk.AddWindow("AnyClass", "PowerCinema");
    desk.AddWindow("AnyClass", "Arcsoft TotalMedia");
    desk.AddWindow("AnyClass", "Mirvo");
    test::OpenAppWindow(desk, kLumetraCenter);
    EXPECT_EQ(IsAppRunning(sys, kPowerCinema), 1);
    EXPECT_EQ(IsAppRunning(sys, kTotalMedia), 1);
    EXPECT_EQ(IsAppRunning(sys, kLumetraPanel), 0);
    EXPECT_EQ(IsAppRunning(sys, kLumetraCenter), 1);
    EXPECT_EQ(IsAppRunning(sys, kPallamo), 0);
}

}  // namespace
}  // namespace rc
