// The simulated desktop's chip-vendor libraries, called as the receiver calls them.
#include "support/sim_desktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win_defs.h"
#include "receiver/chip_libraries.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;

// ----- Chip libraries ------------------------------------------------------------------------

TEST(SimLibraries, LoadingAndExports) {
    SimDesktop desk;
    EXPECT_EQ(SimDesktop::Current(), &desk);
    EXPECT_EQ(desk.LoadLibraryA("RTL283XACCESS.dll"), 0u);
    desk.InstallLibrary("RTL283XACCESS.dll");
    Handle rtl = desk.LoadLibraryA("rtl283xaccess.DLL");
    ASSERT_NE(rtl, 0u);
    EXPECT_EQ(desk.LoadLibraryCount("RTL283XACCESS.dll"), 2);
    EXPECT_NE(desk.GetProcAddress(rtl, "RTK_IR_Write"), nullptr);
    EXPECT_EQ(desk.GetProcAddress(rtl, "rtk_ir_write"), nullptr);  // exact names
    EXPECT_EQ(desk.GetProcAddress(rtl, "af15_init"), nullptr);     // another library's
    desk.Entry("RTK_IR_Read").exported = false;
    EXPECT_EQ(desk.GetProcAddress(rtl, "RTK_IR_Read"), nullptr);
    EXPECT_EQ(desk.GetProcAddress(0x1234, "RTK_IR_Write"), nullptr);
}

TEST(SimLibraries, APlantedLibraryLoadsUntilTheCurrentFolderLeavesTheSearch) {
    SimDesktop desk;
    desk.PlantLibrary("af9100ex.dll");
    desk.InstallLibrary("af15bdaex.dll");
    EXPECT_NE(desk.LoadLibraryA("af9100ex.dll"), 0u);
    desk.lacksDefaultDllDirectories = true;
    EXPECT_FALSE(desk.SetDefaultDllDirectories(win::kLoadLibrarySearchDefaultDirs));
    EXPECT_TRUE(desk.CurrentFolderSearched());
    EXPECT_TRUE(desk.SetDllDirectoryA(""));
    EXPECT_FALSE(desk.CurrentFolderSearched());
    EXPECT_EQ(desk.LoadLibraryA("af9100ex.dll"), 0u);
    EXPECT_NE(desk.LoadLibraryA("af15bdaex.dll"), 0u);  // installed in the system folder
    EXPECT_TRUE(desk.SetDllDirectoryA(nullptr));
    desk.lacksDefaultDllDirectories = false;
    EXPECT_TRUE(desk.SetDefaultDllDirectories(win::kLoadLibrarySearchDefaultDirs));
    EXPECT_EQ(desk.LoadLibraryA("af9100ex.dll"), 0u);
}

TEST(SimLibraries, ScriptedResultsAndBuffers) {
    SimDesktop desk;
    desk.InstallLibrary("af15bdaex.dll");
    desk.InstallLibrary("RTL283XACCESS.dll");
    Handle af15 = desk.LoadLibraryA("af15bdaex.dll");
    Handle rtl = desk.LoadLibraryA("RTL283XACCESS.dll");
    auto init = reinterpret_cast<Af15Init>(desk.GetProcAddress(af15, "af15_init"));
    auto getIr = reinterpret_cast<Af15GetIR>(desk.GetProcAddress(af15, "af15_GetIR"));
    ASSERT_TRUE(init && getIr);
    EXPECT_EQ(init(), 0);  // nothing scripted: 0
    desk.Entry("af15_init").results = {1, 0};
    desk.Entry("af15_init").defaultResult = 5;
    EXPECT_EQ(init(), 1);
    EXPECT_EQ(init(), 0);
    EXPECT_EQ(init(), 5);
    desk.af15Buffers.push_back({1, 2, 3});
    unsigned char buf[8];
    std::memset(buf, 0xFF, sizeof buf);
    desk.Entry("af15_GetIR").defaultResult = 1;
    EXPECT_EQ(getIr(buf), 1);
    EXPECT_EQ(buf[2], 3);
    EXPECT_EQ(buf[3], 0xFF);

    auto filterInit =
        reinterpret_cast<RtkBdaFilterInit>(desk.GetProcAddress(rtl, "RTK_BDAFilterInit"));
    auto getCode =
        reinterpret_cast<RtkGetAPModeIRCode>(desk.GetProcAddress(rtl, "RTK_GetAPModeIRCode"));
    auto isOk = reinterpret_cast<RtkDeviceIsOk>(desk.GetProcAddress(rtl, "RTK_DeviceIsOk"));
    filterInit(0x4242);
    EXPECT_EQ(desk.LastRtkFilterInitWindow(), 0x4242u);
    desk.rtkCodes.push_back({2, {0x10, 0x20}});
    unsigned int count = 0;
    unsigned char code[128] = {};
    getCode(&count, code, sizeof code);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(code[1], 0x20);
    desk.Entry("RTK_DeviceIsOk").results = {1};
    EXPECT_EQ(isOk(), 1);
    EXPECT_EQ(
        desk.LibraryCalls(),
        (std::vector<std::string>{"af15_init", "af15_init", "af15_init", "af15_init", "af15_GetIR",
                                  "RTK_BDAFilterInit", "RTK_GetAPModeIRCode", "RTK_DeviceIsOk"}));
    EXPECT_EQ(desk.Events(Kind::LibraryCall)[1].a, 1);
}

}  // namespace
}  // namespace rc
