// The simulated desktop's registry: HKEY_LOCAL_MACHINE as a tree of keys with
// typed values, the seam's registry calls on it, and the rights of the user.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace rc {

class SimRegistry {
  public:
    SimRegistry();

    // ===== Test controls (paths are under HKEY_LOCAL_MACHINE, case-insensitive;
    // a path that begins with "HKEY_CURRENT_USER\\" is in the user's own hive)
    void SetRegDword(const std::string& keyPath, const std::string& name, std::uint32_t value);
    void SetRegString(const std::string& keyPath, const std::string& name,
                      const std::string& value);  // REG_SZ, stored with its NUL
    void SetRegBinary(const std::string& keyPath, const std::string& name,
                      const std::vector<std::uint8_t>& bytes, std::uint32_t type = 3);
    void CreateRegKey(const std::string& keyPath);
    void DeleteRegKey(const std::string& keyPath);  // with its subkeys
    void DeleteRegValue(const std::string& keyPath, const std::string& name);
    bool RegKeyExists(const std::string& keyPath) const;
    bool RegValueExists(const std::string& keyPath, const std::string& name) const;
    std::uint32_t RegValueType(const std::string& keyPath, const std::string& name) const;
    std::vector<std::uint8_t> RegValueBytes(const std::string& keyPath,
                                            const std::string& name) const;
    // The value as a little-endian number of its first four bytes (0 when missing).
    std::uint32_t RegDword(const std::string& keyPath, const std::string& name) const;
    std::vector<std::string> RegValueNames(const std::string& keyPath) const;
    int OpenRegKeyCount() const;  // keys opened and not yet closed
    int RegFlushCount() const;
    // The rights of the user. Opens and creates asking for a write right
    // (KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_ALL_ACCESS...) where the user
    // has none fail with ERROR_ACCESS_DENIED (a missing key still gives
    // ERROR_FILE_NOT_FOUND on open); reading opens succeed. Writing through a handle opened
    // without KEY_SET_VALUE gives ERROR_ACCESS_DENIED. HKEY_CURRENT_USER is
    // the user's own: every user may write there. Other roots hold no keys.
    // refuseAllAccess: no write right anywhere (a limited user whose writes
    // Windows does not virtualise: XP, or a program with a manifest).
    bool refuseAllAccess = false;
    // standardUser: a standard user (or an administrator under UAC) running a
    // program without a manifest: no write right below
    // SOFTWARE\Microsoft\Windows, SOFTWARE\Microsoft\Windows NT and SYSTEM,
    // which Windows never virtualises; other writes succeed (virtualised).
    bool standardUser = false;

    // ===== The seam's registry calls (see platform.h)
    long RegOpenKeyExA(Handle root, const char* subKey, std::uint32_t access, Handle* key);
    long RegCreateKeyExA(Handle root, const char* subKey, std::uint32_t access, Handle* key);
    long RegEnumKeyExA(Handle key, std::uint32_t index, char* name, std::uint32_t* nameSize);
    long RegQueryValueExA(Handle key, const char* valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size);
    long RegSetValueExA(Handle key, const char* valueName, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size);
    long RegFlushKey(Handle key);
    long RegCloseKey(Handle key);

  private:
    struct Value {
        std::string name;  // as first written
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
    };
    struct Key {
        std::string name;                     // the last part of its path, as created
        std::map<std::string, Value> values;  // by lower-case name
    };
    struct OpenKey {
        std::string path;
        bool canWrite;
    };

    // The key a handle or root refers to; false for anything else.
    bool Base(Handle root, std::string* path) const;
    // The error an open of an unknown root gives.
    static long UnknownRoot(Handle root);
    // The user may write there.
    bool Writable(const std::string& lowerPath) const;
    // Creates a key and the keys above it; gives its table path.
    std::string CreateKeyPath(const std::string& anyCase);
    Handle OpenKeyHandle(const std::string& path, bool canWrite);
    const Value* FindValue(const std::string& keyPath, const std::string& name) const;
    void SetValue(const std::string& anyCase, const std::string& name, std::uint32_t type,
                  std::vector<std::uint8_t> bytes);

    // by lower-case path; "" is HKEY_LOCAL_MACHINE, "hkey_current_user" the user's hive
    std::map<std::string, Key> keys_;
    std::map<Handle, OpenKey> openKeys_;
    Handle nextKey_;
    int flushes_ = 0;
};

}  // namespace rc
