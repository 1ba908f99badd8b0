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

std::string DecodeFileText(Platform& os, std::string_view bytes, TextEncoding* encoding) {
    TextEncoding found = TextEncoding::kAnsi;
    std::string text;
    if (bytes.starts_with("\xFF\xFE")) {
        found = TextEncoding::kUtf16Le;
        text = DecodeUtf16(bytes.substr(2), false);
    } else if (bytes.starts_with("\xFE\xFF")) {
        found = TextEncoding::kUtf16Be;
        text = DecodeUtf16(bytes.substr(2), true);
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        found = TextEncoding::kUtf8Bom;
        text = CleanUtf8(bytes.substr(3));
    } else if (IsUtf8(bytes)) {
        found = TextEncoding::kUtf8;
        text = std::string(bytes);
    } else {
        text = DecodeAnsi(os, bytes);
    }
    if (encoding != nullptr) {
        *encoding = found;
    }
    return text;
}

std::string_view StripComment(std::string_view value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == ';' && (i == 0 || IsBlank(value[i - 1]))) {
            return Trim(value.substr(0, i));
        }
    }
    return Trim(value);
}

IniLine ReadIniLine(std::string_view line) {
    IniLine read;
    line = Trim(line);
    if (line.empty() || line.front() == ';') {
        return read;
    }
    std::size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos) {
        read.kind = IniLineKind::kSection;
        read.name = Trim(line.substr(1, close - 1));
        return read;
    }
    read.kind = IniLineKind::kEntry;
    std::size_t eq = line.find('=');
    read.name = Trim(line.substr(0, eq));
    if (eq != std::string_view::npos) {
        read.hasEqual = true;
        read.value = Trim(line.substr(eq + 1));
    }
    return read;
}

std::vector<IniSection> SplitSections(std::string_view whole) {
    std::vector<IniSection> sections;
    bool inSection = false;
    std::size_t start = 0;
    while (start < whole.size()) {
        std::size_t end = whole.find_first_of(std::string_view("\n\0", 2), start);
        if (end == std::string_view::npos) {
            end = whole.size();
        }
        std::string_view text = whole.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        IniLine line = ReadIniLine(text);
        if (line.kind == IniLineKind::kSection) {
            sections.push_back({std::string(line.name), {}});
            inSection = true;
            continue;
        }
        if (line.kind == IniLineKind::kSkipped || !inSection) {
            continue;
        }
        std::string entry(line.name);
        if (line.hasEqual) {
            entry += '=';
            entry.append(line.value);
        }
        sections.back().lines.push_back(std::move(entry));
    }
    return sections;
}

}  // namespace rc
