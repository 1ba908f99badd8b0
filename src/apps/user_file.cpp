#include "apps/user_file.h"

#include "core/text.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Utf16ToUtf8(units);
}

// Through the system's ANSI code page (CP_ACP); a byte it can't convert
// leaves the whole text as Latin-1, which loses nothing of ASCII.
std::string DecodeAnsi(Platform& os, std::string_view bytes) {
    std::u16string units(bytes.size(), u'\0');
    int length = static_cast<int>(bytes.size());
    int count = os.MultiByteToWideChar(win::kCpAcp, bytes.data(), length, units.data(), length);
    if (count <= 0) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            units[i] = static_cast<unsigned char>(bytes[i]);
        }
        count = length;
    }
    units.resize(static_cast<std::size_t>(count));
    return Utf16ToUtf8(units);
}

// The well-formed UTF-8 of bytes that were said to be UTF-8 (a byte-order mark).
std::string CleanUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        AppendUtf8(text, NextCodePoint(bytes, &at));
    }
    return text;
}

}  // namespace

std::string DecodeFileText(Platform& os, std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return DecodeUtf16(bytes.substr(2), false);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return DecodeUtf16(bytes.substr(2), true);
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return CleanUtf8(bytes.substr(3));
    }
    if (IsUtf8(bytes)) {
        return std::string(bytes);
    }
    return DecodeAnsi(os, bytes);
}

std::vector<IniSection> SplitSections(std::string_view text) {
    std::vector<IniSection> sections;
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(std::string_view("\n\0", 2), start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = Trim(line);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        std::size_t close = line.rfind(']');
        if (line.front() == '[' && close != std::string_view::npos) {
            sections.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
            inSection = true;
            continue;
        }
        if (!inSection) {
            continue;
        }
        std::size_t eq = line.find('=');
        std::string entry(Trim(line.substr(0, eq)));
        if (eq != std::string_view::npos) {
            entry += '=';
            entry.append(Trim(line.substr(eq + 1)));
        }
        sections.back().lines.push_back(std::move(entry));
    }
    return sections;
}

}  // namespace rc
