// Small text helpers shared by the readers of names and files. Letter case
// is compared the ASCII way, as the names compared here are ASCII.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rc {

constexpr char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal, ignoring letter case.
constexpr bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

// Whether text holds part, ignoring letter case (an empty part always).
constexpr bool ContainsText(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char x, char y) { return LowerAscii(x) == LowerAscii(y); }) !=
               text.end() ||
           part.empty();
}

// Blanks and tabs: what the lines of the applications file are trimmed of.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// One entry of a table of names (keys, commands) and their values.
struct NamedValue {
    const char* name;
    std::uint32_t value;
};

// The first entry of a name, ignoring letter case; null when none.
template <std::size_t N>
constexpr const NamedValue* FindName(const NamedValue (&table)[N], std::string_view name) {
    for (const NamedValue& entry : table) {
        if (SameText(name, entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

// The first entry of a value; null when none.
template <std::size_t N>
constexpr const NamedValue* FindValue(const NamedValue (&table)[N], std::uint32_t value) {
    for (const NamedValue& entry : table) {
        if (entry.value == value) {
            return &entry;
        }
    }
    return nullptr;
}

// The file name of a path.
constexpr std::string_view FileNamePart(std::string_view path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace rc
