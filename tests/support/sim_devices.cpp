#include "support/sim_devices.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win_defs.h"
#include "support/sim_text.h"

namespace rc {

namespace {

constexpr Guid kHidGuid = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr long kHidpStatusInvalidPreparsedData = static_cast<long>(0xC0110001u);

}  // namespace

Handle SimDevices::NewDeviceObject() {
    return nextDeviceObject_ += 4;
}

Handle SimDevices::NewKernelObject() {
    return nextKernelObject_ += 4;
}

// ===== COM and DirectShow ========================================================

long SimDevices::CoInitialize() {
    return coInit_++ == 0 ? win::kSOk : win::kSFalse;
}

void SimDevices::CoUninitialize() {
    --coInit_;  // below 0 it reports an unbalanced call
}

int SimDevices::CoInitCount() const {
    return coInit_;
}

int SimDevices::AddFilter(const Guid& category, const std::string& friendlyName, bool bindFails) {
    int id = nextFilterId_++;
    filters_[id] = {category, friendlyName, bindFails};
    return id;
}

void SimDevices::RemoveFilter(int id) {
    auto it = filters_.find(id);
    if (it != filters_.end()) {
        it->second.present = false;  // monikers already handed out still name it
    }
}

void SimDevices::RemoveAllFilters() {
    for (auto& [id, f] : filters_) {
        f.present = false;
    }
}

Handle SimDevices::OpenDeviceCategory(const Guid& category) {
    ++categoryOpens_;
    // CoCreateInstance needs COM on this thread (CO_E_NOTINITIALIZED).
    if (failCreateEnumerator || coInit_ <= 0) {
        return 0;
    }
    Enumerator e;
    for (const auto& [id, f] : filters_) {
        if (f.present && f.category == category) {
            e.devices.push_back(id);
        }
    }
    if (e.devices.empty()) {
        return 0;  // S_FALSE and no enumerator
    }
    Handle h = NewDeviceObject();
    enumerators_[h] = std::move(e);
    return h;
}

Handle SimDevices::NextDeviceMoniker(Handle enumerator) {
    auto it = enumerators_.find(enumerator);
    if (it == enumerators_.end() || it->second.next >= it->second.devices.size()) {
        return 0;
    }
    Handle h = NewDeviceObject();
    monikers_[h] = it->second.devices[it->second.next++];
    return h;
}

bool SimDevices::ReadFriendlyName(Handle moniker, char* buffer, int bufferSize) {
    auto it = monikers_.find(moniker);
    if (it == monikers_.end() || !buffer || bufferSize <= 0) {
        return false;
    }
    sim::CopyTruncated(filters_[it->second].name, buffer, bufferSize);
    return true;
}

Handle SimDevices::BindFilter(Handle moniker) {
    auto it = monikers_.find(moniker);
    if (it == monikers_.end()) {
        return 0;
    }
    const Filter& f = filters_[it->second];
    if (f.bindFails || !f.present) {
        return 0;
    }
    Handle h = NewDeviceObject();
    boundFilters_.insert(h);
    return h;
}

void SimDevices::ReleaseMoniker(Handle moniker) {
    monikers_.erase(moniker);
}

void SimDevices::ReleaseDeviceCategory(Handle enumerator) {
    enumerators_.erase(enumerator);
}

void SimDevices::ReleaseFilterObject(Handle filter) {
    boundFilters_.erase(filter);
}

int SimDevices::HeldFilters() const {
    return static_cast<int>(boundFilters_.size());
}

int SimDevices::OpenDeviceObjects() const {
    return static_cast<int>(enumerators_.size() + monikers_.size());
}

int SimDevices::CategoryOpenCount() const {
    return categoryOpens_;
}

// ===== Device setup and HID ======================================================

int SimDevices::AddHidDevice(const SimHidDevice& device) {
    int id = nextHidId_++;
    hidDevices_[id] = device;
    return id;
}

SimHidDevice& SimDevices::Hid(int id) {
    return hidDevices_.at(id);
}

void SimDevices::RemoveHidDevice(int id) {
    hidDevices_.erase(id);
}

int SimDevices::OpenHidSets() const {
    return static_cast<int>(hidSets_.size());
}

int SimDevices::OpenHidHandles() const {
    return static_cast<int>(hidHandles_.size());
}

std::vector<std::uint8_t> SimDevices::LastFeatureReport() const {
    return lastFeatureReport_;
}

void SimDevices::HidD_GetHidGuid(Guid* guid) {
    if (guid) {
        *guid = kHidGuid;
    }
}

Handle SimDevices::SetupDiGetClassDevsA(const Guid& guid, std::uint32_t /*flags*/) {
    if (failGetClassDevs) {
        return kInvalidHandle;
    }
    std::vector<int> ids;
    if (guid == kHidGuid) {
        for (const auto& [id, d] : hidDevices_) {
            ids.push_back(id);
        }
    }
    Handle h = NewDeviceObject();
    hidSets_[h] = std::move(ids);
    return h;
}

bool SimDevices::SetupDiEnumDeviceInterfaces(Handle deviceInfoSet, const Guid& guid,
                                             std::uint32_t index) {
    auto it = hidSets_.find(deviceInfoSet);
    return it != hidSets_.end() && guid == kHidGuid && index < it->second.size();
}

SimHidDevice* SimDevices::SetDevice(Handle set, const Guid& guid, std::uint32_t index) {
    auto s = hidSets_.find(set);
    if (s == hidSets_.end() || !(guid == kHidGuid) || index >= s->second.size()) {
        return nullptr;
    }
    auto d = hidDevices_.find(s->second[index]);
    return d == hidDevices_.end() ? nullptr : &d->second;
}

std::uint32_t SimDevices::GetDeviceInterfaceDetailSize(Handle deviceInfoSet, const Guid& guid,
                                                       std::uint32_t index) {
    auto* d = SetDevice(deviceInfoSet, guid, index);
    if (!d || d->detailFails) {
        return 0;
    }
    // The size field and the path with its terminator.
    return static_cast<std::uint32_t>(d->path.size()) + 5;
}

bool SimDevices::GetDeviceInterfaceDetail(Handle deviceInfoSet, const Guid& guid,
                                          std::uint32_t index, void* detail,
                                          std::uint32_t detailSize, char* path,
                                          std::uint32_t pathMax) {
    auto* d = SetDevice(deviceInfoSet, guid, index);
    if (!d || d->detailFails || !detail || detailSize < d->path.size() + 5) {
        return false;
    }
    std::memcpy(static_cast<char*>(detail) + 4, d->path.c_str(), d->path.size() + 1);
    sim::CopyTruncated(d->path, path,
                       static_cast<int>(std::min<std::uint32_t>(pathMax, 0x7FFFFFFF)));
    return true;
}

bool SimDevices::SetupDiDestroyDeviceInfoList(Handle deviceInfoSet) {
    return hidSets_.erase(deviceInfoSet) != 0;
}

Handle SimDevices::CreateFileA(const char* path, std::uint32_t /*access*/,
                               std::uint32_t /*shareMode*/, std::uint32_t /*disposition*/,
                               std::uint32_t /*flags*/) {
    if (!path) {
        return kInvalidHandle;
    }
    for (const auto& [id, d] : hidDevices_) {
        if (sim::SameText(d.path, path)) {
            if (d.openFails) {
                return kInvalidHandle;
            }
            Handle h = NewKernelObject();
            hidHandles_[h] = id;
            return h;
        }
    }
    return kInvalidHandle;
}

bool SimDevices::HidD_GetPreparsedData(Handle device, Handle* preparsed) {
    auto h = hidHandles_.find(device);
    if (!preparsed || h == hidHandles_.end()) {
        return false;
    }
    auto d = hidDevices_.find(h->second);
    if (d == hidDevices_.end() || d->second.preparsedFails) {
        return false;
    }
    *preparsed = NewDeviceObject();
    preparsed_[*preparsed] = h->second;
    return true;
}

long SimDevices::HidP_GetCaps(Handle preparsed, HidCaps* caps) {
    auto p = preparsed_.find(preparsed);
    if (!caps || p == preparsed_.end()) {
        return kHidpStatusInvalidPreparsedData;
    }
    auto d = hidDevices_.find(p->second);
    if (d == hidDevices_.end() || d->second.capsFails) {
        return kHidpStatusInvalidPreparsedData;
    }
    caps->usage = d->second.usage;
    caps->usagePage = d->second.usagePage;
    return win::kHidpStatusSuccess;
}

bool SimDevices::HidD_FreePreparsedData(Handle preparsed) {
    return preparsed_.erase(preparsed) != 0;
}

bool SimDevices::HidD_GetFeature(Handle device, std::uint8_t* report, std::uint32_t length) {
    lastFeatureReport_.assign(report, report + (report ? length : 0));
    auto h = hidHandles_.find(device);
    if (!report || length == 0 || h == hidHandles_.end()) {
        return false;
    }
    auto d = hidDevices_.find(h->second);
    if (d == hidDevices_.end()) {
        return false;  // the stick was pulled
    }
    SimHidDevice& dev = d->second;
    if (!dev.featureCodes.empty()) {
        report[0] = dev.featureCodes.front();
        dev.featureCodes.pop_front();
        return true;
    }
    if (!dev.idleReads) {
        return false;
    }
    report[0] = dev.idleCode;
    return true;
}

bool SimDevices::CloseHandle(Handle handle) {
    return hidHandles_.erase(handle) != 0;
}

}  // namespace rc
