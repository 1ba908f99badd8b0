#include "shell/timer_slots.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sim_desktop.h"
#include "shell/system.h"

namespace rc {
namespace {

std::uint32_t g_start = 0;
std::vector<std::uint32_t> g_fired;  // ms after the test's start at each firing of the test slot

void CountingCallback(void* ctx, Hwnd, std::uintptr_t) {
    auto* sys = static_cast<System*>(ctx);
    g_fired.push_back(sys->os.GetTickCount() - g_start);
}

class TimerSlotTest : public ::testing::Test {
  protected:
    TimerSlotTest() {
        g_fired.clear();
        g_start = desk.Now();
        owner = desk.AddWindow("Owner", "Owner", false);
        ConstructTimerSlot(slot, 7, CountingCallback);
        BindTimerSlot(slot, owner, 100);
    }
    SimDesktop desk;
    System sys{desk};
    Hwnd owner = 0;
    TimerSlot slot;
};

TEST_F(TimerSlotTest, ConstructAndBindDoNotArm) {
    TimerSlot fresh;
    ConstructTimerSlot(fresh, 9, CountingCallback);
    EXPECT_FALSE(fresh.armed);
    EXPECT_EQ(fresh.id, 9u);
    EXPECT_EQ(fresh.window, 0u);
    EXPECT_EQ(fresh.period, 0u);
    EXPECT_EQ(fresh.callback, &CountingCallback);
    BindTimerSlot(fresh, owner, 250);
    EXPECT_FALSE(fresh.armed);
    EXPECT_EQ(fresh.window, owner);
    EXPECT_EQ(fresh.period, 250u);
    EXPECT_EQ(desk.SetTimerCount(), 0);
    EXPECT_EQ(desk.KillTimerCount(), 0);
}

TEST_F(TimerSlotTest, ArmingAnArmedSlotKeepsTheRunningTimerAndItsPhase) {
    EXPECT_EQ(ArmTimerSlot(sys, slot), 7u);
    EXPECT_TRUE(slot.armed);
    EXPECT_TRUE(desk.TimerArmed(owner, 7));
    desk.Advance(40);
    EXPECT_EQ(ArmTimerSlot(sys, slot), 0u);
    EXPECT_EQ(desk.SetTimerCount(), 1);
    desk.Advance(60);
    desk.Advance(100);
    EXPECT_EQ(g_fired, (std::vector<std::uint32_t>{100, 200}));
}

TEST_F(TimerSlotTest, KillingAnIdleSlotCallsNothing) {
    KillTimerSlot(sys, slot);
    EXPECT_EQ(desk.KillTimerCount(), 0);
    ArmTimerSlot(sys, slot);
    KillTimerSlot(sys, slot);
    KillTimerSlot(sys, slot);
    EXPECT_EQ(desk.KillTimerCount(), 1);
    EXPECT_FALSE(slot.armed);
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
    EXPECT_EQ(desk.SetTimerCount(), 1);
    desk.Advance(300);
    EXPECT_TRUE(g_fired.empty());
    // The kill is made although no timer runs; the next arm then sets it.
    KillTimerSlot(sys, slot);
    EXPECT_EQ(desk.KillTimerCount(), 1);
    ArmTimerSlot(sys, slot);
    EXPECT_EQ(desk.SetTimerCount(), 2);
    desk.Advance(100);
    EXPECT_EQ(g_fired.size(), 1u);
}

TEST_F(TimerSlotTest, ArmAfterKillStartsAFreshPhase) {
    ArmTimerSlot(sys, slot);
    desk.Advance(70);
    KillTimerSlot(sys, slot);
    ArmTimerSlot(sys, slot);
    desk.Advance(99);
    EXPECT_TRUE(g_fired.empty());
    desk.Advance(1);
    EXPECT_EQ(g_fired, (std::vector<std::uint32_t>{170}));
}

TEST(SystemTimerSlots, ConstructedIdleAndUnbound) {
    SimDesktop desk;
    System sys(desk);
    const TimerSlot* slots[] = {&sys.gpioTimer, &sys.appWatchTimer, &sys.chkUsbTimer};
    const std::uint32_t ids[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(slots[i]->id, ids[i]);
        EXPECT_FALSE(slots[i]->armed);
        EXPECT_EQ(slots[i]->window, 0u);
        EXPECT_EQ(slots[i]->period, 0u);
        EXPECT_NE(slots[i]->callback, nullptr);
    }
}

TEST(SystemTimerSlots, BindingSetsPeriodsWithoutTouchingTimers) {
    SimDesktop desk;
    System sys(desk);
    Hwnd main = desk.AddWindow("Remote Control", "Remote Control", false);
    BindTimerSlots(sys, main);
    EXPECT_EQ(sys.gpioTimer.window, main);
    EXPECT_EQ(sys.gpioTimer.period, 65u);
    EXPECT_EQ(sys.appWatchTimer.window, main);
    EXPECT_EQ(sys.appWatchTimer.period, 500u);
    EXPECT_EQ(sys.chkUsbTimer.window, main);
    EXPECT_EQ(sys.chkUsbTimer.period, 3000u);
    EXPECT_EQ(desk.SetTimerCount(), 0);
    EXPECT_EQ(desk.KillTimerCount(), 0);
}

TEST(SystemTimerSlots, HandOverBetweenPollAndWatchdog) {
    SimDesktop desk;
    System sys(desk);
    Hwnd main = desk.AddWindow("Remote Control", "Remote Control", false);
    BindTimerSlots(sys, main);
    ArmGpioTimer(sys);
    KillGpioTimer(sys);
    ArmChkUsbTimer(sys);
    EXPECT_FALSE(desk.TimerArmed(main, 1));
    EXPECT_TRUE(desk.TimerArmed(main, 3));
    KillChkUsbTimer(sys);
    ArmGpioTimer(sys);
    EXPECT_TRUE(desk.TimerArmed(main, 1));
    EXPECT_FALSE(desk.TimerArmed(main, 3));
    auto set = desk.Events(SimEvent::Kind::TimerSet);
    ASSERT_EQ(set.size(), 3u);
    EXPECT_EQ(set[0].a, 1);
    EXPECT_EQ(set[0].b, 65);
    EXPECT_EQ(set[1].a, 3);
    EXPECT_EQ(set[1].b, 3000);
    EXPECT_EQ(set[2].a, 1);
}

TEST(SystemTimerSlots, ProcessExitKillsOnlyTheArmedSlotsInReverseOrder) {
    SimDesktop desk;
    Hwnd main = desk.AddWindow("Remote Control", "Remote Control", false);
    {
        System sys(desk);
        BindTimerSlots(sys, main);
        ArmGpioTimer(sys);
        ArmChkUsbTimer(sys);
        desk.ClearLog();
    }
    auto killed = desk.Events(SimEvent::Kind::TimerKilled);
    ASSERT_EQ(killed.size(), 2u);
    EXPECT_EQ(killed[0].a, 3);
    EXPECT_EQ(killed[1].a, 1);
    EXPECT_EQ(killed[0].hwnd, main);
}

}  // namespace
}  // namespace rc
