#include "apps/power_cinema.h"

#include <gtest/gtest.h>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "core/system.h"
#include "support/test_support.h"

namespace rc {
namespace {

using test::Script;

class PowerCinemaTest : public ::testing::Test {
  protected:
    void SetUp() override { desk.ClearLog(); }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(PowerCinemaTest, OneMapForEveryLayout) {
    test::OpenAppWindow(desk, kPowerCinema);
    PowerCinemaKeyMap(sys, 0);  // nothing, also with a 44KEY remote
    PowerCinemaKeyMap(sys, 4);
    EXPECT_EQ(Script(desk), "fg:PowerCinema active:PowerCinema post:PowerCinema:256:97:1500001");
}

TEST_F(PowerCinemaTest, NavigationKeysArePostedAndChordsAreSynthesised) {
    test::OpenAppWindow(desk, kPowerCinema);
    for (std::uint32_t keyCode : {24u, 25u, 26u, 27u, 18u, 28u, 7u, 9u, 23u, 19u, 14u}) {
        PowerCinemaKeyMap(sys, keyCode);
    }
    EXPECT_EQ(desk.KeyText(), "");
    auto posts = desk.Events(SimEvent::Kind::PostMessage);
    ASSERT_EQ(posts.size(), 11u);
    const int expected[] = {38, 40, 37, 39, 13, 27, 109, 107, 119, 120, 121};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(posts[i].a, 0x100);
        EXPECT_EQ(posts[i].b, expected[i]);
        EXPECT_EQ(posts[i].c, 0x01500001);
    }

    desk.ClearLog();
    PowerCinemaKeyMap(sys, 22);  // CtrlShiftP
    PowerCinemaKeyMap(sys, 29);  // CtrlShiftZ
    PowerCinemaKeyMap(sys, 31);  // CtrlD
    EXPECT_EQ(desk.KeyText(), "17d 16d 80d 80u 16u 17u 17d 16d 90d 90u 16u 17u 17d 68d 68u 17u");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::PostMessage).empty());
}

TEST_F(PowerCinemaTest, NothingWithoutTheWindowOrForUnlistedKeys) {
    App(sys, kPowerCinema)->hWnd = 77;
    PowerCinemaKeyMap(sys, 30);
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(App(sys, kPowerCinema)->hWnd, 0u);
    test::OpenAppWindow(desk, kPowerCinema);
    for (std::uint32_t keyCode : {0u, 1u, 3u, 11u, 32u, 67u, 255u}) {
        PowerCinemaKeyMap(sys, keyCode);
    }
    EXPECT_EQ(Script(desk), "");
}

TEST_F(PowerCinemaTest, CtrlTForTheFollowUpAfterALaunch) {
    Hwnd window = test::OpenAppWindow(desk, kPowerCinema);
    PowerCinemaCtrlT(sys);
    EXPECT_EQ(Script(desk), "fg:PowerCinema active:PowerCinema 17d 84d 84u 17u");
    EXPECT_EQ(App(sys, kPowerCinema)->hWnd, window);
    EXPECT_EQ(FindPowerCinemaWindow(sys), window);
}

}  // namespace
}  // namespace rc
