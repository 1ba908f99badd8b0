// The simulated desktop's front: construction, and the seam calls that its
// parts answer, handed on to them.
#include "support/sim_desktop.h"

#include "support/sim_desktop_state.h"

namespace rc {

namespace {

SimDesktop* g_current = nullptr;

}  // namespace

SimDesktop::SimDesktop() : s_(std::make_unique<State>()), log_(s_->now), libraries(log_) {
    g_current = this;
}

SimDesktop::~SimDesktop() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

SimDesktop* SimDesktop::Current() {
    return g_current;
}

// ===== Registry ==================================================================

long SimDesktop::RegOpenKeyExA(Handle root, const char* subKey, std::uint32_t access, Handle* key) {
    return registry.RegOpenKeyExA(root, subKey, access, key);
}

long SimDesktop::RegCreateKeyExA(Handle root, const char* subKey, std::uint32_t access,
                                 Handle* key) {
    return registry.RegCreateKeyExA(root, subKey, access, key);
}

long SimDesktop::RegEnumKeyExA(Handle key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize) {
    return registry.RegEnumKeyExA(key, index, name, nameSize);
}

long SimDesktop::RegQueryValueExA(Handle key, const char* valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) {
    return registry.RegQueryValueExA(key, valueName, type, data, size);
}

long SimDesktop::RegSetValueExA(Handle key, const char* valueName, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) {
    return registry.RegSetValueExA(key, valueName, type, data, size);
}

long SimDesktop::RegFlushKey(Handle key) {
    return registry.RegFlushKey(key);
}

long SimDesktop::RegCloseKey(Handle key) {
    return registry.RegCloseKey(key);
}

// ===== COM and DirectShow ========================================================

long SimDesktop::CoInitialize() {
    return devices.CoInitialize();
}

void SimDesktop::CoUninitialize() {
    devices.CoUninitialize();
}

Handle SimDesktop::OpenDeviceCategory(const Guid& category) {
    return devices.OpenDeviceCategory(category);
}

Handle SimDesktop::NextDeviceMoniker(Handle enumerator) {
    return devices.NextDeviceMoniker(enumerator);
}

bool SimDesktop::ReadFriendlyName(Handle moniker, char* buffer, int bufferSize) {
    return devices.ReadFriendlyName(moniker, buffer, bufferSize);
}

Handle SimDesktop::BindFilter(Handle moniker) {
    return devices.BindFilter(moniker);
}

void SimDesktop::ReleaseMoniker(Handle moniker) {
    devices.ReleaseMoniker(moniker);
}

void SimDesktop::ReleaseDeviceCategory(Handle enumerator) {
    devices.ReleaseDeviceCategory(enumerator);
}

void SimDesktop::ReleaseFilterObject(Handle filter) {
    devices.ReleaseFilterObject(filter);
}

// ===== Device setup and HID ======================================================

void SimDesktop::HidD_GetHidGuid(Guid* guid) {
    devices.HidD_GetHidGuid(guid);
}

Handle SimDesktop::SetupDiGetClassDevsA(const Guid& guid, std::uint32_t flags) {
    return devices.SetupDiGetClassDevsA(guid, flags);
}

bool SimDesktop::SetupDiEnumDeviceInterfaces(Handle deviceInfoSet, const Guid& guid,
                                             std::uint32_t index) {
    return devices.SetupDiEnumDeviceInterfaces(deviceInfoSet, guid, index);
}

std::uint32_t SimDesktop::GetDeviceInterfaceDetailSize(Handle deviceInfoSet, const Guid& guid,
                                                       std::uint32_t index) {
    return devices.GetDeviceInterfaceDetailSize(deviceInfoSet, guid, index);
}

bool SimDesktop::GetDeviceInterfaceDetail(Handle deviceInfoSet, const Guid& guid,
                                          std::uint32_t index, void* detail,
                                          std::uint32_t detailSize, char* path,
                                          std::uint32_t pathMax) {
    return devices.GetDeviceInterfaceDetail(deviceInfoSet, guid, index, detail, detailSize, path,
                                            pathMax);
}

bool SimDesktop::SetupDiDestroyDeviceInfoList(Handle deviceInfoSet) {
    return devices.SetupDiDestroyDeviceInfoList(deviceInfoSet);
}

Handle SimDesktop::CreateFileA(const char* path, std::uint32_t access, std::uint32_t shareMode,
                               std::uint32_t disposition, std::uint32_t flags) {
    return devices.CreateFileA(path, access, shareMode, disposition, flags);
}

bool SimDesktop::HidD_GetPreparsedData(Handle device, Handle* preparsed) {
    return devices.HidD_GetPreparsedData(device, preparsed);
}

long SimDesktop::HidP_GetCaps(Handle preparsed, HidCaps* caps) {
    return devices.HidP_GetCaps(preparsed, caps);
}

bool SimDesktop::HidD_FreePreparsedData(Handle preparsed) {
    return devices.HidD_FreePreparsedData(preparsed);
}

bool SimDesktop::HidD_GetFeature(Handle device, std::uint8_t* report, std::uint32_t length) {
    return devices.HidD_GetFeature(device, report, length);
}

// ===== Chip-vendor libraries =====================================================

Handle SimDesktop::LoadLibraryA(const char* name) {
    return libraries.LoadLibraryA(name);
}

void* SimDesktop::GetProcAddress(Handle module, const char* name) {
    return libraries.GetProcAddress(module, name);
}

bool SimDesktop::SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    return libraries.SetDefaultDllDirectories(directoryFlags);
}

bool SimDesktop::SetDllDirectoryA(const char* path) {
    return libraries.SetDllDirectoryA(path);
}

}  // namespace rc
