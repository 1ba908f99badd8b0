#include "shell/osd.h"

#include <gtest/gtest.h>

#include <string>

#include "core/system.h"
#include "platform/win_defs.h"
#include "support/sim_desktop.h"

namespace rc {
namespace {

constexpr std::uint32_t kOsdStyles = win::kWsExLayered | win::kWsExTransparent |
                                     win::kWsExNoActivate | win::kWsExToolWindow |
                                     win::kWsExTopmost;
// 44KEY KeyCodes.
constexpr std::uint32_t kVolUp = 19;
constexpr std::uint32_t kOk = 11;
constexpr std::uint32_t kUp = 32;
constexpr std::uint32_t kPlay = 68;
constexpr std::uint32_t kPower = 12;
constexpr std::uint32_t kShutdown = 29;

PressOutcome Outcome(PressTaker taker, std::string name, std::string sent, std::string why = {}) {
    return {taker, std::move(name), std::move(sent), std::move(why)};
}

class OsdTest : public ::testing::Test {
  protected:
    OsdTest() {
        sys.nIRKEYType = k44Key;
        sys.showButtons = true;
        app = desk.AddWindow("StandinPlayer_Class", "Player");
        desk.SetForegroundWindow(app);
    }
    Hwnd Panel() { return desk.FindWindowA(kOsdClass, nullptr); }
    void Frame(std::uint32_t keyCode, bool repeat, const PressOutcome& outcome) {
        ShowOnScreen(sys, Press{keyCode, repeat}, outcome);
    }
    SimDesktop desk;
    System sys{desk};
    Hwnd app = 0;
};

TEST_F(OsdTest, LineNamesTheButtonAndWhatItDidForEachKindOfPress) {
    struct Case {
        std::uint32_t keyCode;
        PressOutcome outcome;
        const char* line;
    };
    const Case cases[] = {
        {kOk, Outcome(PressTaker::kBuiltInApp, "Pallamo", "message 3000 (10011)"),
         "OK \xE2\x86\x92 Pallamo"},
        {kVolUp, Outcome(PressTaker::kUserApp, "VLC", "WM_APPCOMMAND VOLUME_UP"),
         "Volume up \xE2\x86\x92 VLC"},
        {kUp, Outcome(PressTaker::kPointer, "", "pointer up"), "Up \xE2\x86\x92 pointer"},
        {kPower, Outcome(PressTaker::kBuiltInApp, "TotalMedia", "launch"),
         "Power \xE2\x86\x92 launch TotalMedia"},
        {kShutdown, Outcome(PressTaker::kShutdownDialog, "", "opened"),
         "Shut down \xE2\x86\x92 Shut Down dialog"},
        {kPlay, Outcome(PressTaker::kBuiltInApp, "TotalMedia", "", "TotalMedia is not in front"),
         "Play: TotalMedia is not in front"},
        {kUp, Outcome(PressTaker::kPointer, "", "", "the pointer is at the edge"),
         "Up: the pointer is at the edge"},
        {kOk, Outcome(PressTaker::kNobody, "", ""), "OK: nothing to do"},
        {200, Outcome(PressTaker::kNobody, "", "", "no pointer action for this button"),
         "KeyCode 200: no pointer action for this button"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(PressLine(sys, Press{c.keyCode, false}, c.outcome), c.line);
    }
}

TEST_F(OsdTest, PressShowsATopmostToolWindowWithoutTakingTheForeground) {
    desk.ClearLog();
    Frame(kVolUp, false, Outcome(PressTaker::kUserApp, "VLC", "keys Up"));
    const Hwnd panel = Panel();
    ASSERT_NE(panel, 0u);
    EXPECT_EQ(desk.WindowExStyle(panel), kOsdStyles);
    EXPECT_EQ(desk.WindowTitle(panel), "Volume up \xE2\x86\x92 VLC");
    EXPECT_TRUE(desk.IsWindowVisible(panel));
    EXPECT_TRUE(desk.IsTopmost(panel));
    EXPECT_EQ(desk.WindowAlpha(panel), kOsdAlpha);
    EXPECT_EQ(desk.Foreground(), app);
    EXPECT_EQ(desk.GetWindowProcessId(panel), SimDesktop::kOurProcess);
}

TEST_F(OsdTest, LineSitsAtTheBottomCentreOfTheForegroundWindowsMonitor) {
    // 1/25 of the work area's height for the text, on a panel 8/5 of it.
    desk.SetWindowMonitor(app, Rect{1920, 0, 4480, 1400});
    Frame(kOk, false, Outcome(PressTaker::kBuiltInApp, "Pallamo", "message 3000 (10011)"));
    const Hwnd panel = Panel();
    const Point size = desk.WindowSize(panel);
    const Point at = desk.WindowPosition(panel);
    EXPECT_EQ(size.y, 1400 / 25 * 8 / 5);
    EXPECT_GT(size.x, size.y);
    EXPECT_EQ(at.x - 1920, 4480 - (at.x + size.x));  // centred
    EXPECT_EQ(at.y, 1400 - 2 * size.y);

    desk.SetForegroundWindow(desk.AddWindow("Other", "On the primary monitor"));
    Frame(kOk, false, Outcome(PressTaker::kBuiltInApp, "Pallamo", "message 3000 (10011)"));
    EXPECT_LT(desk.WindowPosition(panel).x, 1920);
    EXPECT_EQ(desk.WindowPosition(panel).y, 1040 - 2 * (1040 / 25 * 8 / 5));
}

TEST_F(OsdTest, HeldButtonUpdatesTheOneWindowThenTheLineFades) {
    const PressOutcome volume = Outcome(PressTaker::kUserApp, "VLC", "WM_APPCOMMAND VOLUME_UP");
    const PressOutcome waits =
        Outcome(PressTaker::kUserApp, "VLC", "", "VLC repeats a held button after 400 ms");
    Frame(kVolUp, false, volume);
    const Hwnd panel = Panel();
    // Three frames inside the repeat delay keep the line; the three after it
    // act, and the count is of the press and those.
    for (int frame = 2; frame <= 7; ++frame) {
        desk.Advance(108);
        Frame(kVolUp, true, frame <= 4 ? waits : volume);
        if (frame == 4) {
            EXPECT_EQ(desk.WindowTitle(panel), "Volume up \xE2\x86\x92 VLC");
        }
    }
    EXPECT_EQ(desk.WindowTitle(panel),
              "Volume up \xE2\x86\x92 VLC \xC3\x97"
              "4");
    // A held button that acts once keeps the line of its press.
    Frame(kOk, false, Outcome(PressTaker::kBuiltInApp, "Pallamo", "message 3000 (10011)"));
    desk.Advance(108);
    Frame(kOk, true, Outcome(PressTaker::kBuiltInApp, "Pallamo", ""));
    EXPECT_EQ(desk.WindowTitle(panel), "OK \xE2\x86\x92 Pallamo");
    EXPECT_EQ(desk.TextPanelsCreated(), 1);

    desk.Advance(kOsdShowTime - 1);  // 1.5 s after the last frame
    EXPECT_EQ(desk.WindowAlpha(panel), kOsdAlpha);
    desk.Advance(1 + kOsdFadeStepTime);
    EXPECT_LT(desk.WindowAlpha(panel), kOsdAlpha);
    EXPECT_TRUE(desk.IsWindowVisible(panel));
    desk.Advance(kOsdFadeStepTime * kOsdFadeSteps);
    EXPECT_FALSE(desk.IsWindowVisible(panel));
    EXPECT_FALSE(desk.TimerArmed(panel, 1));
    EXPECT_FALSE(desk.TimerArmed(panel, 2));

    // A press during the fade brings the full panel back.
    Frame(kOk, false, Outcome(PressTaker::kBuiltInApp, "Pallamo", "message 3000 (10011)"));
    desk.Advance(kOsdShowTime + kOsdFadeStepTime);
    Frame(kUp, false, Outcome(PressTaker::kPointer, "", "pointer up"));
    EXPECT_EQ(desk.WindowAlpha(panel), kOsdAlpha);
    EXPECT_EQ(desk.WindowTitle(panel), "Up \xE2\x86\x92 pointer");
    EXPECT_EQ(desk.Foreground(), app);
}

TEST_F(OsdTest, OffShowsNothingAndSwitchingOffHidesTheLine) {
    sys.showButtons = false;
    sys.onPressDone(sys, Press{kOk, false}, Outcome(PressTaker::kBuiltInApp, "Pallamo", "x"));
    EXPECT_EQ(Panel(), 0u);
    SetShowButtons(sys, true);
    sys.onPressDone(sys, Press{kOk, false}, Outcome(PressTaker::kBuiltInApp, "Pallamo", "x"));
    ASSERT_NE(Panel(), 0u);
    EXPECT_TRUE(desk.IsWindowVisible(Panel()));
    SetShowButtons(sys, false);
    EXPECT_FALSE(desk.IsWindowVisible(Panel()));
    EXPECT_FALSE(desk.TimerArmed(Panel(), 1));
}

}  // namespace
}  // namespace rc
