#include "apps/key_names.h"

#include <cstdio>

#include "core/text.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

// The modifiers; the first name of a key is the one its text uses.
constexpr NamedValue kModifiers[] = {
    {"Ctrl", 0x11}, {"Control", 0x11}, {"Shift", 0x10}, {"Alt", 0x12}, {"Win", 0x5B},
};

// Keys by name; letters, digits, F1 to F24 and NumPad0 to NumPad9 are read
// and written without the table.
// clang-format off
constexpr NamedValue kKeys[] = {
    {"Backspace", 0x08}, {"Tab", 0x09}, {"Enter", 0x0D}, {"Return", 0x0D}, {"Pause", 0x13},
    {"CapsLock", 0x14}, {"Esc", 0x1B}, {"Escape", 0x1B}, {"Space", 0x20}, {"PageUp", 0x21},
    {"PgUp", 0x21}, {"PageDown", 0x22}, {"PgDn", 0x22}, {"End", 0x23}, {"Home", 0x24},
    {"Left", 0x25}, {"Up", 0x26}, {"Right", 0x27}, {"Down", 0x28}, {"PrintScreen", 0x2C},
    {"Insert", 0x2D}, {"Ins", 0x2D}, {"Delete", 0x2E}, {"Del", 0x2E}, {"Apps", 0x5D},
    {"Multiply", 0x6A}, {"Add", 0x6B}, {"Subtract", 0x6D}, {"Decimal", 0x6E}, {"Divide", 0x6F},
    {"BrowserBack", 0xA6}, {"BrowserForward", 0xA7}, {"BrowserRefresh", 0xA8},
    {"BrowserStop", 0xA9}, {"BrowserSearch", 0xAA}, {"BrowserFavorites", 0xAB},
    {"BrowserHome", 0xAC}, {"VolumeMute", 0xAD}, {"VolumeDown", 0xAE}, {"VolumeUp", 0xAF},
    {"MediaNext", 0xB0}, {"MediaPrev", 0xB1}, {"MediaStop", 0xB2}, {"MediaPlayPause", 0xB3},
    {"Semicolon", 0xBA}, {"Plus", 0xBB}, {"Comma", 0xBC}, {"Minus", 0xBD}, {"Period", 0xBE},
    {"Slash", 0xBF}, {"Backquote", 0xC0}, {"LeftBracket", 0xDB}, {"Backslash", 0xDC},
    {"RightBracket", 0xDD}, {"Quote", 0xDE},
};
// clang-format on

template <std::size_t N>
bool Lookup(const NamedValue (&table)[N], std::string_view name, std::uint32_t* vk) {
    const NamedValue* entry = FindName(table, name);
    if (entry != nullptr) {
        *vk = entry->value;
    }
    return entry != nullptr;
}

// 1 to 24 written in decimal without a leading zero; 0 for anything else.
std::uint32_t FunctionKeyNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 2 || digits[0] == '0') {
        return 0;
    }
    std::uint32_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
        n = n * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return n <= 24 ? n : 0;
}

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

bool FindModifier(std::string_view name, std::uint32_t* vk) {
    return Lookup(kModifiers, name, vk);
}

bool FindKey(std::string_view name, std::uint32_t* vk) {
    if (name.size() == 1 && IsAsciiAlnum(name[0])) {
        char c = name[0];
        *vk = static_cast<std::uint32_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        return true;
    }
    if (name.size() >= 2 && (name[0] == 'f' || name[0] == 'F')) {
        if (std::uint32_t n = FunctionKeyNumber(name.substr(1)); n != 0) {
            *vk = win::kVkF1 + n - 1;
            return true;
        }
    }
    if (name.size() == 7 && SameText(name.substr(0, 6), "numpad") && name[6] >= '0' &&
        name[6] <= '9') {
        *vk = win::kVkNumpad0 + static_cast<std::uint32_t>(name[6] - '0');
        return true;
    }
    // A key without a name, by its number as ChordText writes it: "VK 0xE2"
    // (the key between Shift and Z on European keyboards).
    if (name.size() >= 6 && name.size() <= 7 && SameText(name.substr(0, 5), "VK 0x")) {
        std::uint32_t n = 0;
        for (char c : name.substr(5)) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) {
                return false;
            }
            n = n * 16 + static_cast<std::uint32_t>(digit);
        }
        if (n == 0 || n == 0xFF) {
            return false;
        }
        *vk = n;
        return true;
    }
    return Lookup(kKeys, name, vk);
}

namespace {

// The keys a hotkey control can't record: Backspace, Tab, Enter, Esc and
// Space (the control or the window's keyboard navigation takes them), and
// the browser, volume and media keys (VK_BROWSER_BACK to
// VK_MEDIA_PLAY_PAUSE), each by its first name.
bool IsOtherKey(const NamedValue& key) {
    const std::uint32_t vk = key.value;
    const bool listed = vk == 0x08 || vk == 0x09 || vk == 0x0D || vk == 0x1B || vk == 0x20 ||
                        (vk >= 0xA6 && vk <= 0xB3);
    return listed && FindValue(kKeys, vk) == &key;
}

}  // namespace

int OtherKeyCount() {
    int count = 0;
    for (const NamedValue& key : kKeys) {
        count += IsOtherKey(key) ? 1 : 0;
    }
    return count;
}

const char* OtherKeyAt(int index, std::uint32_t* vk) {
    for (const NamedValue& key : kKeys) {
        if (IsOtherKey(key) && index-- == 0) {
            *vk = key.value;
            return key.name;
        }
    }
    return nullptr;
}

std::string ChordText(const std::uint8_t* keys, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i != 0) {
            text += '+';
        }
        std::uint8_t vk = keys[i];
        char buffer[16];
        const NamedValue* named = FindValue(kModifiers, vk);
        if (named == nullptr) {
            named = FindValue(kKeys, vk);
        }
        if (named != nullptr) {
            text += named->name;
        } else if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
            text += static_cast<char>(vk);
        } else if (vk >= win::kVkF1 && vk < win::kVkF1 + 24) {
            std::snprintf(buffer, sizeof buffer, "F%d", vk - win::kVkF1 + 1);
            text += buffer;
        } else if (vk >= win::kVkNumpad0 && vk <= win::kVkNumpad0 + 9) {
            std::snprintf(buffer, sizeof buffer, "NumPad%d", vk - win::kVkNumpad0);
            text += buffer;
        } else {
            std::snprintf(buffer, sizeof buffer, "VK 0x%02X", vk);
            text += buffer;
        }
    }
    return text;
}

}  // namespace rc
