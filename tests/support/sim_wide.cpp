// The wide-character calls and the key-map file's reading: titles, classes
// and executable paths in any script, files read whole, the ANSI code page,
// and the refusals of User Interface Privilege Isolation.
#include <algorithm>
#include <iterator>
#include <string>

#include "core/text.h"
#include "platform/win_defs.h"
#include "support/sim_desktop.h"
#include "support/sim_desktop_state.h"
#include "support/sim_text.h"

namespace rc {

using sim::Lower;

namespace {

// Copies text as UTF-16 into a buffer of max characters, cut and ended as
// the W calls do; gives the characters copied.
int CopyWide(const std::string& utf8, char16_t* buffer, int max) {
    if (buffer == nullptr || max <= 0) {
        return 0;
    }
    std::u16string text = Utf8ToUtf16(utf8);
    int n = std::min(static_cast<int>(text.size()), max - 1);
    std::copy_n(text.begin(), n, buffer);
    buffer[n] = u'\0';
    return n;
}

std::string Narrow(const char16_t* text) {
    return text ? Utf16ToUtf8(text) : std::string();
}

// Windows-1252 at 0x80-0x9F; the other bytes are their own code points. The
// five bytes it leaves undefined map to the control characters of their
// value, as MultiByteToWideChar maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void SimDesktop::SetWindowElevated(Hwnd hwnd) {
    elevatedWindows_.push_back(hwnd);
}

bool SimDesktop::WindowElevated(Hwnd hwnd) const {
    return std::find(elevatedWindows_.begin(), elevatedWindows_.end(), hwnd) !=
           elevatedWindows_.end();
}

long SimDesktop::SHGetFolderPathW(int csidl, char16_t* path) {
    char narrow[win::kMaxPath];
    long result = SHGetFolderPathA(csidl, narrow);
    if (result != 0 || CopyWide(narrow, path, static_cast<int>(win::kMaxPath)) !=
                           static_cast<int>(Utf8ToUtf16(narrow).size())) {
        path[0] = u'\0';
        return result != 0 ? result : static_cast<long>(0x80004005u);
    }
    return 0;
}

bool SimDesktop::GetFileAttributesExW(const char16_t* path, FileInfo* info) {
    return path != nullptr && GetFileAttributesExA(Narrow(path).c_str(), info);
}

std::uint32_t SimDesktop::ReadWholeFileW(const char16_t* path, std::uint8_t* buffer,
                                         std::uint32_t size, std::uint32_t* read) {
    *read = 0;
    auto it = path ? s_->textFiles.find(Lower(Narrow(path))) : s_->textFiles.end();
    if (it == s_->textFiles.end()) {
        return static_cast<std::uint32_t>(win::kErrorFileNotFound);
    }
    if (fileReadError != 0) {
        return fileReadError;
    }
    const std::string& bytes = it->second.text;
    *read = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), size));
    std::copy_n(bytes.begin(), *read, buffer);
    return 0;
}

int SimDesktop::MultiByteToWideChar(std::uint32_t codePage, const char* text, int length,
                                    char16_t* out, int outMax) {
    if (codePage != win::kCpAcp || text == nullptr || length < 0 || outMax < length) {
        lastError_ = 122;  // ERROR_INSUFFICIENT_BUFFER, or a case not simulated
        return 0;
    }
    for (int i = 0; i < length; ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        out[i] = byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte;
    }
    return length;
}

int SimDesktop::WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int length,
                                    char* out, int outMax, bool* usedDefaultChar) {
    *usedDefaultChar = false;
    if (codePage != win::kCpAcp || text == nullptr || length < 0 ||
        (outMax != 0 && outMax < length)) {
        lastError_ = 122;  // ERROR_INSUFFICIENT_BUFFER, or a case not simulated
        return 0;
    }
    if (outMax == 0) {
        return length;  // one byte a character
    }
    for (int i = 0; i < length; ++i) {
        const char16_t c = text[i];
        const char16_t* high = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out[i] = static_cast<char>(c);
        } else if (high != std::end(kCp1252High)) {
            out[i] = static_cast<char>(0x80 + (high - kCp1252High));
        } else {
            out[i] = '?';
            *usedDefaultChar = true;
        }
    }
    return length;
}

int SimDesktop::GetWindowTextW(Hwnd hwnd, char16_t* buffer, int bufferMax) {
    if (auto c = s_->controls.find(hwnd); c != s_->controls.end()) {
        return CopyWide(c->second.text, buffer, bufferMax);
    }
    const auto* w = s_->FindWin(hwnd);
    return CopyWide(w ? w->title : std::string(), buffer, bufferMax);
}

int SimDesktop::GetClassNameW(Hwnd hwnd, char16_t* buffer, int bufferMax) {
    if (hwnd == sim::kDesktop) {
        return CopyWide("#32769", buffer, bufferMax);
    }
    const auto* w = s_->FindWin(hwnd);
    return w ? CopyWide(w->className, buffer, bufferMax) : 0;
}

int SimDesktop::GetProcessImageNameW(std::uint32_t processId, char16_t* buffer, int bufferMax) {
    auto it = s_->processImages.find(processId);
    if (it == s_->processImages.end() || bufferMax <= 0 ||
        Utf8ToUtf16(it->second).size() >= static_cast<std::size_t>(bufferMax)) {
        return 0;
    }
    return CopyWide(it->second, buffer, bufferMax);
}

std::intptr_t SimDesktop::ShellExecuteW(Hwnd owner, const char16_t* verb, const char16_t* file,
                                        const char16_t* parameters, const char16_t* directory,
                                        int showCmd) {
    return ShellExecuteA(owner, Narrow(verb).c_str(), Narrow(file).c_str(),
                         parameters ? Narrow(parameters).c_str() : nullptr,
                         directory ? Narrow(directory).c_str() : nullptr, showCmd);
}

std::uint32_t SimDesktop::GetLastError() {
    return lastError_;
}

std::uint32_t SimDesktop::SendInput(const KeyInput* inputs, std::uint32_t count) {
    if (!elevated && WindowElevated(GetForegroundWindow())) {
        lastError_ = static_cast<std::uint32_t>(win::kErrorAccessDenied);
        return 0;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        auto& e = log_.Add(SimEvent::Kind::KeybdEvent);
        e.a = inputs[i].vk;
        e.b = inputs[i].flags;
    }
    return count;
}

}  // namespace rc
