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
    EXPECT_EQ(kCrossbarCategory.data4[7], 0xD4);  // {A799A801-A46D-11D0-A18C-00A02401DCD4}
}

TEST_F(DetectionTest, TheEarliestRowWithAnExactNameDecides) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "af9015 BDA Filter");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter ");
    desk.AddFilter(SimDesktop::kCrossbar, "AF9015 BDA Filter");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, std::string(100, 'A'));
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "REALTEK 2832U Filter");
    desk.AddFilter(SimDesktop::kVideoInputDevice, "Conexant Polaris Viedo Capture");
    EXPECT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(sys.chipType, kChipConexant);
    EXPECT_TRUE(Lines().empty()) << "the Conexant rows write no trace";
    EXPECT_EQ(desk.CategoryOpenCount(), 4) << "one fresh enumerator per probe";

    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "IT9135 BDA Filter");
    EXPECT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(sys.chipType, kChipIt9135);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Find 9030 Device"});
    EXPECT_EQ(desk.OpenDeviceObjects(), 0) << "every moniker and enumerator released";
}

TEST_F(DetectionTest, AMatchThatCannotBeBoundEndsItsProbe) {
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter", /*bindFails=*/true);
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter");  // never looked at
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "DVB-T Dongle");
    EXPECT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(sys.chipType, kChipRtl2832u) << "the next row is tried, not the next moniker";
    EXPECT_EQ(desk.HeldFilters(), 1);
}

TEST_F(DetectionTest, WithNoStickAllNineProbesRun) {
    sys.chipType = kChipAf9015;
    EXPECT_EQ(FindFilter(sys), 0);
    EXPECT_EQ(desk.CategoryOpenCount(), 9);
    EXPECT_EQ(sys.chipType, kChipNone);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Can't find Device"});
    EXPECT_EQ(desk.CoInitCount(), 1) << "COM initialised on every search";
}

TEST_F(DetectionTest, ReleaseAndRepeatedSearchesHoldAtMostOneFilter) {
    int stick = PlugRtl2832u();
    ASSERT_EQ(FindFilter(sys), 1);
    ASSERT_EQ(FindFilter(sys), 1);  // as the RTL2832U bring-ups do
    EXPECT_EQ(desk.HeldFilters(), 1);
    EXPECT_EQ(desk.CoInitCount(), 2);

    ASSERT_EQ(FindFilter(sys), 1);
    EXPECT_EQ(desk.CoInitCount(), 2) << "the unreleased search's COM is undone by the next";

    ReleaseFilter(sys);
    EXPECT_EQ(desk.HeldFilters(), 0);
    ReleaseFilter(sys);  // nothing held, and only the first search's COM left: it lasts
    EXPECT_EQ(desk.CoInitCount(), 1);

    FindFilter(sys);
    desk.RemoveFilter(stick);
    EXPECT_EQ(FindFilter(sys), 0);
    EXPECT_EQ(desk.HeldFilters(), 0) << "no filter held after a failed search";
}

}  // namespace
}  // namespace rc::test
