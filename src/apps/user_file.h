// The applications file as people save it, read with a reader of our own.
//
// Windows' profile API reads an ini file through the ANSI code page: it
// takes a UTF-8 byte-order mark for text of the first line (so the first
// section is lost), and its A calls turn every letter outside the code page
// into '?'. So the file is read whole, decoded here, and cut into sections
// and lines here, with the profile API's meaning: lines whose first
// non-blank is ';' and blank lines are dropped, "[name]" starts a section,
// lines before the first section belong to none, keys and values are
// trimmed of blanks. What a line means is user_apps.cpp's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace rc {

// How the file was saved; the Key maps dialog writes it back the same way.
enum class TextEncoding : std::uint8_t {
    kAnsi,     // the system's ANSI code page, no mark
    kUtf8,     // UTF-8 without a byte-order mark
    kUtf8Bom,  // UTF-8 with EF BB BF
    kUtf16Le,  // FF FE, as Notepad's "Unicode"
    kUtf16Be,  // FE FF
};

// The file's bytes as UTF-8. Notepad saves UTF-16 LE ("Unicode", byte-order
// mark FF FE), UTF-8 with a byte-order mark (EF BB BF, before Windows 10
// 1903) or without one, or ANSI; UTF-16 BE (FE FF) is read too. Bytes that
// are well-formed UTF-8 are read as UTF-8 (kUtf8, ASCII alone included),
// others as text in the system's ANSI code page (kAnsi). Broken sequences
// become U+FFFD; an odd last byte of UTF-16 is dropped. encoding, when
// given, says which of them the bytes were.
std::string DecodeFileText(Platform& os, std::string_view bytes, TextEncoding* encoding = nullptr);

// Windows keeps what follows a ';' inside a line: a ';' at the start of a
// value or after a blank begins a comment. The value before it, trimmed.
std::string_view StripComment(std::string_view value);

// What one line of the file is (without its line end: LF, CR LF or NUL).
enum class IniLineKind : std::uint8_t {
    kSkipped,  // blank, or a comment (first non-blank ';')
    kSection,  // "[name]"
    kEntry,    // "key=value", or a line without '='
};
struct IniLine {
    IniLineKind kind = IniLineKind::kSkipped;
    std::string_view name;   // kSection: between '[' and the last ']', trimmed; kEntry: the key
    std::string_view value;  // kEntry: what follows the first '=', trimmed (comment included)
    bool hasEqual = false;   // kEntry: the line has a '='
};
IniLine ReadIniLine(std::string_view line);

struct IniSection {
    std::string name;                // between '[' and the last ']', trimmed
    std::vector<std::string> lines;  // "key=value" trimmed around both, or the line without '='
};

// The sections of a decoded file in file order, with duplicates. Lines end
// at LF, CR LF or a NUL.
std::vector<IniSection> SplitSections(std::string_view text);

}  // namespace rc
