// The Conexant receiver's channel: a vendor-defined HID collection (usage
// page 0xFFAA, usage 0x77) found among the system's HID interfaces, opened
// exclusively, and read one code at a time through feature report 5.
#include <memory>
#include <new>

#include "core/system.h"
#include "platform/win_defs.h"
#include "receiver/receiver.h"

namespace rc {

namespace {

constexpr std::uint16_t kReceiverUsagePage = 0xFFAA;
constexpr std::uint16_t kReceiverUsage = 0x77;
constexpr std::uint8_t kFeatureReportId = 5;
constexpr std::uint32_t kFeatureReportLength = 3;

// The channel's error boxes carry their message as the title, with no text.
void ShowChannelError(System& sys, const char* message) {
    sys.os.MessageBoxA(0, "", message, win::kMbOk);
}

// The exclusive open and the capability test of the interface at index.
// Gives the open handle when it is the receiver's collection, else 0 (with
// anything it opened closed again).
Handle TryInterface(System& sys, Handle deviceInfoSet, std::uint32_t index) {
    const Guid& guid = sys.hid.hidGuid;
    std::uint32_t detailSize = sys.os.GetDeviceInterfaceDetailSize(deviceInfoSet, guid, index);
    if (detailSize == 0) {
        return 0;
    }
    // The detail record holds the device path, so its size bounds the path.
    std::unique_ptr<std::uint8_t[]> detail(new (std::nothrow) std::uint8_t[detailSize]);
    std::unique_ptr<char[]> path(new (std::nothrow) char[detailSize]());
    if (!detail || !path) {
        return 0;
    }
    if (!sys.os.GetDeviceInterfaceDetail(deviceInfoSet, guid, index, detail.get(), detailSize,
                                         path.get(), detailSize)) {
        return 0;
    }

    Handle device = sys.os.CreateFileA(path.get(), win::kGenericRead | win::kGenericWrite, 0,
                                       win::kOpenExisting, 0);
    if (device == kInvalidHandle || device == 0) {
        return 0;  // e.g. held exclusively by another process
    }

    bool qualifies = false;
    Handle preparsed = 0;
    if (!sys.os.HidD_GetPreparsedData(device, &preparsed)) {
        ShowChannelError(sys, "Error: HidD_GetPreparsedData failede");
    } else {
        HidCaps caps{};
        if (sys.os.HidP_GetCaps(preparsed, &caps) != win::kHidpStatusSuccess) {
            ShowChannelError(sys, "Error: HidP_GetCaps failed");
        } else {
            qualifies = caps.usagePage == kReceiverUsagePage && caps.usage == kReceiverUsage;
        }
        // Only the capabilities were wanted: the parsed data goes back at once.
        sys.os.HidD_FreePreparsedData(preparsed);
    }

    if (!qualifies) {
        sys.os.CloseHandle(device);
        return 0;
    }
    return device;
}

}  // namespace

Handle OpenDeviceInterface(System& sys) {
    // A channel still held from an earlier open is stale by now; closing it
    // first keeps its exclusive handle from shutting out the new open and
    // keeps its device information set from leaking.
    DestroyHidDeviceInfoSet(sys);
    CloseHidHandle(sys);

    sys.os.HidD_GetHidGuid(&sys.hid.hidGuid);
    Handle deviceInfoSet = sys.os.SetupDiGetClassDevsA(
        sys.hid.hidGuid, win::kDigcfPresent | win::kDigcfDeviceInterface);
    if (deviceInfoSet == kInvalidHandle) {
        ShowChannelError(sys, "OpenDeviceInterface: malloc failed\n");
        return 0;
    }

    for (std::uint32_t index = 0;
         sys.os.SetupDiEnumDeviceInterfaces(deviceInfoSet, sys.hid.hidGuid, index); ++index) {
        Handle device = TryInterface(sys, deviceInfoSet, index);
        if (device != 0) {
            sys.hid.deviceInfoSet = deviceInfoSet;
            sys.hid.hidHandle = device;
            return device;
        }
    }
    sys.os.SetupDiDestroyDeviceInfoList(deviceInfoSet);
    return 0;
}

int GetFeatureCode(System& sys, Handle hidHandle, std::uint8_t* code) {
    std::unique_ptr<std::uint8_t[]> report(new (std::nothrow) std::uint8_t[kFeatureReportLength]());
    if (!report) {
        ShowChannelError(sys, "malloc failed");
        return 0;
    }
    report[0] = kFeatureReportId;
    if (!sys.os.HidD_GetFeature(hidHandle, report.get(), kFeatureReportLength)) {
        return 0;
    }
    *code = report[0];
    return 1;
}

void DestroyHidDeviceInfoSet(System& sys) {
    if (sys.hid.deviceInfoSet != kInvalidHandle) {
        sys.os.SetupDiDestroyDeviceInfoList(sys.hid.deviceInfoSet);
        sys.hid.deviceInfoSet = kInvalidHandle;
    }
}

void CloseHidHandle(System& sys) {
    if (sys.hid.hidHandle != 0) {
        sys.os.CloseHandle(sys.hid.hidHandle);
        sys.hid.hidHandle = 0;
    }
}

}  // namespace rc
