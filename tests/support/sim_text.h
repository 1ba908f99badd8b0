// Text helpers the parts of the simulated desktop share.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace rc::sim {

inline std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// Names as Windows compares them: case-insensitively.
inline bool SameText(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

// A string argument of a call, null read as empty.
inline std::string Text(const char* text) {
    return text ? std::string(text) : std::string();
}

// Copies text into a buffer of max bytes, truncating and terminating as the
// Windows string functions do; gives the number of characters copied.
inline int CopyTruncated(const std::string& text, char* buffer, int max) {
    if (!buffer || max <= 0) {
        return 0;
    }
    int n = std::min(static_cast<int>(text.size()), max - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

}  // namespace rc::sim
