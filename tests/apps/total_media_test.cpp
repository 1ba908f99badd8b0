#include "apps/total_media.h"

#include <gtest/gtest.h>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "core/system.h"
#include "support/test_support.h"

namespace rc {
namespace {

using test::Script;

class TotalMediaTest : public ::testing::Test {
  protected:
    void SetUp() override { desk.ClearLog(); }
    Hwnd Open() { return test::OpenAppWindow(desk, kTotalMedia); }
    void Press(std::uint32_t layout, std::uint32_t keyCode) {
        TotalMediaKeyMap(sys, layout, keyCode);
    }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(TotalMediaTest, ChordActivatesThenPressesModifiersFirst) {
    Hwnd window = Open();
    Press(k32Key, 22);  // CtrlShiftP
    EXPECT_EQ(Script(desk),
              "fg:ArcSoft TotalMedia active:ArcSoft TotalMedia 17d 16d 80d 80u 16u 17u");
    EXPECT_EQ(App(sys, kTotalMedia)->hWnd, window);
}

TEST_F(TotalMediaTest, DigitsAreTappedNotPosted) {
    Open();
    Press(k44Key, 0);   // digit 1
    Press(k44Key, 10);  // digit 0
    Press(k50Key, 9);   // digit 9
    EXPECT_EQ(desk.KeyText(), "97d 97u 96d 96u 105d 105u");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::PostMessage).empty());
}

TEST_F(TotalMediaTest, TwoKeysOf44KeyPauseAfterTheirCommandWithOrWithoutTheWindow) {
    Press(k44Key, 25);
    Press(k44Key, 27);
    EXPECT_EQ(Script(desk), "sleep:2000 sleep:2000");

    Open();
    desk.ClearLog();
    Press(k44Key, 25);  // F2
    Press(k44Key, 27);  // CtrlR
    EXPECT_EQ(Script(desk),
              "fg:ArcSoft TotalMedia active:ArcSoft TotalMedia 113d 113u sleep:2000 "
              "fg:ArcSoft TotalMedia active:ArcSoft TotalMedia 17d 82d 82u 17u sleep:2000");

    desk.ClearLog();
    Press(k50Key, 36);  // F2 on 50KEY: no pause
    Press(k32Key, 20);  // CtrlR on 32KEY: no pause
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Sleep).empty());
}

TEST_F(TotalMediaTest, TheWindowNeedsBothClassAndTitle) {
    App(sys, kTotalMedia)->hWnd = 99;
    desk.AddWindow("SomeOtherClass", "ArcSoft TotalMedia");
    desk.AddWindow("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "TotalMedia");
    Press(k44Key, 11);
    EXPECT_EQ(Script(desk), "");
    EXPECT_EQ(App(sys, kTotalMedia)->hWnd, 0u);
}

TEST_F(TotalMediaTest, UnmappedKeysAnd35KeyDoNothing) {
    Open();
    Press(k32Key, 3);
    Press(k44Key, 12);
    Press(k50Key, 12);
    Press(k32Key, 67);
    for (std::uint32_t keyCode = 0; keyCode < 256; ++keyCode) {
        Press(k35Key, keyCode);
    }
    EXPECT_EQ(Script(desk), "");
}

TEST_F(TotalMediaTest, KeysSharingACommandAndTheFollowUpCtrlT) {
    Open();
    Press(k44Key, 68);
    Press(k44Key, 71);
    EXPECT_EQ(desk.KeyText(), "17d 80d 80u 17u 17d 80d 80u 17u");
    desk.ClearLog();
    Press(k44Key, 32);
    Press(k44Key, 69);
    EXPECT_EQ(desk.KeyText(), "38d 38u 38d 38u");
    desk.ClearLog();
    TotalMediaCtrlT(sys);
    EXPECT_EQ(desk.KeyText(), "17d 84d 84u 17u");
}

}  // namespace
}  // namespace rc
