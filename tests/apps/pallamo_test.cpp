#include "apps/pallamo.h"

#include <gtest/gtest.h>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "core/system.h"
#include "support/test_support.h"

namespace rc {
namespace {

using test::Script;

class PallamoTest : public ::testing::Test {
  protected:
    void SetUp() override { desk.ClearLog(); }
    Hwnd Open() { return test::OpenAppWindow(desk, kPallamo); }
    void Press(std::uint32_t layout, std::uint32_t keyCode) { PallamoKeyMap(sys, layout, keyCode); }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(PallamoTest, WithNoFormVisibleEveryRuleReachesTheMainWindowUnactivated) {
    Hwnd main = Open();
    Press(k44Key, 9);   // 4003, main when no dialog
    Press(k44Key, 14);  // 5, main without dialog search
    Press(k44Key, 64);  // 1005, main always
    Press(k44Key, 11);  // 35005, dialog first
    EXPECT_EQ(Script(desk),
              "post:Tessaryn:3000:4003 post:Tessaryn:3000:5 post:Tessaryn:3000:1005 "
              "post:Tessaryn:3000:35005");
    EXPECT_EQ(App(sys, kPallamo)->hWnd, main);
    EXPECT_EQ(App(sys, kPallamo)->hPopup, 0u);
}

TEST_F(PallamoTest, AVisibleFormHoldsBackSomeCodesAndReceivesTheDialogFirstOnes) {
    Open();
    Hwnd form = desk.AddWindow("TDialogForm", "Options");
    Press(k44Key, 9);   // 4003: held back
    Press(k44Key, 14);  // 5: still to the main window
    Press(k44Key, 64);  // 1005: to the main window
    Press(k44Key, 11);  // 35005: the form, activated first
    EXPECT_EQ(Script(desk),
              "post:Tessaryn:3000:5 post:Tessaryn:3000:1005 "
              "fg:Options active:Options post:Options:3000:35005");
    EXPECT_EQ(App(sys, kPallamo)->hPopup, form);
}

TEST_F(PallamoTest, HiddenFormsDoNotCountAndTheEarlierVisibleFormWins) {
    Open();
    desk.AddWindow("TPopupForm", "Hidden popup", false);
    desk.AddWindow("TWizardForm", "WizardForm");
    Hwnd source = desk.AddWindow("TSourceForm", "Source");
    Press(k44Key, 66);  // 35001
    EXPECT_EQ(Script(desk), "fg:Source active:Source post:Source:3000:35001");
    EXPECT_EQ(App(sys, kPallamo)->hPopup, source);
    EXPECT_NE(sys.pallamoSlots[0], 0u);  // the hidden popup, looked at first
    EXPECT_EQ(sys.pallamoSlots[1], source);
}

TEST_F(PallamoTest, FormsAreMatchedByClassAndTitle) {
    Open();
    desk.AddWindow("Tessaryn", "Other");  // rows 5 and 6 need their titles
    Hwnd playback = desk.AddWindow("Tessaryn", "Playback");
    Press(k32Key, 18);  // 35005
    EXPECT_EQ(Script(desk), "fg:Playback active:Playback post:Playback:3000:35005");
    EXPECT_EQ(App(sys, kPallamo)->hPopup, playback);
}

TEST_F(PallamoTest, MainWithoutDialogSearchLeavesHPopupAlone) {
    Open();
    App(sys, kPallamo)->hPopup = 4321;
    Press(k32Key, 24);  // 1008
    EXPECT_EQ(App(sys, kPallamo)->hPopup, 4321u);
    EXPECT_EQ(Script(desk), "post:Tessaryn:3000:1008");
}

TEST_F(PallamoTest, NothingIsSentWithoutTheMainWindowWhateverFormIsVisible) {
    App(sys, kPallamo)->hWnd = 55;
    desk.AddWindow("TDialogForm", "Options");
    for (std::uint32_t code : {3u, 5u, 1002u, 35001u, 10004u}) {
        PallamoCommand(sys, code);
    }
    EXPECT_EQ(Script(desk), "");
    EXPECT_EQ(App(sys, kPallamo)->hWnd, 0u);
}

TEST_F(PallamoTest, The44KeyPausesComeAfter3000WithOrWithoutTheWindow) {
    Press(k44Key, 68);
    EXPECT_EQ(Script(desk), "sleep:2000");
    Open();
    desk.ClearLog();
    Press(k44Key, 71);
    EXPECT_EQ(Script(desk), "post:Tessaryn:3000:3000 sleep:2000");
    desk.ClearLog();
    Press(k35Key, 25);
    Press(k35Key, 65);
    Press(k32Key, 22);
    EXPECT_EQ(Script(desk),
              "post:Tessaryn:3000:3000 post:Tessaryn:3000:3000 post:Tessaryn:3000:3000");
}

TEST_F(PallamoTest, DigitsAndLayouts) {
    Open();
    Press(k44Key, 0);
    Press(k44Key, 10);
    Press(k35Key, 20);
    Press(k32Key, 17);
    Press(k32Key, 1);
    EXPECT_EQ(Script(desk),
              "post:Tessaryn:3000:10001 post:Tessaryn:3000:10000 post:Tessaryn:3000:10000 "
              "post:Tessaryn:3000:10000 post:Tessaryn:3000:207");
    desk.ClearLog();
    Press(k50Key, 0);  // no 50KEY map
    Press(k50Key, 11);
    Press(k44Key, 12);  // on/off buttons reach ToggleApp, not the maps
    Press(k35Key, 12);
    Press(k32Key, 67);
    Press(k35Key, 9);  // empty cell
    Press(k44Key, 255);
    EXPECT_EQ(Script(desk), "");
}

TEST_F(PallamoTest, Command207ForTheFollowUpIsHeldBackByAVisibleForm) {
    Open();
    PallamoCommand(sys, 207);
    desk.AddWindow("TPopupForm", "Popup");
    PallamoCommand(sys, 207);
    EXPECT_EQ(Script(desk), "post:Tessaryn:3000:207");
}

}  // namespace
}  // namespace rc
