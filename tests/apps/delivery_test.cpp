#include "apps/delivery.h"

#include <gtest/gtest.h>

#include "apps/app_script.h"
#include "apps/media_center.h"
#include "apps/power_cinema.h"
#include "core/press.h"
#include "core/system.h"
#include "support/test_support.h"

namespace rc {
namespace {

using test::Script;

// Keystrokes go only to the window they are meant for: when Windows refuses
// the foreground, nothing is typed into whatever program holds it.
class ForegroundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sys.traceOn = true;
        editor = desk.AddWindow("Notepad", "Editor");
        desk.SetForegroundWindow(editor);
        target = test::OpenAppWindow(desk, kPowerCinema);
        desk.ClearLog();
    }

    SimDesktop desk;
    System sys{desk};
    Hwnd editor = 0;
    Hwnd target = 0;
};

TEST_F(ForegroundTest, ATargetThatComesToTheFrontGetsTheKeysAtOnce) {
    EXPECT_TRUE(ActivateForKeystrokes(sys, target));
    EXPECT_EQ(Script(desk), "fg:PowerCinema active:PowerCinema");
    EXPECT_EQ(desk.AttachedInputs(), 0);
}

TEST_F(ForegroundTest, ARefusedForegroundIsTriedOnceMoreAttachedToTheFrontThread) {
    desk.refuseForeground = true;
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(Script(desk),
              "fg:PowerCinema active:PowerCinema fg:PowerCinema active:PowerCinema "
              "17d 84d 84u 17u");
    EXPECT_EQ(desk.Foreground(), target);
    EXPECT_EQ(desk.AttachedInputs(), 0);  // detached again
}

TEST_F(ForegroundTest, StillRefusedMeansNoKeysAndATraceLine) {
    desk.refuseForeground = true;
    desk.refuseForegroundAttached = true;
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_EQ(desk.Foreground(), editor);
    EXPECT_EQ(desk.AttachedInputs(), 0);
    ASSERT_EQ(desk.Traces().size(), 1u);
    EXPECT_NE(desk.Traces()[0].find("not the foreground window"), std::string::npos);
}

TEST_F(ForegroundTest, AHungWindowInFrontIsNeitherAttachedToNorTypedInto) {
    desk.SetHung(editor, true);
    desk.refuseForeground = true;
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(Script(desk), "fg:PowerCinema active:PowerCinema") << "no second try, no keys";
    EXPECT_EQ(desk.attachesToHungThreads, 0);
    ASSERT_EQ(desk.Traces().size(), 1u);
    EXPECT_NE(desk.Traces()[0].find("Keys not sent: the window in front is not responding"),
              std::string::npos);

    desk.SetHung(editor, false);  // it answers again: the next press goes through
    desk.ClearLog();
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(desk.KeyText(), "17d 84d 84u 17u");
}

TEST_F(ForegroundTest, AWindowOfTheTargetsOwnProcessInFrontTakesTheKeys) {
    Hwnd dialog = desk.AddWindow("#32770", "Open file");
    desk.SetWindowProcess(dialog, desk.GetWindowProcessId(target));
    desk.SetForegroundWindow(dialog);
    desk.refuseForeground = true;  // the application keeps its dialog in front
    desk.refuseForegroundAttached = true;
    desk.ClearLog();
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(Script(desk), "fg:PowerCinema active:PowerCinema 17d 84d 84u 17u");
}

// The foreground change is carried out by the target's thread, which may lag.
TEST_F(ForegroundTest, AForegroundChangeThatLandsLateStillGetsTheKeys) {
    desk.foregroundDelay = 40;
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(Script(desk),
              "fg:PowerCinema active:PowerCinema sleep:10 sleep:10 sleep:10 sleep:10 "
              "17d 84d 84u 17u");
}

TEST_F(ForegroundTest, AForegroundChangeThatNeverLandsGetsNoKeys) {
    desk.foregroundDelay = SimDesktop::kNeverLands;
    const std::uint32_t start = desk.Now();
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_EQ(desk.Now() - start, 500u) << "250 ms before the retry, 250 ms after";
    EXPECT_EQ(desk.AttachedInputs(), 0);
    ASSERT_EQ(desk.Traces().size(), 1u);
    EXPECT_NE(desk.Traces()[0].find("not the foreground window"), std::string::npos);
}

TEST_F(ForegroundTest, ATargetAlreadyInFrontSeesNoWait) {
    desk.SetForegroundWindow(target);
    desk.foregroundDelay = 40;
    desk.ClearLog();
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(Script(desk), "fg:PowerCinema active:PowerCinema 17d 84d 84u 17u");
}

TEST_F(ForegroundTest, PostedKeysAreNotHeldBack) {
    desk.refuseForeground = true;
    desk.refuseForegroundAttached = true;
    PowerCinemaKeyMap(sys, 24);  // Up, posted
    EXPECT_EQ(Script(desk), "fg:PowerCinema active:PowerCinema post:PowerCinema:256:38:1500001");
}

TEST_F(ForegroundTest, OneSenderForBothFormsOfKeysThatSaysWhatItSent) {
    constexpr std::uint8_t kAltF4[] = {18, 115};
    PressOutcome outcome;
    PressScope scope(sys, outcome);
    NoteTaker(sys, PressTaker::kBuiltInApp, "PowerCinema");
    EXPECT_TRUE(SendKeystrokes(sys, target, kAltF4, 2, KeyForm::kFixed));
    EXPECT_TRUE(SendKeystrokes(sys, target, kAltF4, 2, KeyForm::kScanCodes));
    EXPECT_EQ(Script(desk),
              "fg:PowerCinema active:PowerCinema 18:0 115d 115u 18:2 "
              "fg:PowerCinema active:PowerCinema 18:0 115:0 115:2 18:2")
        << "scan codes: the extended flag only where a keyboard sets it";
    EXPECT_EQ(outcome.sent, "Alt+F4, Alt+F4");

    desk.SetForegroundWindow(editor);
    desk.refuseForeground = true;
    desk.refuseForegroundAttached = true;
    desk.ClearLog();
    EXPECT_FALSE(SendKeystrokes(sys, target, kAltF4, 2, KeyForm::kFixed));
    EXPECT_EQ(desk.KeyText(), "");
    EXPECT_EQ(outcome.why, "PowerCinema is not in front");
}

}  // namespace
}  // namespace rc
