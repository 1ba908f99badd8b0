#include "core/timer_slots.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/system.h"
#include "support/sim_desktop.h"

namespace rc {
namespace {

std::uint32_t g_start = 0;
std::vector<std::uint32_t> g_fired;  // ms after the test's start at each firing

void CountingCallback(void* ctx, Hwnd, std::uintptr_t) {
    g_fired.push_back(static_cast<System*>(ctx)->os.GetTickCount() - g_start);
}

class TimerSlotTest : public ::testing::Test {
  protected:
    TimerSlotTest() {
        g_fired.clear();
        g_start = desk.Now();
        ConstructTimerSlot(slot, 7, CountingCallback);
        BindTimerSlot(slot, owner, 100);
    }
    SimDesktop desk;
    System sys{desk};
    Hwnd owner = desk.AddWindow("Remote Control", "Remote Control", false);
    TimerSlot slot;
};

TEST_F(TimerSlotTest, ArmingAnArmedSlotKeepsTheRunningTimerAndItsPhase) {
    EXPECT_FALSE(slot.armed);  // bound, not armed
    EXPECT_EQ(ArmTimerSlot(sys, slot), 7u);
    desk.Advance(40);
    EXPECT_EQ(ArmTimerSlot(sys, slot), 0u);
    desk.Advance(160);
    EXPECT_EQ(desk.SetTimerCount(), 1);
    EXPECT_EQ(g_fired, (std::vector<std::uint32_t>{100, 200}));
    // A kill and an arm start a fresh phase.
    desk.Advance(70);
    KillTimerSlot(sys, slot);
    ArmTimerSlot(sys, slot);
    desk.Advance(100);
    EXPECT_EQ(g_fired, (std::vector<std::uint32_t>{100, 200, 370}));
}

TEST_F(TimerSlotTest, KillingAnIdleSlotCallsNothing) {
    KillTimerSlot(sys, slot);
    EXPECT_EQ(desk.KillTimerCount(), 0);
    ArmTimerSlot(sys, slot);
    KillTimerSlot(sys, slot);
    KillTimerSlot(sys, slot);
    EXPECT_EQ(desk.KillTimerCount(), 1);
    EXPECT_FALSE(desk.TimerArmed(owner, 7));
    desk.Advance(500);
    EXPECT_TRUE(g_fired.empty());
}

TEST_F(TimerSlotTest, FailedSetTimerStillCountsAsArmedUntilAKill) {
    desk.failSetTimer = true;
    EXPECT_EQ(ArmTimerSlot(sys, slot), 0u);
    EXPECT_TRUE(slot.armed);
    desk.failSetTimer = false;
    ArmTimerSlot(sys, slot);
    desk.Advance(300);
    EXPECT_EQ(desk.SetTimerCount(), 1);
    EXPECT_TRUE(g_fired.empty());
    KillTimerSlot(sys, slot);  // made although no timer runs
    EXPECT_EQ(desk.KillTimerCount(), 1);
    ArmTimerSlot(sys, slot);
    desk.Advance(100);
    EXPECT_EQ(g_fired.size(), 1u);
}

TEST(SystemTimerSlots, BoundToTheMainWindowIdleThenKilledAtExitInReverseOrder) {
    SimDesktop desk;
    Hwnd main = desk.AddWindow("Remote Control", "Remote Control", false);
    {
        System sys(desk);
        EXPECT_EQ(sys.gpioTimer.id, 1u);
        EXPECT_EQ(sys.appWatchTimer.id, 2u);
        EXPECT_EQ(sys.chkUsbTimer.id, 3u);
        EXPECT_EQ(sys.gpioTimer.window, 0u);
        BindTimerSlots(sys, main);
        EXPECT_EQ(sys.gpioTimer.period, 65u);
        EXPECT_EQ(sys.appWatchTimer.period, 500u);
        EXPECT_EQ(sys.chkUsbTimer.period, 3000u);
        EXPECT_EQ(sys.appWatchTimer.window, main);
        EXPECT_EQ(desk.SetTimerCount() + desk.KillTimerCount(), 0);
        ArmGpioTimer(sys);
        ArmChkUsbTimer(sys);
        EXPECT_TRUE(desk.TimerArmed(main, 1));
        EXPECT_TRUE(desk.TimerArmed(main, 3));
        desk.ClearLog();
    }
    auto killed = desk.Events(SimEvent::Kind::TimerKilled);
    ASSERT_EQ(killed.size(), 2u);  // the idle AppWatch slot is left alone
    EXPECT_EQ(killed[0].a, 3);
    EXPECT_EQ(killed[1].a, 1);
    EXPECT_EQ(killed[0].hwnd, main);
}

}  // namespace
}  // namespace rc
