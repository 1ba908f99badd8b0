// The simulated desktop's devices: tuner filters in DirectShow device
// categories (with COM's per-thread count) and HID devices found through the
// device setup calls and read by feature report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace rc {

// A HID device as the device setup calls find it and the HID calls read it.
struct SimHidDevice {
    std::string path;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    bool detailFails = false;
    bool openFails = false;  // e.g. held exclusively by another process
    bool preparsedFails = false;
    bool capsFails = false;
    // Codes returned by successive feature reads; an empty queue means
    // the read fails (the stick is gone).
    std::deque<std::uint8_t> featureCodes;
    std::uint8_t idleCode = 0xFF;  // read when the queue is empty and idleReads is true
    bool idleReads = true;
};

class SimDevices {
  public:
    // ===== Test controls: DirectShow tuner filters
    // Guids of the three categories the system looks in.
    static constexpr Guid kBdaNetworkTuner = {
        0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
    static constexpr Guid kCrossbar = {
        0xA799A801, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};
    static constexpr Guid kVideoInputDevice = {
        0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
    // Adds a device (a moniker with this friendly name) to a category; gives
    // an id for RemoveFilter.
    int AddFilter(const Guid& category, const std::string& friendlyName, bool bindFails = false);
    void RemoveFilter(int id);
    void RemoveAllFilters();
    // CoCreateInstance of the enumerator fails (it also fails while COM is not
    // initialised: CoInitCount() 0).
    bool failCreateEnumerator = false;
    // CoInitialize minus CoUninitialize. A CoUninitialize without a matching
    // CoInitialize takes it below 0, which no Windows thread shows: the report
    // of an unbalanced call.
    int CoInitCount() const;
    int HeldFilters() const;        // filters bound and not released
    int OpenDeviceObjects() const;  // enumerators and monikers not released
    int CategoryOpenCount() const;  // OpenDeviceCategory calls so far (probes)

    // ===== Test controls: HID devices
    int AddHidDevice(const SimHidDevice& device);  // gives an id
    SimHidDevice& Hid(int id);
    void RemoveHidDevice(int id);
    bool failGetClassDevs = false;
    int OpenHidSets() const;                              // device information sets not destroyed
    int OpenHidHandles() const;                           // device handles not closed
    std::vector<std::uint8_t> LastFeatureReport() const;  // buffer as passed to the last read

    // ===== The seam's device calls (see platform.h)
    long CoInitialize();
    void CoUninitialize();
    Handle OpenDeviceCategory(const Guid& category);
    Handle NextDeviceMoniker(Handle enumerator);
    bool ReadFriendlyName(Handle moniker, char* buffer, int bufferSize);
    Handle BindFilter(Handle moniker);
    void ReleaseMoniker(Handle moniker);
    void ReleaseDeviceCategory(Handle enumerator);
    void ReleaseFilterObject(Handle filter);
    void HidD_GetHidGuid(Guid* guid);
    Handle SetupDiGetClassDevsA(const Guid& guid, std::uint32_t flags);
    bool SetupDiEnumDeviceInterfaces(Handle deviceInfoSet, const Guid& guid, std::uint32_t index);
    std::uint32_t GetDeviceInterfaceDetailSize(Handle deviceInfoSet, const Guid& guid,
                                               std::uint32_t index);
    bool GetDeviceInterfaceDetail(Handle deviceInfoSet, const Guid& guid, std::uint32_t index,
                                  void* detail, std::uint32_t detailSize, char* path,
                                  std::uint32_t pathMax);
    bool SetupDiDestroyDeviceInfoList(Handle deviceInfoSet);
    Handle CreateFileA(const char* path, std::uint32_t access, std::uint32_t shareMode,
                       std::uint32_t disposition, std::uint32_t flags);
    bool HidD_GetPreparsedData(Handle device, Handle* preparsed);
    long HidP_GetCaps(Handle preparsed, HidCaps* caps);
    bool HidD_FreePreparsedData(Handle preparsed);
    bool HidD_GetFeature(Handle device, std::uint8_t* report, std::uint32_t length);
    // CloseHandle of a device handle: false for any other handle.
    bool CloseHandle(Handle handle);

    // Kernel object handles come from one numbering for the whole process:
    // the desktop takes its tokens' handles here too.
    Handle NewKernelObject();

  private:
    struct Filter {
        Guid category;
        std::string name;
        bool bindFails;
        bool present = true;
    };
    struct Enumerator {
        std::vector<int> devices;
        std::size_t next = 0;
    };

    Handle NewDeviceObject();
    // The device of a set's interface, or null when it is out of range or gone.
    SimHidDevice* SetDevice(Handle set, const Guid& guid, std::uint32_t index);

    // DirectShow
    std::map<int, Filter> filters_;
    int nextFilterId_ = 1;
    std::map<Handle, Enumerator> enumerators_;
    std::map<Handle, int> monikers_;
    std::set<Handle> boundFilters_;
    int coInit_ = 0;
    int categoryOpens_ = 0;
    // HID
    std::map<int, SimHidDevice> hidDevices_;  // present devices
    int nextHidId_ = 1;
    std::map<Handle, std::vector<int>> hidSets_;
    std::map<Handle, int> hidHandles_;
    std::map<Handle, int> preparsed_;
    std::vector<std::uint8_t> lastFeatureReport_;
    // Handles
    Handle nextDeviceObject_ = 0x7000;
    Handle nextKernelObject_ = 0x9000;
};

}  // namespace rc
