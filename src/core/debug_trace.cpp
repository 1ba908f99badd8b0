#include "core/debug_trace.h"

#include <cstdio>
#include <cstring>

#include "core/system.h"

namespace rc {

namespace {

constexpr char kPrefix[] = "<Remote Control>  ";
constexpr std::size_t kLineSize = 512;

// Appends text to the line, cutting it where the line is full.
std::size_t Append(char* line, std::size_t used, const char* text) {
    if (text == nullptr) {
        return used;
    }
    std::size_t room = kLineSize - 1 - used;
    std::size_t n = std::strlen(text);
    if (n > room) {
        n = room;
    }
    std::memcpy(line + used, text, n);
    used += n;
    line[used] = '\0';
    return used;
}

void Write(System& sys, const char* line) {
    if (sys.traceOn) {
        sys.os.OutputDebugStringA(line);
    }
}

}  // namespace

void DebugTrace(System& sys, const char* text) {
    char line[kLineSize];
    std::size_t used = Append(line, 0, kPrefix);
    Append(line, used, text);
    Write(sys, line);
}

void DebugTrace(System& sys, const char* text, std::uint32_t value) {
    char line[kLineSize];
    char number[256];
    std::size_t used = Append(line, 0, kPrefix);
    used = Append(line, used, text);
    std::snprintf(number, sizeof number, " (%X)", static_cast<unsigned>(value));
    Append(line, used, number);
    Write(sys, line);
}

}  // namespace rc
