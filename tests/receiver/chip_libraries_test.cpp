#include <string>
#include <vector>

#include "receiver/chip_family.h"
#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

using ChipLibrariesTest = ReceiverTest;

TEST_F(ChipLibrariesTest, MissingLibrariesOrEntriesFailTheirFamilyWithoutACall) {
    BindChipLibraries(sys);
    EXPECT_EQ(sys.libs.af15_init, nullptr);
    EXPECT_EQ(InitAf9015(sys), 0);
    EXPECT_EQ(InitIt9135(sys), 0);
    ExitAf9015(sys);
    ExitIt9135(sys);

    InstallAf15(desk);
    InstallAf9100(desk);
    desk.Entry("af9100_initIRDev").exported = false;
    desk.Entry("af15_GetIR").exported = false;  // a family that cannot read is of no use
    BindChipLibraries(sys);
    EXPECT_NE(sys.libs.af9100_init, nullptr);
    EXPECT_EQ(InitIt9135(sys), 0);
    EXPECT_EQ(InitAf9015(sys), 0);
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_EQ(desk.LoadLibraryCount("RTL283XACCESS.dll"), 0) << "loaded only on demand";
}

TEST_F(ChipLibrariesTest, ReadyTestsLookAtTheLowBitsOnly) {
    InstallAf15(desk);
    InstallAf9100(desk);
    BindChipLibraries(sys);
    desk.Entry("af15_init").results = {0x100, 0x201};
    desk.Entry("af9100_init").results = {0x100, 0x1, 0x1};
    desk.Entry("af9100_initIRDev").results = {0x10000, 0x8000};

    EXPECT_EQ(InitAf9015(sys), 0);
    EXPECT_EQ(InitAf9015(sys), 1);
    EXPECT_EQ(InitIt9135(sys), 0);
    EXPECT_EQ(InitIt9135(sys), 0);
    EXPECT_EQ(InitIt9135(sys), 1);
    EXPECT_EQ(CallCount("af9100_initIRDev"), 2) << "only after a successful af9100_init";
}

// Records the names asked of GetProcAddress.
class FetchRecordingDesktop : public SimDesktop {
  public:
    std::vector<std::string> fetched;
    void* GetProcAddress(Handle module, const char* name) override {
        fetched.push_back(name);
        return SimDesktop::GetProcAddress(module, name);
    }
};

TEST(LoadRtlLibrary, FetchesTheTwentyNamesInOrderAndMissingOnesStayNull) {
    FetchRecordingDesktop desk;
    System sys(desk);
    InstallRtk(desk);
    desk.Entry("RTK_IR_Write").exported = false;

    EXPECT_EQ(LoadRtlLibrary(sys), 1);
    ASSERT_EQ(desk.fetched.size(), 20u);
    EXPECT_EQ(desk.fetched[0], "RTK_BDAFilterInit");
    EXPECT_EQ(desk.fetched[3], "RTK_DeviceIsOk");
    EXPECT_EQ(desk.fetched[17], "RTK_InitialAPModeIRParameter");
    EXPECT_EQ(desk.fetched[18], "RTK_GetAPModeIRCode");
    EXPECT_EQ(desk.fetched[19], "RTK_GetAPModeIRCurrentIRType");
    EXPECT_EQ(sys.libs.rtk[7], nullptr);
    EXPECT_NE(sys.libs.RTK_GetAPModeIRCode, nullptr);
    EXPECT_TRUE(desk.LibraryCalls().empty());
}

TEST_F(ChipLibrariesTest, AFailedRtlLoadClearsOnlyTheFirstNine) {
    int marker = 0;
    for (void*& entry : sys.libs.rtk) {
        entry = &marker;
    }
    EXPECT_EQ(LoadRtlLibrary(sys), 0);
    EXPECT_EQ(sys.libs.rtk[8], nullptr);
    EXPECT_EQ(sys.libs.rtk[9], &marker);
    EXPECT_EQ(sys.libs.RTK_DeviceIsOk, nullptr);
    EXPECT_EQ(InitRtl2832u(sys, mainWindow), 0);
}

// A vendor library may have been built with either calling convention (on
// the 32-bit build they differ: a __stdcall entry point removes its
// arguments, a cdecl one leaves them).
#if defined(__i386__)
#define TEST_STDCALL __attribute__((stdcall))
#define TEST_CDECL __attribute__((cdecl))
#else
#define TEST_STDCALL
#define TEST_CDECL
#endif
int TEST_STDCALL StdcallRead(unsigned int* count, unsigned char* buffer, unsigned int size) {
    *count = size;
    buffer[1] = static_cast<unsigned char>(size);
    return static_cast<int>(size) + 1;
}
int TEST_CDECL CdeclRead(unsigned int* count, unsigned char* buffer, unsigned int size) {
    *count = size;
    buffer[1] = static_cast<unsigned char>(size);
    return static_cast<int>(size) + 1;
}
int TEST_STDCALL StdcallReady() {
    return 7;
}
int TEST_CDECL CdeclReady() {
    return 7;
}

// As GetProcAddress gives it and the receiver types it.
template <typename Entry, typename Fn>
Entry AsEntry(Fn fn) {
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(fn));
}

TEST(CallEntry, EntryPointsOfEitherConventionLeaveTheCallersStackAsItWas) {
    const RtkGetAPModeIRCode reads[] = {AsEntry<RtkGetAPModeIRCode>(&StdcallRead),
                                        AsEntry<RtkGetAPModeIRCode>(&CdeclRead)};
    const RtkDeviceIsOk readies[] = {AsEntry<RtkDeviceIsOk>(&StdcallReady),
                                     AsEntry<RtkDeviceIsOk>(&CdeclReady)};
    for (int convention = 0; convention < 2; ++convention) {
        SCOPED_TRACE(convention == 0 ? "__stdcall" : "cdecl");
        // Arguments left behind would pile up over the calls and move every
        // local of an optimised caller.
        unsigned int total = 0;
        for (unsigned int i = 0; i < 1000; ++i) {
            unsigned int count = 0;
            unsigned char buffer[4] = {};
            total += static_cast<unsigned int>(CallEntry(reads[convention], &count, buffer, i));
            ASSERT_EQ(count, i);
            ASSERT_EQ(buffer[1], static_cast<unsigned char>(i));
            ASSERT_EQ(CallEntry(readies[convention]), 7);
        }
        EXPECT_EQ(total, 1000u * 1001u / 2u);
    }
}

}  // namespace
}  // namespace rc::test
