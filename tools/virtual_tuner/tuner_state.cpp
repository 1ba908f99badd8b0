#include "tuner_state.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../common/precise_clock.h"

namespace vt {
namespace {

struct Player {
    bool loaded = false;
    unsigned long seqSeen = 0;
    bool active = false;
    DWORD start = 0;
    unsigned scan = 0;
    unsigned frames = 0;             // frames of the current press
    int lastFrame = -1;              // last frame delivered
    unsigned long long readyUs = 0;  // when the first frame reached the receiver; 0: not known
};

Player g_player;

void StateDir(char* out, size_t size) {
    DWORD n = GetEnvironmentVariableA("VIRTUAL_TUNER_DIR", out, static_cast<DWORD>(size));
    if (n == 0 || n >= size) {
        lstrcpynA(out, "C:\\virtual_tuner", static_cast<int>(size));
    }
}

void StatePath(const char* name, char* out, size_t size) {
    char dir[MAX_PATH];
    StateDir(dir, sizeof dir);
    std::snprintf(out, size, "%s\\%s", dir, name);
}

// Reads a small state file whole; false when it is missing.
bool ReadState(const char* name, char* buffer, size_t size) {
    char path[MAX_PATH];
    StatePath(name, path, sizeof path);
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD got = 0;
    BOOL ok = ReadFile(file, buffer, static_cast<DWORD>(size - 1), &got, nullptr);
    CloseHandle(file);
    buffer[ok ? got : 0] = '\0';
    return ok != FALSE;
}

const char* FamilyName(Family family) {
    switch (family) {
        case Family::kAf9015:
            return "af9015";
        case Family::kIt9135:
            return "it9135";
        case Family::kRtl2832u:
            return "rtl2832u";
    }
    return "?";
}

// The button file: "SEQ SCAN HOLD_MS [AT_US]"; *atUs is 0 without a moment.
bool ReadButton(unsigned long* seq, unsigned* scan, unsigned* holdMs, unsigned long long* atUs) {
    char text[128];
    if (!ReadState("button", text, sizeof text)) {
        return false;
    }
    unsigned long s = 0;
    unsigned c = 0;
    unsigned h = 0;
    unsigned long long at = 0;
    int fields = std::sscanf(text, "%lu %u %u %llu", &s, &c, &h, &at);
    if (fields < 3) {
        return false;
    }
    *seq = s;
    *scan = c & 0xFF;
    *holdMs = h;
    *atUs = fields == 4 ? at : 0;
    return true;
}

}  // namespace

void OnLoad() {
    if (g_player.loaded) {
        return;
    }
    g_player.loaded = true;
    unsigned long seq = 0;
    unsigned scan = 0;
    unsigned hold = 0;
    unsigned long long at = 0;
    if (ReadButton(&seq, &scan, &hold, &at)) {
        g_player.seqSeen = seq;
    }
}

bool IsPlugged(Family family) {
    char text[64];
    if (!ReadState("plugged", text, sizeof text)) {
        return false;
    }
    size_t n = std::strlen(text);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) {
        text[--n] = '\0';
    }
    return std::strcmp(text, FamilyName(family)) == 0;
}

bool MustFail(const char* entryPoint) {
    char text[1024];
    if (!ReadState("fail", text, sizeof text)) {
        return false;
    }
    size_t len = std::strlen(entryPoint);
    for (char* line = text; *line != '\0';) {
        char* end = line + std::strcspn(line, "\r\n");
        if (static_cast<size_t>(end - line) == len && std::strncmp(line, entryPoint, len) == 0) {
            return true;
        }
        line = end + std::strspn(end, "\r\n");
    }
    return false;
}

bool SetupLost() {
    char text[32];
    return ReadState("setup", text, sizeof text) && std::strncmp(text, "lost", 4) == 0;
}

void RestoreSetup() {
    if (!SetupLost()) {
        return;
    }
    char path[MAX_PATH];
    StatePath("setup", path, sizeof path);
    DeleteFileA(path);
    LogCall("IR set-up restored");
}

bool TakeFrame(Family family, std::uint8_t* scan) {
    OnLoad();
    unsigned long seq = 0;
    unsigned code = 0;
    unsigned hold = 0;
    unsigned long long at = 0;
    unsigned long long now = NowUs();
    // A press given a moment stays unseen until then.
    if (ReadButton(&seq, &code, &hold, &at) && seq != g_player.seqSeen && now >= at) {
        g_player.seqSeen = seq;
        g_player.active = true;
        // Frames of a hold are counted from the moment the press reached the receiver.
        g_player.start = GetTickCount() - static_cast<DWORD>(at != 0 ? (now - at) / 1000 : 0);
        g_player.scan = code;
        g_player.frames = hold / kFramePeriodMs + 1;
        g_player.lastFrame = -1;
        g_player.readyUs = at;
    }
    if (!g_player.active) {
        return false;
    }
    if (!IsPlugged(family) || SetupLost()) {
        g_player.active = false;
        return false;
    }
    DWORD elapsed = GetTickCount() - g_player.start;
    unsigned due = elapsed / kFramePeriodMs;
    if (due >= g_player.frames) {
        due = g_player.frames - 1;
    }
    if (static_cast<int>(due) <= g_player.lastFrame) {
        return false;
    }
    g_player.lastFrame = static_cast<int>(due);
    if (g_player.lastFrame + 1 >= static_cast<int>(g_player.frames)) {
        g_player.active = false;
    }
    *scan = static_cast<std::uint8_t>(g_player.scan);
    char line[160];
    int n = std::snprintf(line, sizeof line, "%s frame %u/%u scan=0x%02X read_us=%llu",
                          FamilyName(family), due + 1, g_player.frames, g_player.scan, now);
    if (g_player.readyUs != 0 && n > 0 && n < static_cast<int>(sizeof line)) {
        std::snprintf(line + n, sizeof line - n, " ready_us=%llu",
                      g_player.readyUs + 1000ULL * kFramePeriodMs * due);
    }
    LogCall(line);
    return true;
}

void LogCall(const char* text) {
    char path[MAX_PATH];
    StatePath("calls.log", path, sizeof path);
    HANDLE file =
        CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    // 100 ns units since 1601 to milliseconds since 1970.
    unsigned long long ms = (t.QuadPart - 116444736000000000ULL) / 10000ULL;
    char line[256];
    int n =
        std::snprintf(line, sizeof line, "t=%llu pid=%lu %s\r\n", ms, GetCurrentProcessId(), text);
    if (n > 0) {
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    }
    CloseHandle(file);
}

int LogResult(const char* entryPoint, int result) {
    char line[128];
    std::snprintf(line, sizeof line, "%s -> %d", entryPoint, result);
    LogCall(line);
    return result;
}

}  // namespace vt
