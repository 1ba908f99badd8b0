// Small text helpers shared by the readers of names and files. Text is
// held as UTF-8: the key-map file, window titles and classes and executable
// names may be in any script. Letter case is compared by a simple fold of
// the letters of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic, the
// same on every build; other characters compare as they are.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rc {

constexpr char32_t kReplacementChar = 0xFFFD;

// The code point at text[*at], moving *at past it. A byte that does not
// begin a well-formed UTF-8 sequence gives U+FFFD and moves one byte on.
constexpr char32_t NextCodePoint(std::string_view text, std::size_t* at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(*at);
    if (lead < 0x80) {
        ++*at;
        return lead;
    }
    // The length of the sequence, its lead's bits and the range its second
    // byte must lie in (which rules out overlong forms and surrogates).
    int length = 0;
    char32_t c = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        ++*at;
        return kReplacementChar;
    }
    if (*at + static_cast<std::size_t>(length) > text.size() || byte(*at + 1) < low ||
        byte(*at + 1) > high) {
        ++*at;
        return kReplacementChar;
    }
    for (int i = 1; i < length; ++i) {
        unsigned char next = byte(*at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++*at;
            return kReplacementChar;
        }
        c = (c << 6) | (next & 0x3F);
    }
    *at += static_cast<std::size_t>(length);
    return c;
}

// Whether bytes are well-formed UTF-8 throughout.
constexpr bool IsUtf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t start = at;
        if (NextCodePoint(bytes, &at) == kReplacementChar && at == start + 1) {
            return false;
        }
    }
    return true;
}

inline void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 (as the wide Windows calls give it) as UTF-8; a surrogate without
// its pair becomes U+FFFD.
inline std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacementChar;
        }
        AppendUtf8(out, c);
    }
    return out;
}

// UTF-8 as UTF-16, for the wide Windows calls.
inline std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t c = NextCodePoint(text, &at);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

// The small letter of a capital (ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic); the final sigma folds to sigma. Every other character as it is.
constexpr char32_t FoldCase(char32_t c) {
    auto pairEven = [](char32_t x) { return x % 2 == 0 ? x + 1 : x; };
    auto pairOdd = [](char32_t x) { return x % 2 == 1 ? x + 1 : x; };
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    }
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F)) {
        return c + 32;
    }
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
        (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) {
        return pairEven(c);
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE)) {
        return pairOdd(c);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 80;
    }
    if (c >= 0x388 && c <= 0x38A) {
        return c + 37;
    }
    switch (c) {
        case 0x178:
            return 0xFF;
        case 0x386:
            return 0x3AC;
        case 0x38C:
            return 0x3CC;
        case 0x38E:
        case 0x38F:
            return c + 63;
        case 0x3C2:
            return 0x3C3;
        case 0x4C0:
            return 0x4CF;
        default:
            return c;
    }
}

// Whether text begins, at *at, with part, ignoring letter case; on a match
// *at moves past it.
constexpr bool StartsWithText(std::string_view text, std::size_t* at, std::string_view part) {
    std::size_t t = *at;
    std::size_t p = 0;
    while (p < part.size()) {
        if (t >= text.size() ||
            FoldCase(NextCodePoint(text, &t)) != FoldCase(NextCodePoint(part, &p))) {
            return false;
        }
    }
    *at = t;
    return true;
}

// Equal, ignoring letter case.
constexpr bool SameText(std::string_view a, std::string_view b) {
    std::size_t at = 0;
    return StartsWithText(a, &at, b) && at == a.size();
}

// Whether text holds part, ignoring letter case (an empty part always).
constexpr bool ContainsText(std::string_view text, std::string_view part) {
    std::size_t at = 0;
    while (true) {
        std::size_t from = at;
        if (StartsWithText(text, &from, part)) {
            return true;
        }
        if (at >= text.size()) {
            return false;
        }
        NextCodePoint(text, &at);
    }
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
