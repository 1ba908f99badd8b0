#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "apps/app_record.h"
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
    EXPECT_EQ(Lines(),
              (Lines_{"Find 9015 Device", "USB Init Afa9015",
                      "af15bdaex.dll not found: looked beside the program (C:\\Program "
                      "Files\\Remote Control) and in the system folder (C:\\windows\\system32)"}));
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
constexpr const char* kFamilyNames[] = {"Af9015", "It9135", "Conexant", "Rtl2832u"};

// Sticks of any family, plugged and pulled.
class FamilyTest : public ReceiverTest {
  protected:
    struct Stick {
        Family family;
        int filter = 0;
        ConexantStick conexant{};
    };
    Stick PlugStick(Family family) {
        Stick stick{family};
        switch (family) {
            case Family::Af9015:
                stick.filter = PlugAf9015();
                break;
            case Family::It9135:
                stick.filter = PlugIt9135();
                break;
            case Family::Conexant:
                stick.conexant = PlugConexant();
                break;
            case Family::Rtl2832u:
                stick.filter = PlugRtl2832u();
                break;
        }
        return stick;
    }
    void PullStick(const Stick& stick) {
        if (stick.family == Family::Conexant) {
            Pull(stick.conexant);
        } else {
            desk.RemoveFilter(stick.filter);
        }
    }
};

class ReplugTest : public FamilyTest, public ::testing::WithParamInterface<Family> {
  protected:
    Stick stick{};

    void Plug() { stick = PlugStick(GetParam()); }
    void PullStick() { FamilyTest::PullStick(stick); }
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
    return kFamilyNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EachFamily, ReplugTest,
                         ::testing::Values(Family::Af9015, Family::It9135, Family::Conexant,
                                           Family::Rtl2832u),
                         FamilyName);

// --- Two sticks plugged at once ---------------------------------------------------

// The first stick is brought up at start, the second is plugged in while it is
// polled; then the stick being polled is pulled.
class TwoSticksTest : public FamilyTest,
                      public ::testing::WithParamInterface<std::tuple<Family, Family>> {
  protected:
    // One frame of a pointer button on the stick, waiting for its reader;
    // gives the KeyCode.
    std::uint32_t Press(const Stick& stick) {
        switch (stick.family) {
            case Family::Af9015:
                desk.af15Buffers.push_back({7, 0, 0x1E});
                return 4;
            case Family::It9135:
                desk.af9100Words.push_back({0x0600});
                return 6;
            case Family::Conexant:
                desk.Hid(stick.conexant.hid).featureCodes.push_back(8);
                return 8;
            case Family::Rtl2832u:
                desk.rtkCodes.push_back({1, {0, 0x40}});
                return 2;
        }
        return 255;
    }
    static Family FamilyOf(std::uint32_t chipType) { return static_cast<Family>(chipType - 1); }
};

TEST_P(TwoSticksTest, PullingThePolledStickBringsUpTheOther) {
    InstallAf15(desk);
    InstallAf9100(desk);
    InstallRtk(desk);
    desk.Entry("af15_GetIR").defaultResult = 1;
    desk.Entry("RTK_GetAPModeIRCode").defaultResult = 1;
    const Stick sticks[] = {PlugStick(std::get<0>(GetParam())), PlugStick(std::get<1>(GetParam()))};
    Start();
    ASSERT_TRUE(Polling());
    // Plugged first, brought up first; a stick of a family found earlier by
    // the search takes over through the watchdog.
    desk.Advance(65 + 3000 + 65);
    ASSERT_TRUE(Polling());
    const bool firstPolled = FamilyOf(sys.chipType) == sticks[0].family;
    const Stick& polled = firstPolled ? sticks[0] : sticks[1];
    const Stick& other = firstPolled ? sticks[1] : sticks[0];

    PullStick(polled);
    char ack[32];
    std::snprintf(ack, sizeof ack, "ACK=> Code =  (%X)", Press(other));
    desk.Advance(65 + 3000 + 65);
    EXPECT_TRUE(Traced(ack)) << "no key from the other stick within one watchdog period";
    EXPECT_EQ(FamilyOf(sys.chipType), other.family);

    // Every read comes after its family's bring-up.
    const struct {
        const char* read;
        const char* bringUp;
    } families[] = {{"af15_GetIR", "af15_init"},
                    {"af9100_ReadRawIR", "af9100_initIRDev"},
                    {"RTK_GetAPModeIRCode", "RTK_InitialAPModeIRParameter"}};
    const Lines_ calls = desk.LibraryCalls();
    auto at = [&](const char* entry) { return std::find(calls.begin(), calls.end(), entry); };
    for (const auto& family : families) {
        if (at(family.read) != calls.end()) {
            EXPECT_LT(at(family.bringUp) - calls.begin(), at(family.read) - calls.begin())
                << family.read;
        }
    }
}

std::vector<std::tuple<Family, Family>> OrderedPairs() {
    constexpr Family kAll[] = {Family::Af9015, Family::It9135, Family::Conexant, Family::Rtl2832u};
    std::vector<std::tuple<Family, Family>> pairs;
    for (Family a : kAll) {
        for (Family b : kAll) {
            if (a != b) {
                pairs.emplace_back(a, b);
            }
        }
    }
    return pairs;
}

std::string FamilyPairName(const ::testing::TestParamInfo<std::tuple<Family, Family>>& info) {
    std::string name = kFamilyNames[static_cast<int>(std::get<0>(info.param))];
    name += "Then";
    name += kFamilyNames[static_cast<int>(std::get<1>(info.param))];
    return name;
}

INSTANTIATE_TEST_SUITE_P(EachOrderedPair, TwoSticksTest, ::testing::ValuesIn(OrderedPairs()),
                         FamilyPairName);

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
    EXPECT_EQ(Lines(),
              (Lines_{"USB Init Rtl ", "USB load RTL283XACCESS.dll ",
                      "RTL283XACCESS.dll not found: looked beside the program (C:\\Program "
                      "Files\\Remote Control) and in the system folder (C:\\windows\\system32)"}));
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_EQ(sys.bDeviceReady, 0);
    EXPECT_TRUE(Polling());
}

TEST_F(WatchdogTest, TicksWhileAFailedLaunchShowsItsBoxAreSkipped) {
    StartWatching();
    sys.bLaunchap = 1;
    sys.nCurRemoteTV = kPowerCinema;
    App(sys, kPowerCinema)->bInstalled = 1;
    std::snprintf(App(sys, kPowerCinema)->szInstallDir, sizeof App(sys, kPowerCinema)->szInstallDir,
                  "C:\\PC");
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
