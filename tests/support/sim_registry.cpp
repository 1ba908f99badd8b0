#include "support/sim_registry.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/win_defs.h"
#include "support/sim_text.h"

namespace rc {

using sim::Lower;
using sim::Text;

namespace {

constexpr Handle kFirstKey = 0x3000;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorKeyDeleted = 1018;
// What asks to write a key: KEY_SET_VALUE, KEY_CREATE_SUB_KEY,
// KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER, GENERIC_ALL, GENERIC_WRITE.
constexpr std::uint32_t kKeyWriteRights =
    0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 | 0x00080000 | 0x10000000 | 0x40000000;

// A registry path without leading, trailing or doubled backslashes.
std::string Normalize(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) {
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == '\\') {
        out.pop_back();
    }
    return out;
}

// A registry path as the table keeps it: normalized, lower case.
std::string KeyPath(const std::string& path) {
    return Lower(Normalize(path));
}

// A subkey's path under a base path (the subkey's names keep their case).
std::string JoinKey(const std::string& base, const std::string& sub) {
    std::string s = Normalize(sub);
    if (base.empty()) {
        return s;
    }
    return s.empty() ? base : base + "\\" + s;
}

// The user's own hive (HKEY_CURRENT_USER), kept beside HKEY_LOCAL_MACHINE's
// keys under a path of its own.
constexpr char kCurrentUserPath[] = "hkey_current_user";

bool InCurrentUser(const std::string& lowerPath) {
    const std::string top = kCurrentUserPath;
    return lowerPath == top || lowerPath.rfind(top + "\\", 0) == 0;
}

// Keys a standard user may read but never write, virtualised or not.
bool SystemKey(const std::string& lowerPath) {
    for (const char* top :
         {"software\\microsoft\\windows", "software\\microsoft\\windows nt", "system"}) {
        const std::string t = top;
        if (lowerPath == t || lowerPath.rfind(t + "\\", 0) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

SimRegistry::SimRegistry() : nextKey_(kFirstKey) {
    keys_[""];
    keys_[kCurrentUserPath].name = "HKEY_CURRENT_USER";
}

// ===== Inside the tree ===========================================================

bool SimRegistry::Base(Handle root, std::string* path) const {
    if (root == win::kHkeyLocalMachine) {
        path->clear();
        return true;
    }
    if (root == win::kHkeyCurrentUser) {
        *path = kCurrentUserPath;
        return true;
    }
    auto it = openKeys_.find(root);
    if (it == openKeys_.end()) {
        return false;
    }
    *path = it->second.path;
    return true;
}

long SimRegistry::UnknownRoot(Handle root) {
    return root >= 0x80000000u && root <= 0x80000006u ? win::kErrorFileNotFound
                                                      : win::kErrorInvalidHandle;
}

bool SimRegistry::Writable(const std::string& lowerPath) const {
    if (InCurrentUser(lowerPath)) {
        return true;
    }
    return !refuseAllAccess && !(standardUser && SystemKey(lowerPath));
}

std::string SimRegistry::CreateKeyPath(const std::string& anyCase) {
    const std::string original = Normalize(anyCase);
    const std::string path = Lower(original);
    keys_[""];
    keys_[kCurrentUserPath].name = "HKEY_CURRENT_USER";
    std::size_t start = 0;
    while (!path.empty()) {
        std::size_t end = path.find('\\', start);
        auto [it, added] = keys_.try_emplace(path.substr(0, end));
        if (added) {
            it->second.name = original.substr(start, end == std::string::npos ? end : end - start);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return path;
}

Handle SimRegistry::OpenKeyHandle(const std::string& path, bool canWrite) {
    Handle h = nextKey_ += 4;
    openKeys_[h] = {path, canWrite};
    return h;
}

const SimRegistry::Value* SimRegistry::FindValue(const std::string& keyPath,
                                                 const std::string& name) const {
    auto k = keys_.find(KeyPath(keyPath));
    if (k == keys_.end()) {
        return nullptr;
    }
    auto v = k->second.values.find(Lower(name));
    return v == k->second.values.end() ? nullptr : &v->second;
}

void SimRegistry::SetValue(const std::string& anyCase, const std::string& name, std::uint32_t type,
                           std::vector<std::uint8_t> bytes) {
    const std::string path = CreateKeyPath(anyCase);
    Value& v = keys_[path].values[Lower(name)];
    if (v.name.empty()) {
        v.name = name;
    }
    v.type = type;
    v.bytes = std::move(bytes);
}

// ===== Test controls =============================================================

void SimRegistry::SetRegDword(const std::string& keyPath, const std::string& name,
                              std::uint32_t value) {
    std::vector<std::uint8_t> bytes(4);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    SetValue(keyPath, name, win::kRegDword, std::move(bytes));
}

void SimRegistry::SetRegString(const std::string& keyPath, const std::string& name,
                               const std::string& value) {
    std::vector<std::uint8_t> bytes(value.begin(), value.end());
    bytes.push_back(0);
    SetValue(keyPath, name, win::kRegSz, std::move(bytes));
}

void SimRegistry::SetRegBinary(const std::string& keyPath, const std::string& name,
                               const std::vector<std::uint8_t>& bytes, std::uint32_t type) {
    SetValue(keyPath, name, type, bytes);
}

void SimRegistry::CreateRegKey(const std::string& keyPath) {
    CreateKeyPath(keyPath);
}

void SimRegistry::DeleteRegKey(const std::string& keyPath) {
    std::string path = KeyPath(keyPath);
    if (path.empty()) {
        return;  // HKEY_LOCAL_MACHINE itself stays
    }
    for (auto it = keys_.begin(); it != keys_.end();) {
        bool inside = it->first == path || it->first.rfind(path + "\\", 0) == 0;
        it = inside ? keys_.erase(it) : std::next(it);
    }
}

void SimRegistry::DeleteRegValue(const std::string& keyPath, const std::string& name) {
    auto k = keys_.find(KeyPath(keyPath));
    if (k != keys_.end()) {
        k->second.values.erase(Lower(name));
    }
}

bool SimRegistry::RegKeyExists(const std::string& keyPath) const {
    return keys_.count(KeyPath(keyPath)) != 0;
}

bool SimRegistry::RegValueExists(const std::string& keyPath, const std::string& name) const {
    return FindValue(keyPath, name) != nullptr;
}

std::uint32_t SimRegistry::RegValueType(const std::string& keyPath, const std::string& name) const {
    const auto* v = FindValue(keyPath, name);
    return v ? v->type : win::kRegNone;
}

std::vector<std::uint8_t> SimRegistry::RegValueBytes(const std::string& keyPath,
                                                     const std::string& name) const {
    const auto* v = FindValue(keyPath, name);
    return v ? v->bytes : std::vector<std::uint8_t>{};
}

std::uint32_t SimRegistry::RegDword(const std::string& keyPath, const std::string& name) const {
    const auto* v = FindValue(keyPath, name);
    std::uint32_t n = 0;
    for (std::size_t i = 0; v && i < 4 && i < v->bytes.size(); ++i) {
        n |= static_cast<std::uint32_t>(v->bytes[i]) << (8 * i);
    }
    return n;
}

std::vector<std::string> SimRegistry::RegValueNames(const std::string& keyPath) const {
    std::vector<std::string> names;
    auto k = keys_.find(KeyPath(keyPath));
    if (k != keys_.end()) {
        for (const auto& [lower, v] : k->second.values) {
            names.push_back(v.name);
        }
    }
    return names;
}

int SimRegistry::OpenRegKeyCount() const {
    return static_cast<int>(openKeys_.size());
}

int SimRegistry::RegFlushCount() const {
    return flushes_;
}

// ===== The seam's calls ==========================================================

long SimRegistry::RegOpenKeyExA(Handle root, const char* subKey, std::uint32_t access,
                                Handle* key) {
    std::string base;
    if (!key) {
        return kErrorInvalidParameter;
    }
    if (!Base(root, &base)) {
        return UnknownRoot(root);
    }
    std::string path = Lower(JoinKey(base, Text(subKey)));
    if (!keys_.count(path)) {
        return win::kErrorFileNotFound;
    }
    if ((access & kKeyWriteRights) != 0 && !Writable(path)) {
        return win::kErrorAccessDenied;
    }
    *key = OpenKeyHandle(path, (access & win::kKeySetValue) != 0);
    return win::kErrorSuccess;
}

long SimRegistry::RegCreateKeyExA(Handle root, const char* subKey, std::uint32_t access,
                                  Handle* key) {
    std::string base;
    if (!key) {
        return kErrorInvalidParameter;
    }
    if (!Base(root, &base)) {
        return UnknownRoot(root);
    }
    // Opening an existing key asks the rights wanted; making a new one asks
    // write access to the key above it.
    const std::string wanted = Lower(JoinKey(base, Text(subKey)));
    if (!Writable(wanted) && (!keys_.count(wanted) || (access & kKeyWriteRights) != 0)) {
        return win::kErrorAccessDenied;
    }
    std::string path = CreateKeyPath(JoinKey(base, Text(subKey)));
    *key = OpenKeyHandle(path, (access & win::kKeySetValue) != 0);
    return win::kErrorSuccess;
}

long SimRegistry::RegEnumKeyExA(Handle key, std::uint32_t index, char* name,
                                std::uint32_t* nameSize) {
    std::string path;
    if (!Base(key, &path)) {
        return win::kErrorInvalidHandle;
    }
    if (!keys_.count(path)) {
        return kErrorKeyDeleted;
    }
    if (!name || !nameSize) {
        return kErrorInvalidParameter;
    }
    // The direct subkeys, in the alphabetical order Windows gives them.
    const std::string prefix = path.empty() ? std::string() : path + "\\";
    std::uint32_t i = 0;
    for (const auto& [sub, k] : keys_) {
        if (sub.empty() || InCurrentUser(sub) != InCurrentUser(path) ||
            sub.size() <= prefix.size() || sub.compare(0, prefix.size(), prefix) != 0 ||
            sub.find('\\', prefix.size()) != std::string::npos) {
            continue;
        }
        if (i++ != index) {
            continue;
        }
        if (*nameSize < k.name.size() + 1) {
            return win::kErrorMoreData;
        }
        std::memcpy(name, k.name.c_str(), k.name.size() + 1);
        *nameSize = static_cast<std::uint32_t>(k.name.size());
        return win::kErrorSuccess;
    }
    return win::kErrorNoMoreItems;
}

long SimRegistry::RegQueryValueExA(Handle key, const char* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) {
    std::string path;
    if (!Base(key, &path)) {
        return win::kErrorInvalidHandle;
    }
    if (!keys_.count(path)) {
        return kErrorKeyDeleted;
    }
    if (data && !size) {
        return kErrorInvalidParameter;
    }
    const auto* v = FindValue(path, Text(valueName));
    if (!v) {
        return win::kErrorFileNotFound;
    }
    const auto needed = static_cast<std::uint32_t>(v->bytes.size());
    if (type) {
        *type = v->type;
    }
    if (!data) {
        if (size) {
            *size = needed;
        }
        return win::kErrorSuccess;
    }
    if (*size < needed) {
        *size = needed;
        return win::kErrorMoreData;
    }
    std::copy(v->bytes.begin(), v->bytes.end(), data);
    *size = needed;
    return win::kErrorSuccess;
}

long SimRegistry::RegSetValueExA(Handle key, const char* valueName, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) {
    auto it = openKeys_.find(key);
    if (it == openKeys_.end()) {
        return key == win::kHkeyLocalMachine ? win::kErrorAccessDenied : win::kErrorInvalidHandle;
    }
    if (!keys_.count(it->second.path)) {
        return kErrorKeyDeleted;
    }
    if (!it->second.canWrite) {
        return win::kErrorAccessDenied;
    }
    if (!data && size != 0) {
        return kErrorInvalidParameter;
    }
    std::vector<std::uint8_t> bytes(data, data + (data ? size : 0));
    SetValue(it->second.path, Text(valueName), type, std::move(bytes));
    return win::kErrorSuccess;
}

long SimRegistry::RegFlushKey(Handle key) {
    std::string path;
    if (!Base(key, &path)) {
        return win::kErrorInvalidHandle;
    }
    ++flushes_;
    return win::kErrorSuccess;
}

long SimRegistry::RegCloseKey(Handle key) {
    if (key == win::kHkeyLocalMachine || key == win::kHkeyCurrentUser) {
        return win::kErrorSuccess;
    }
    return openKeys_.erase(key) ? win::kErrorSuccess : win::kErrorInvalidHandle;
}

}  // namespace rc
