#include "apps/media_center.h"

#include <gtest/gtest.h>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "core/system.h"
#include "support/test_support.h"

namespace rc {
namespace {

using test::Script;

class MediaCenterTest : public ::testing::Test {
  protected:
    void SetUp() override { desk.ClearLog(); }
    Hwnd Open() { return test::OpenAppWindow(desk, kMediaCenter); }
    void Press(std::uint32_t layout, std::uint32_t keyCode) {
        MediaCenterKeyMap(sys, layout, keyCode);
    }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(MediaCenterTest, ChordActivatesThenPressesInOrderAndReleasesInReverse) {
    Hwnd window = Open();
    Press(k44Key, 21);  // CtrlShiftA: Ctrl first
    EXPECT_EQ(Script(desk),
              "fg:Windows Media Center active:Windows Media Center 17d 16d 65d 65u 16u 17u");
    EXPECT_EQ(App(sys, kMediaCenter)->hWnd, window);

    desk.ClearLog();
    Press(k44Key, 15);  // ShiftCtrlZ: Shift first
    EXPECT_EQ(desk.KeyText(), "16d 17d 90d 90u 17u 16u");

    desk.ClearLog();
    Press(k50Key, 90);  // AltCtrlT
    EXPECT_EQ(desk.KeyText(), "18:0 17d 84d 84u 17u 18:2");
}

TEST_F(MediaCenterTest, DigitsArePostedAsKeyDownsOnly) {
    Open();
    Press(k44Key, 0);
    Press(k44Key, 10);
    Press(k50Key, 0);
    Press(k32Key, 12);
    EXPECT_EQ(Script(desk),
              "fg:Windows Media Center active:Windows Media Center "
              "post:Windows Media Center:256:97:1500001 "
              "fg:Windows Media Center active:Windows Media Center "
              "post:Windows Media Center:256:96:1500001 "
              "fg:Windows Media Center active:Windows Media Center "
              "post:Windows Media Center:256:96:1500001 "
              "fg:Windows Media Center active:Windows Media Center "
              "post:Windows Media Center:256:103:1500001");
    EXPECT_EQ(desk.KeyText(), "");
}

TEST_F(MediaCenterTest, NothingIsSentWithoutTheWindowAndNoneIsStored) {
    App(sys, kMediaCenter)->hWnd = 1234;
    desk.AddWindow("eHome Render Window", "Some other title");  // needs its own title
    Press(k44Key, 21);
    Press(k44Key, 0);
    MediaCenterCtrlT(sys);
    EXPECT_EQ(Script(desk), "");
    EXPECT_EQ(App(sys, kMediaCenter)->hWnd, 0u);
}

TEST_F(MediaCenterTest, KeysSharingACommandSendTheSameKeys) {
    Open();
    for (std::uint32_t keyCode : {9u, 14u, 31u}) {  // Backspace
        desk.ClearLog();
        Press(k44Key, keyCode);
        EXPECT_EQ(desk.KeyText(), "8d 8u") << keyCode;
    }
    for (std::uint32_t keyCode : {68u, 71u}) {  // CtrlP
        desk.ClearLog();
        Press(k44Key, keyCode);
        EXPECT_EQ(desk.KeyText(), "17d 80d 80u 17u") << keyCode;
    }
}

TEST_F(MediaCenterTest, EmptyCellsApplicationKeysAndOtherLayoutsDoNothing) {
    Open();
    Press(k32Key, 3);
    Press(k35Key, 9);
    Press(k44Key, 12);  // the application keys reach ToggleApp, not the map
    Press(k50Key, 13);
    Press(k50Key, 50);
    Press(k35Key, 22);
    Press(k32Key, 67);
    Press(k44Key, 255);
    Press(1, 11);  // layouts without a map
    Press(2, 11);
    Press(6, 11);
    EXPECT_EQ(Script(desk), "");
}

TEST_F(MediaCenterTest, SampleCellsOfEachLayout) {
    Open();
    Press(k32Key, 11);  // AltEnter
    EXPECT_EQ(desk.KeyText(), "18:0 13d 13u 18:2");
    desk.ClearLog();
    Press(k35Key, 10);  // AltEnter
    EXPECT_EQ(desk.KeyText(), "18:0 13d 13u 18:2");
    desk.ClearLog();
    Press(k44Key, 30);  // WinD
    EXPECT_EQ(desk.KeyText(), "91d 68d 68u 91u");
    desk.ClearLog();
    Press(k50Key, 27);  // CtrlShiftB
    EXPECT_EQ(desk.KeyText(), "17d 16d 66d 66u 16u 17u");
}

TEST_F(MediaCenterTest, CtrlTForTheFollowUpAfterALaunch) {
    Open();
    MediaCenterCtrlT(sys);
    EXPECT_EQ(desk.KeyText(), "17d 84d 84u 17u");
}

}  // namespace
}  // namespace rc
