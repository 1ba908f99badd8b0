#include <cstdio>
#include <string>
#include <vector>

#include "platform/win_defs.h"
#include "receiver/receiver_fixture.h"
#include "settings/settings_store.h"
#include "shell/main_window.h"

namespace rc::test {
namespace {

using Lines_ = std::vector<std::string>;

// --- Start-up bring-up ----------------------------------------------------------

using StartupTest = ReceiverTest;

TEST_F(StartupTest, Af9015IsBroughtUpAndPolled) {
    InstallAf15(desk);
    InstallAf9100(desk);
    PlugAf9015();
    Start();

    EXPECT_EQ(Lines(),
              (Lines_{"WM_CREATE", "Find 9015 Device", "WM_CREATE_Find Filter", "Init Afa9015"}));
    EXPECT_EQ(desk.LibraryCalls(), Lines_{"af15_init"});
    EXPECT_EQ(sys.bDeviceReady, 1);
    EXPECT_TRUE(Polling());
    EXPECT_FALSE(Watching());
}

TEST_F(StartupTest, NoStickStopsBothLibrariesAndWatches) {
    InstallAf15(desk);
    InstallAf9100(desk);
    Start();

    EXPECT_EQ(Lines(), (Lines_{"WM_CREATE", "Can't find Device", "WM_CREATE_Init Filter Fail",
                               "WM_CREATE_Find Filter"}));
    EXPECT_EQ(desk.LibraryCalls(), (Lines_{"af15_exit", "af9100_exit"}));
    EXPECT_EQ(sys.bDeviceReady, 0);
    EXPECT_TRUE(Watching());
    EXPECT_FALSE(Polling());
}

TEST_F(StartupTest, WithoutAnyVendorLibraryTheProgramStillStartsAndWatches) {
    desk.SetRegDword(kSettingsKey, "DBM", 1);
    PlugAf9015();
    RunRemoteControl(sys);
    Hwnd main = desk.MainWindow();
    EXPECT_TRUE(Traced("Init Afa9015 is fail"));
    EXPECT_EQ(Lines().back(), "StartChkUSBTimer");
    EXPECT_TRUE(desk.TimerArmed(main, kChkUsbTimerId));

    desk.ClearLog();
    desk.Advance(3000);
    EXPECT_EQ(Lines(), (Lines_{"Find 9015 Device", "USB Init Afa9015"}));
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_TRUE(desk.TimerArmed(main, kChkUsbTimerId)) << "retried on the next tick";
}

TEST_F(StartupTest, RtlIsLoadedAndStartedWithTheMainWindow) {
    InstallRtk(desk);
    PlugRtl2832u();
    Start();
    EXPECT_EQ(Lines(),
              (Lines_{"WM_CREATE", "WM_CREATE_Find Filter", "Init Rtl ", "load RTL283XACCESS.dll ",
                      "Initial Filter", "Rtl device status is Ready"}));
    EXPECT_EQ(desk.LibraryCalls(),
              (Lines_{"RTK_BDAFilterInit", "RTK_DeviceIsOk", "RTK_InitialAPModeIRParameter"}));
    EXPECT_EQ(desk.LastRtkFilterInitWindow(), mainWindow);
    EXPECT_EQ(sys.bDeviceReady, 1);
    EXPECT_TRUE(Polling());
    EXPECT_EQ(desk.HeldFilters(), 1) << "the second search's filter only";
}

// --- Pull and re-plug, through the timers ----------------------------------------

enum class Family { Af9015, It9135, Conexant, Rtl2832u };

class ReplugTest : public ReceiverTest, public ::testing::WithParamInterface<Family> {
  protected:
    ConexantStick conexant{};
    int filter = 0;

    void Plug() {
        switch (GetParam()) {
            case Family::Af9015:
                filter = PlugAf9015();
                break;
            case Family::It9135:
                filter = PlugIt9135();
                break;
            case Family::Conexant:
                conexant = PlugConexant();
                break;
            case Family::Rtl2832u:
                filter = PlugRtl2832u();
                break;
        }
    }
    void PullStick() {
        if (GetParam() == Family::Conexant) {
            Pull(conexant);
        } else {
            desk.RemoveFilter(filter);
        }
    }
    const char* ReaderTrace() const {
        constexpr const char* kTraces[] = {"Chip_Afa9015", "Chip_Ite9037", "Chip_Conexant",
                                           "Chip_Rtl"};
        return kTraces[static_cast<int>(GetParam())];
    }
    const char* WatchdogTrace() const {
        constexpr const char* kTraces[] = {"USB Init Afa9015", "USB Init Ite9037",
                                           "USB Init Conexant", "USB Init Rtl "};
        return kTraces[static_cast<int>(GetParam())];
    }
};

TEST_P(ReplugTest, PullHandsOverToTheWatchdogAndReplugBringsPollingBack) {
    InstallAf15(desk);
    InstallAf9100(desk);
    InstallRtk(desk);
    Plug();
    Start();
    ASSERT_TRUE(Polling());
    // COM that the program did not initialise (the shell's) must survive.
    desk.CoInitialize();
    const int comAfterStart = desk.CoInitCount();

    for (int cycle = 0; cycle < 20; ++cycle) {
        SCOPED_TRACE(cycle);
        desk.ClearLog();
        desk.Advance(65);
        EXPECT_TRUE(Traced(ReaderTrace()));

        PullStick();
        desk.Advance(65);
        EXPECT_FALSE(Polling());
        EXPECT_TRUE(Watching());
        EXPECT_EQ(sys.bDeviceReady, 0);

        desk.ClearLog();
        desk.Advance(2999);
        EXPECT_TRUE(Lines().empty()) << "the poll no longer runs, the watchdog not yet";
        desk.Advance(1);
        EXPECT_EQ(Lines(), Lines_{"Can't find Device"});
        EXPECT_TRUE(Watching());

        Plug();
        desk.ClearLog();
        desk.Advance(3000);
        EXPECT_TRUE(Traced(WatchdogTrace()));
        EXPECT_EQ(sys.bDeviceReady, 1);
        EXPECT_TRUE(Polling());
        EXPECT_FALSE(Watching());
        EXPECT_EQ(desk.CoInitCount(), comAfterStart) << "COM initialisations balanced";
    }
    EXPECT_LE(desk.HeldFilters(), 1);
    EXPECT_LE(desk.OpenHidHandles(), 1);
    EXPECT_LE(desk.OpenHidSets(), 1);
}

std::string FamilyName(const ::testing::TestParamInfo<Family>& info) {
    constexpr const char* kNames[] = {"Af9015", "It9135", "Conexant", "Rtl2832u"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EachFamily, ReplugTest,
                         ::testing::Values(Family::Af9015, Family::It9135, Family::Conexant,
                                           Family::Rtl2832u),
                         FamilyName);

// --- Watchdog outcomes ------------------------------------------------------------

class WatchdogTest : public ReceiverTest {
  protected:
    // Started with no stick: the watchdog runs.
    void StartWatching() {
        InstallAf15(desk);
        InstallAf9100(desk);
        InstallRtk(desk);
        Start();
        ASSERT_TRUE(Watching());
        desk.ClearLog();
    }
};

TEST_F(WatchdogTest, AStickOfAnotherFamilyIsBroughtUpAfterAPull) {
    InstallAf15(desk);
    InstallAf9100(desk);
    int af = PlugAf9015();
    Start();
    desk.RemoveFilter(af);
    desk.Advance(65);
    ASSERT_TRUE(Watching());

    PlugIt9135();
    desk.ClearLog();
    desk.Advance(3000);
    EXPECT_EQ(sys.chipType, kChipIt9135);
    EXPECT_EQ(Lines(), (Lines_{"Find 9030 Device", "USB Init Ite9037"}));
    EXPECT_TRUE(Polling());

    desk.ClearLog();
    desk.Advance(65);
    EXPECT_EQ(desk.LibraryCalls(), Lines_{"af9100_ReadRawIR"});
}

TEST_F(WatchdogTest, It9135WhoseReceiverFailsIsStoppedAndRetried) {
    StartWatching();
    PlugIt9135();
    desk.Entry("af9100_initIRDev").results = {0};

    desk.Advance(3000);
    EXPECT_EQ(desk.LibraryCalls(), (Lines_{"af9100_init", "af9100_initIRDev", "af9100_exit"}));
    EXPECT_EQ(sys.bDeviceReady, 0);
    EXPECT_TRUE(Watching());
    EXPECT_FALSE(Polling());

    desk.Advance(3000);
    EXPECT_EQ(sys.bDeviceReady, 1);
    EXPECT_TRUE(Polling());
}

TEST_F(WatchdogTest, ConexantWhoseCollectionCannotBeOpenedNeverResumes) {
    ConexantStick stick = PlugConexant();
    desk.Hid(stick.hid).openFails = true;
    Start();
    ASSERT_TRUE(Polling()) << "start-up judges the stick by its filter";
    desk.Advance(65);
    ASSERT_TRUE(Watching()) << "the first tick finds no channel";

    for (int tick = 0; tick < 3; ++tick) {
        desk.ClearLog();
        desk.Advance(3000);
        EXPECT_EQ(Lines(), (Lines_{"USB Init Conexant", "Usb Conexant device status is Fail"}));
        EXPECT_TRUE(Watching());
        EXPECT_FALSE(Polling());
    }
    EXPECT_EQ(desk.OpenHidSets(), 0);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
}

TEST_F(WatchdogTest, ATickWithoutStickClosesTheHidHandleOnly) {
    desk.AddHidDevice(ConexantReceiver());  // the collection is there, its filter not yet
    InstallAf15(desk);
    Start();
    ASSERT_TRUE(Watching());
    ASSERT_EQ(desk.OpenHidHandles(), 1);

    desk.Advance(3000);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
    EXPECT_EQ(desk.OpenHidSets(), 1);
    EXPECT_EQ(sys.bDeviceReady, 0);

    desk.AddFilter(SimDesktop::kVideoInputDevice, "Conexant Polaris Viedo Capture");
    desk.Advance(3000);
    EXPECT_TRUE(Polling());
    EXPECT_EQ(desk.OpenHidSets(), 1) << "the stale set went before the new open";
    EXPECT_EQ(desk.OpenHidHandles(), 1);
}

TEST_F(WatchdogTest, RtlHandsOverEvenWhenItsDeviceFails) {
    StartWatching();
    PlugRtl2832u();
    desk.Entry("RTK_DeviceIsOk").defaultResult = 0;

    desk.Advance(3000);
    EXPECT_EQ(Lines(), (Lines_{"USB Init Rtl ", "USB load RTL283XACCESS.dll ", "Initial Filter",
                               "USB Rtl device status is Fail"}));
    EXPECT_EQ(desk.LibraryCalls(), (Lines_{"RTK_BDAFilterInit", "RTK_DeviceIsOk"}));
    EXPECT_EQ(sys.bDeviceReady, 0);
    EXPECT_TRUE(Polling());
    EXPECT_FALSE(Watching());
}

TEST_F(WatchdogTest, RtlHandsOverWithoutCallsWhenItsLibraryIsMissing) {
    StartWatching();
    desk.UninstallLibrary("RTL283XACCESS.dll");
    PlugRtl2832u();
    desk.Advance(3000);
    EXPECT_EQ(Lines(), (Lines_{"USB Init Rtl ", "USB load RTL283XACCESS.dll "}));
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_EQ(sys.bDeviceReady, 0);
    EXPECT_TRUE(Polling());
}

TEST_F(WatchdogTest, TicksWhileAFailedLaunchShowsItsBoxAreSkipped) {
    StartWatching();
    sys.bLaunchap = 1;
    sys.nCurRemoteTV = kPowerCinema;
    sys.powerCinema.bInstalled = 1;
    std::snprintf(sys.powerCinema.szInstallDir, sizeof sys.powerCinema.szInstallDir, "C:\\PC");
    desk.shellExecuteResult = 2;  // the program file is gone
    int boxes = 0;
    desk.onMessageBox = [&](const std::string&, const std::string&) {
        ++boxes;
        if (boxes < 3) {
            desk.Advance(9000);  // the user reads the box for a while
        }
        return win::kIdOk;
    };
    PlugAf9015();

    desk.Advance(3000);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(CallCount("af15_init"), 1);
    EXPECT_EQ(desk.Events(SimEvent::Kind::ShellExecute).size(), 1u);
    EXPECT_TRUE(Polling());
    EXPECT_FALSE(Watching());

    int pollTicks = 0;
    for (const std::string& line : Lines()) {
        pollTicks += line == "Chip_Afa9015";
    }
    EXPECT_EQ(pollTicks, 0) << "no poll runs inside the watchdog";
}

}  // namespace
}  // namespace rc::test
