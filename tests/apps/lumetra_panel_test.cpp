#include "apps/lumetra_panel.h"

#include <gtest/gtest.h>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "core/system.h"
#include "support/test_support.h"

namespace rc {
namespace {

using test::Script;

class LumetraPanelTest : public ::testing::Test {
  protected:
    void SetUp() override { desk.ClearLog(); }
    Hwnd Open() { return test::OpenAppWindow(desk, kLumetraPanel); }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(LumetraPanelTest, CommandsArePostedWithoutActivationSave3000And20) {
    Hwnd panel = Open();
    LumetraPanelKeyMap(sys, 13);
    LumetraPanelKeyMap(sys, 22);
    LumetraPanelKeyMap(sys, 29);
    EXPECT_EQ(Script(desk),
              "post:Mirvo:4024:10008 "
              "fg:Mirvo active:Mirvo top:Mirvo post:Mirvo:4024:3000 sleep:2000 "
              "fg:Mirvo active:Mirvo top:Mirvo post:Mirvo:4024:20");
    EXPECT_EQ(App(sys, kLumetraPanel)->hWnd, panel);
}

TEST_F(LumetraPanelTest, PausesAreMadeAlsoWithoutThePanel) {
    App(sys, kLumetraPanel)->hWnd = 12;
    LumetraPanelKeyMap(sys, 28);
    LumetraPanelKeyMap(sys, 20);
    LumetraPanelKeyMap(sys, 31);
    LumetraPanelKeyMap(sys, 1);
    EXPECT_EQ(Script(desk), "sleep:3000 sleep:2000 sleep:2000");
    EXPECT_EQ(App(sys, kLumetraPanel)->hWnd, 0u);
}

TEST_F(LumetraPanelTest, KeysWithoutACommandDoNothing) {
    Open();
    for (std::uint32_t keyCode : {0u, 3u, 32u, 67u, 255u}) {
        LumetraPanelKeyMap(sys, keyCode);
    }
    EXPECT_EQ(Script(desk), "");
}

TEST_F(LumetraPanelTest, OnlyTheMirvoTitleIsCommanded) {
    test::OpenAppWindow(desk, kLumetraCenter);
    desk.AddWindow("OtherClass", "Mirvo");
    LumetraPanelKeyMap(sys, 18);
    EXPECT_EQ(Script(desk), "");
    Open();
    LumetraPanelKeyMap(sys, 18);
    EXPECT_EQ(Script(desk), "post:Mirvo:4024:10020");
}

}  // namespace
}  // namespace rc
