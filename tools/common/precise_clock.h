// The clock the stand-ins stamp their logs with, so that the virtual tuner's
// frames and the stand-in application's receipts can be set side by side.
#pragma once

#include <windows.h>

// Microseconds since 1970: GetSystemTimePreciseAsFileTime where the system
// has it (Windows 8 and later, Wine), GetSystemTimeAsFileTime (which may move
// in steps of 15.6 ms) otherwise.
inline unsigned long long NowUs() {
    using PreciseFn = void(WINAPI*)(FILETIME*);
    static PreciseFn precise = reinterpret_cast<PreciseFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME ft;
    if (precise != nullptr) {
        precise(&ft);
    } else {
        GetSystemTimeAsFileTime(&ft);
    }
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    // 100 ns units since 1601 to microseconds since 1970.
    return (t.QuadPart - 116444736000000000ULL) / 10ULL;
}
