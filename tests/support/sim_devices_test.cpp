// The simulated desktop's tuner filters and HID devices.
#include "support/sim_desktop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_defs.h"

namespace rc {
namespace {

// ----- DirectShow and HID -----------------------------------------------------------------

TEST(SimDevices, CategoryEnumerationAndBinding) {
    SimDesktop desk;
    int tuner = desk.AddFilter(SimDesktop::kBdaNetworkTuner, "Stick Tuner");
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "Broken", true);
    EXPECT_EQ(desk.OpenDeviceCategory(SimDesktop::kBdaNetworkTuner), 0u);  // no COM yet
    desk.CoInitialize();
    EXPECT_EQ(desk.OpenDeviceCategory(SimDesktop::kCrossbar), 0u);  // empty
    Handle e = desk.OpenDeviceCategory(SimDesktop::kBdaNetworkTuner);
    ASSERT_NE(e, 0u);
    EXPECT_EQ(desk.CategoryOpenCount(), 3);
    Handle m1 = desk.NextDeviceMoniker(e);
    Handle m2 = desk.NextDeviceMoniker(e);
    EXPECT_EQ(desk.NextDeviceMoniker(e), 0u);
    char name[6];
    ASSERT_TRUE(desk.ReadFriendlyName(m1, name, sizeof name));
    EXPECT_STREQ(name, "Stick");
    EXPECT_EQ(desk.BindFilter(m2), 0u);
    desk.RemoveFilter(tuner);
    EXPECT_EQ(desk.BindFilter(m1), 0u);  // pulled meanwhile
    EXPECT_EQ(desk.OpenDeviceObjects(), 3);
    desk.ReleaseMoniker(m1);
    desk.ReleaseMoniker(m2);
    desk.ReleaseDeviceCategory(e);
    EXPECT_EQ(desk.OpenDeviceObjects(), 0);
    desk.AddFilter(SimDesktop::kBdaNetworkTuner, "Again");
    e = desk.OpenDeviceCategory(SimDesktop::kBdaNetworkTuner);
    desk.ReleaseMoniker(desk.NextDeviceMoniker(e));  // "Broken"
    Handle m = desk.NextDeviceMoniker(e);
    Handle f = desk.BindFilter(m);
    EXPECT_NE(f, 0u);
    EXPECT_EQ(desk.HeldFilters(), 1);
    desk.ReleaseFilterObject(f);
    EXPECT_EQ(desk.HeldFilters(), 0);
    desk.CoUninitialize();
    desk.CoUninitialize();  // unbalanced: reported, not hidden
    EXPECT_EQ(desk.CoInitCount(), -1);
}

TEST(SimDevices, HidInterfacesAndFeatureReads) {
    SimDesktop desk;
    SimDesktop::HidDevice dev;
    dev.path = "\\\\?\\hid#vid_1&pid_2";
    dev.usagePage = 0xFFAA;
    dev.usage = 0x77;
    dev.featureCodes = {0x12};
    dev.idleReads = false;
    int id = desk.AddHidDevice(dev);
    Guid g{};
    desk.HidD_GetHidGuid(&g);
    EXPECT_EQ(g.data1, 0x4D1E55B2u);
    Handle set = desk.SetupDiGetClassDevsA(g, win::kDigcfPresent | win::kDigcfDeviceInterface);
    EXPECT_TRUE(desk.SetupDiEnumDeviceInterfaces(set, g, 0));
    EXPECT_FALSE(desk.SetupDiEnumDeviceInterfaces(set, g, 1));
    std::uint32_t size = desk.GetDeviceInterfaceDetailSize(set, g, 0);
    ASSERT_GE(size, dev.path.size() + 5);
    std::vector<std::uint8_t> detail(size);
    char path[256];
    ASSERT_TRUE(desk.GetDeviceInterfaceDetail(set, g, 0, detail.data(), size, path, sizeof path));
    EXPECT_EQ(std::string(path), dev.path);
    Handle h =
        desk.CreateFileA(path, win::kGenericRead | win::kGenericWrite, 0, win::kOpenExisting, 0);
    ASSERT_NE(h, kInvalidHandle);
    Handle pre = 0;
    ASSERT_TRUE(desk.HidD_GetPreparsedData(h, &pre));
    HidCaps caps{};
    EXPECT_EQ(desk.HidP_GetCaps(pre, &caps), win::kHidpStatusSuccess);
    EXPECT_EQ(caps.usagePage, 0xFFAA);
    EXPECT_TRUE(desk.HidD_FreePreparsedData(pre));
    EXPECT_NE(desk.HidP_GetCaps(pre, &caps), win::kHidpStatusSuccess);

    std::uint8_t report[3] = {5, 0xAA, 0xBB};
    EXPECT_TRUE(desk.HidD_GetFeature(h, report, 3));
    EXPECT_EQ(desk.LastFeatureReport(), (std::vector<std::uint8_t>{5, 0xAA, 0xBB}));
    EXPECT_EQ(report[0], 0x12);
    report[0] = 5;
    EXPECT_FALSE(desk.HidD_GetFeature(h, report, 3));  // queue empty, no idle reads
    EXPECT_EQ(report[0], 5);
    desk.Hid(id).idleReads = true;
    EXPECT_TRUE(desk.HidD_GetFeature(h, report, 3));
    EXPECT_EQ(report[0], 0xFF);
    desk.RemoveHidDevice(id);
    EXPECT_FALSE(desk.HidD_GetFeature(h, report, 3));
    EXPECT_EQ(desk.OpenHidHandles(), 1);
    EXPECT_TRUE(desk.CloseHandle(h));
    EXPECT_EQ(desk.OpenHidHandles(), 0);
    EXPECT_EQ(desk.OpenHidSets(), 1);
    EXPECT_TRUE(desk.SetupDiDestroyDeviceInfoList(set));
    EXPECT_EQ(desk.OpenHidSets(), 0);
    desk.failGetClassDevs = true;
    EXPECT_EQ(desk.SetupDiGetClassDevsA(g, 0), kInvalidHandle);
}

}  // namespace
}  // namespace rc
