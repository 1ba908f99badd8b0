#include <string>
#include <vector>

#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

using DetectionTest = ReceiverTest;

TEST_F(DetectionTest, CategoriesAreThePublicDirectShowOnes) {
    EXPECT_EQ(kBdaNetworkTunerCategory, SimDesktop::kBdaNetworkTuner);
    EXPECT_EQ(kCrossbarCategory, SimDesktop::kCrossbar);
    EXPECT_EQ(kVideoInputDeviceCategory, SimDesktop::kVideoInputDevice);
    // {A799A801-A46D-11D0-A18C-00A02401DCD4}
    EXPECT_EQ(kCrossbarCategory.data4[5], 0x01);
    EXPECT_EQ(kCrossbarCategory.data4[7], 0xD4);
}

TEST_F(DetectionTest, EachFamilyIsKnownByItsNameAndCategory) {
    struct Case {
        const Guid* category;
        const char* name;
        std::uint32_t chipType;
        const char* trace;  // "" for none
    };
    const Case cases[] = {
        {&SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter", kChipAf9015, "Find 9015 Device"},
        {&SimDesktop::kBdaNetworkTuner, "IT9135 BDA Filter", kChipIt9135, "Find 9030 Device"},
        {&SimDesktop::kCrossbar, "Conexant Polaris Crossbar", kChipConexant, ""},
        {&SimDesktop::kVideoInputDevice, "Conexant Polaris Viedo Capture", kChipConexant, ""},
        {&SimDesktop::kBdaNetworkTuner, "REALTEK 2832U Filter", kChipRtl2832u, ""},
        {&SimDesktop::kBdaNetworkTuner, "USB 2832U Digital Tuner", kChipRtl2832u, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        desk.RemoveAllFilters();
        desk.ClearLog();
        desk.AddFilter(*c.category, c.name);

        EXPECT_EQ(FindFilter(sys), 1);
        EXPECT_EQ(sys.chipType, c.chipType);
        EXPECT_NE(sys.filter, 0u);
        EXPECT_EQ(Lines(),
                  *c.trace ? std::vector<std::string>{c.trace} : std::vector<std::string>{});
        ReleaseFilter(sys);
    }
}

TEST_F(DetectionTest, TheEarlierRowDecides) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "REALTEK 2832U Filter");
    desk.AddFilter(SimDesktop::kCrossbar, "Conexant Polaris Crossbar");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "IT9135 BDA Filter");
    EXPECT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(sys.chipType, kChipIt9135);
    EXPECT_EQ(desk.CategoryOpenCount(), 2) << "one fresh enumerator per probe, none after";
}

TEST_F(DetectionTest, NamesMatchExactlyAndOnlyInTheirCategory) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "af9015 BDA Filter");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filte");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter ");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "Conexant Polaris Crossbar");
    desk.AddFilter(SimDesktop::kCrossbar, "AF9015 BDA Filter");
    desk.AddFilter(SimDesktop::kVideoInputDevice, "Conexant Polaris Video Capture");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, std::string(100, 'A'));

    EXPECT_EQ(FindFilter(sys), 0);
    EXPECT_EQ(sys.chipType, kChipNone);
    EXPECT_EQ(desk.OpenDeviceObjects(), 0) << "every moniker and enumerator released";
}

TEST_F(DetectionTest, AMatchThatCannotBeBoundEndsItsProbe) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter", /*bindFails=*/true);
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");  // never looked at
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "DVB-T Dongle");

    EXPECT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(sys.chipType, kChipRtl2832u) << "the next row is tried, not the next moniker";
    EXPECT_EQ(desk.HeldFilters(), 1);
    EXPECT_EQ(desk.OpenDeviceObjects(), 0);
}

TEST_F(DetectionTest, WithNoStickAllNineProbesRun) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "Some Other Tuner");
    sys.chipType = kChipAf9015;

    EXPECT_EQ(FindFilter(sys), 0);
    EXPECT_EQ(desk.CategoryOpenCount(), 9);
    EXPECT_EQ(sys.chipType, kChipNone);
    EXPECT_EQ(sys.filter, 0u);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Can't find Device"});
    EXPECT_EQ(desk.CoInitCount(), 1) << "COM initialised on every search";
    EXPECT_EQ(desk.OpenDeviceObjects(), 0);
}

TEST_F(DetectionTest, AFailingEnumeratorFailsEveryProbe) {
    PlugAf9015();
    desk.failCreateEnumerator = true;
    EXPECT_EQ(FindFilter(sys), 0);
    EXPECT_EQ(sys.chipType, kChipNone);
    EXPECT_TRUE(Traced("Can't find Device"));
}

TEST_F(DetectionTest, ReleaseGivesBackTheFilterAndAlwaysUninitialisesCom) {
    PlugAf9015();
    ASSERT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(desk.HeldFilters(), 1);
    EXPECT_EQ(desk.CoInitCount(), 1);

    ReleaseFilter(sys);
    EXPECT_EQ(desk.HeldFilters(), 0);
    EXPECT_EQ(sys.filter, 0u);
    EXPECT_EQ(desk.CoInitCount(), 0);

    FindFilter(sys);
    FindFilter(sys);
    ReleaseFilter(sys);
    ReleaseFilter(sys);  // nothing held: only COM
    EXPECT_EQ(desk.CoInitCount(), 0);
}

TEST_F(DetectionTest, ASecondSearchLetsGoOfTheFilterStillHeld) {
    int stick = PlugRtl2832u();
    ASSERT_EQ(FindFilter(sys), 1);
    ASSERT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(desk.HeldFilters(), 1);
    EXPECT_EQ(desk.CoInitCount(), 2) << "COM initialisation stays one per search";

    desk.RemoveFilter(stick);
    EXPECT_EQ(FindFilter(sys), 0);
    EXPECT_EQ(desk.HeldFilters(), 0) << "no filter held after a failed search";
}

}  // namespace
}  // namespace rc::test
