// The Win32 side of the platform seam, run for real (under Wine on Linux):
// the compiled resources, the procedure trampolines, the registry, device
// enumeration, HID setup calls and the system information calls.
//
// The resources are linked into the test program, so the platform loads
// them from here just as RemoteControl.exe loads its own.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file_facts.h"
#include "platform/win32_platform.h"
#include "platform/win_defs.h"
#include "resource.h"
#include "version.h"

namespace rc {
namespace {

Handle ThisInstance() {
    return reinterpret_cast<Handle>(::GetModuleHandleA(nullptr));
}

// ===== Resources ============================================================

// One dialog template, read from the compiled DLGTEMPLATE.
struct DialogItem {
    std::uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    int classAtom = 0;  // 0x80 Button, 0x82 Static, 0x85 ComboBox
    std::string className;
    std::string text;
    int textOrdinal = -1;  // a resource id instead of a text (icons)
};

struct DialogTemplate {
    std::uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    std::string font;
    std::vector<DialogItem> items;
};

class TemplateReader {
  public:
    explicit TemplateReader(const std::uint8_t* p) : p_(p), start_(p) {}
    std::uint16_t Word() {
        std::uint16_t w;
        std::memcpy(&w, p_, 2);
        p_ += 2;
        return w;
    }
    std::uint32_t Dword() {
        std::uint32_t d;
        std::memcpy(&d, p_, 4);
        p_ += 4;
        return d;
    }
    std::string Text() {
        std::string s;
        for (std::uint16_t c = Word(); c != 0; c = Word()) {
            s += static_cast<char>(c);
        }
        return s;
    }
    // A text, or 0xFFFF and an ordinal.
    void TextOrOrdinal(std::string* text, int* ordinal) {
        std::uint16_t first;
        std::memcpy(&first, p_, 2);
        if (first == 0xFFFF) {
            Word();
            *ordinal = Word();
        } else {
            *text = Text();
        }
    }
    void AlignDword() {
        while ((p_ - start_) % 4 != 0) {
            ++p_;
        }
    }
    void Skip(std::size_t n) { p_ += n; }

  private:
    const std::uint8_t* p_;
    const std::uint8_t* start_;
};

DialogTemplate ReadDialog(int id) {
    HRSRC res = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    EXPECT_NE(res, nullptr) << "dialog " << id;
    DialogTemplate t;
    if (res == nullptr) {
        return t;
    }
    const auto* data =
        static_cast<const std::uint8_t*>(::LockResource(::LoadResource(nullptr, res)));
    TemplateReader r(data);
    t.style = r.Dword();
    r.Dword();  // extended style
    const int count = r.Word();
    t.x = static_cast<std::int16_t>(r.Word());
    t.y = static_cast<std::int16_t>(r.Word());
    t.cx = r.Word();
    t.cy = r.Word();
    std::string menu;
    int menuOrdinal = -1;
    r.TextOrOrdinal(&menu, &menuOrdinal);
    std::string cls;
    int clsOrdinal = -1;
    r.TextOrOrdinal(&cls, &clsOrdinal);
    t.caption = r.Text();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        t.font = r.Text();
    }
    for (int i = 0; i < count; ++i) {
        r.AlignDword();
        DialogItem item;
        item.style = r.Dword();
        r.Dword();  // extended style
        item.x = static_cast<std::int16_t>(r.Word());
        item.y = static_cast<std::int16_t>(r.Word());
        item.cx = r.Word();
        item.cy = r.Word();
        item.id = static_cast<std::int16_t>(r.Word());
        r.TextOrOrdinal(&item.className, &item.classAtom);
        r.TextOrOrdinal(&item.text, &item.textOrdinal);
        r.Skip(r.Word());  // creation data
        t.items.push_back(item);
    }
    return t;
}

constexpr int kButton = 0x80;
constexpr int kStatic = 0x82;
constexpr int kComboBox = 0x85;
constexpr std::uint32_t kDialogStyle =
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// The control's class, whichever way the template names it.
bool IsClass(const DialogItem& item, int atom, const char* name) {
    return item.classAtom == atom || _stricmp(item.className.c_str(), name) == 0;
}

void ExpectRect(const DialogItem& item, int x, int y, int cx, int cy) {
    EXPECT_EQ(item.x, x) << item.text;
    EXPECT_EQ(item.y, y) << item.text;
    EXPECT_EQ(item.cx, cx) << item.text;
    EXPECT_EQ(item.cy, cy) << item.text;
}

void ExpectStaticIcon(const DialogItem& item, int iconId, int x, int y) {
    EXPECT_TRUE(IsClass(item, kStatic, "Static"));
    EXPECT_EQ(item.style & SS_TYPEMASK, static_cast<std::uint32_t>(SS_ICON));
    EXPECT_EQ(item.textOrdinal, iconId);
    EXPECT_EQ(item.id, -1);
    ExpectRect(item, x, y, 20, 20);
}

void ExpectText(const DialogItem& item, const char* text, int x, int y, int cx, int cy) {
    EXPECT_TRUE(IsClass(item, kStatic, "Static"));
    EXPECT_EQ(item.style & SS_TYPEMASK, static_cast<std::uint32_t>(SS_LEFT));
    EXPECT_EQ(item.text, text);
    EXPECT_EQ(item.id, -1);
    ExpectRect(item, x, y, cx, cy);
}

void ExpectButton(const DialogItem& item, std::uint32_t kind, int id, const char* text, int x,
                  int y, int cx, int cy) {
    EXPECT_TRUE(IsClass(item, kButton, "Button"));
    EXPECT_EQ(item.style & BS_TYPEMASK, kind) << text;
    EXPECT_EQ(item.id, id);
    EXPECT_EQ(item.text, text);
    EXPECT_EQ(item.style & WS_DISABLED, 0u) << text;
    ExpectRect(item, x, y, cx, cy);
}

TEST(Win32Resources, StringsNameTheWindowAndItsClass) {
    Win32Platform platform(ThisInstance());
    char buffer[100] = {};
    EXPECT_EQ(platform.LoadStringA(IDS_TITLE, buffer, sizeof buffer), 14);
    EXPECT_STREQ(buffer, "Remote Control");
    EXPECT_EQ(platform.LoadStringA(IDS_CLASS, buffer, sizeof buffer), 14);
    EXPECT_STREQ(buffer, "Remote Control");
}

TEST(Win32Resources, AcceleratorsAreAltCharacterKeys) {
    Win32Platform platform(ThisInstance());
    const Handle table = platform.LoadAcceleratorsA(IDR_ACCELERATORS);
    ASSERT_NE(table, 0u);
    ACCEL entries[4] = {};
    ASSERT_EQ(::CopyAcceleratorTableA(reinterpret_cast<HACCEL>(table), entries, 4), 2);
    // Characters, not virtual keys: FVIRTKEY must be clear.
    EXPECT_EQ(entries[0].fVirt, FALT | FNOINVERT);
    EXPECT_EQ(entries[0].key, '/');
    EXPECT_EQ(entries[0].cmd, 30);
    EXPECT_EQ(entries[1].fVirt, FALT | FNOINVERT);
    EXPECT_EQ(entries[1].key, '?');
    EXPECT_EQ(entries[1].cmd, 32);
}

TEST(Win32Resources, IconsComeIn16And32And48Pixels) {
    Win32Platform platform(ThisInstance());
    for (int id : {IDI_REMOTE, IDI_SHUTDOWN}) {
        EXPECT_NE(platform.LoadIconA(id), 0u) << id;
        HRSRC res = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));
        ASSERT_NE(res, nullptr) << id;  // RT_GROUP_ICON
        const auto* dir =
            static_cast<const std::uint8_t*>(::LockResource(::LoadResource(nullptr, res)));
        std::uint16_t count;
        std::memcpy(&count, dir + 4, 2);
        std::vector<int> sizes;
        for (int i = 0; i < count; ++i) {
            sizes.push_back(dir[6 + 14 * i]);  // GRPICONDIRENTRY.bWidth
        }
        EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48})) << id;
        for (int size : {16, 32, 48}) {
            HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                       IMAGE_ICON, size, size, 0);
            EXPECT_NE(icon, nullptr) << id << " at " << size;
            if (icon != nullptr) {
                ::DestroyIcon(static_cast<HICON>(icon));
            }
        }
    }
}

TEST(Win32Resources, SettingDialogLayout) {
    const DialogTemplate t = ReadDialog(IDD_SETTING);
    EXPECT_EQ(t.style & kDialogStyle, kDialogStyle);
    EXPECT_EQ(t.caption, "Remote Control - Setting");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.font, "Arial");
    EXPECT_EQ(t.cx, 197);
    EXPECT_EQ(t.cy, 117);
    ASSERT_EQ(t.items.size(), 6u);
    ExpectButton(t.items[0], BS_DEFPUSHBUTTON, IDOK, "OK", 78, 89, 40, 15);
    ExpectText(t.items[1],
               "Select the application you want to launch when pressing power key on remote "
               "controller",
               20, 45, 160, 16);
    ExpectStaticIcon(t.items[2], IDI_REMOTE, 7, 7);
    const DialogItem& combo = t.items[3];
    EXPECT_TRUE(IsClass(combo, kComboBox, "ComboBox"));
    EXPECT_EQ(combo.id, IDC_APP_LIST);
    EXPECT_EQ(combo.style & 3u, static_cast<std::uint32_t>(CBS_DROPDOWNLIST));
    EXPECT_NE(combo.style & WS_VSCROLL, 0u);
    EXPECT_EQ(combo.style & WS_DISABLED, 0u);  // the user may choose the application
    ExpectRect(combo, 23, 74, 148, 69);
    ExpectButton(t.items[4], BS_AUTOCHECKBOX, IDC_AUTO_LAUNCH,
                 "Auto-detection device launch application", 31, 13, 155, 10);
    ExpectButton(t.items[5], BS_GROUPBOX, -1, "Setting", 7, 30, 179, 80);
}

TEST(Win32Resources, AboutDialogLayout) {
    const DialogTemplate t = ReadDialog(IDD_ABOUT);
    EXPECT_EQ(t.style & kDialogStyle, kDialogStyle);
    EXPECT_EQ(t.caption, "Remote Control - About");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.font, "Arial");
    EXPECT_EQ(t.x, 22);
    EXPECT_EQ(t.y, 17);
    EXPECT_EQ(t.cx, 250);
    EXPECT_EQ(t.cy, 45);
    ASSERT_EQ(t.items.size(), 4u);
    ExpectStaticIcon(t.items[0], IDI_REMOTE, 10, 10);
    char version[64];
    std::snprintf(version, sizeof version, "Remote Control Utility V%d, %d, %d, %d",
                  RC_VERSION_MAJOR, RC_VERSION_MINOR, RC_VERSION_PATCH, RC_VERSION_BUILD);
    ExpectText(t.items[1], version, 40, 10, 155, 10);
    EXPECT_NE(t.items[1].style & SS_NOPREFIX, 0u);
    EXPECT_TRUE(IsClass(t.items[2], kStatic, "Static"));
    EXPECT_FALSE(t.items[2].text.empty());
    ExpectRect(t.items[2], 40, 25, 165, 10);
    ExpectButton(t.items[3], BS_DEFPUSHBUTTON, IDOK, "OK", 197, 7, 35, 15);
}

TEST(Win32Resources, ShutDownDialogLayout) {
    const DialogTemplate t = ReadDialog(IDD_SHUTDOWN);
    EXPECT_EQ(t.style, kDialogStyle);
    EXPECT_EQ(t.caption, "Remote Control - Shut Down");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.font, "Arial");
    EXPECT_EQ(t.cx, 200);
    EXPECT_EQ(t.cy, 60);
    ASSERT_EQ(t.items.size(), 4u);
    ExpectButton(t.items[0], BS_DEFPUSHBUTTON, IDOK, "OK", 50, 40, 40, 14);
    ExpectButton(t.items[1], BS_PUSHBUTTON, IDCANCEL, "Cancel", 115, 40, 40, 14);
    ExpectText(t.items[2],
               "Press \"Power\" to shut down your computer, or any other key to cancel.", 40, 12,
               145, 20);
    ExpectStaticIcon(t.items[3], IDI_SHUTDOWN, 12, 12);
}

TEST(Win32Resources, AddAProgramDialogLayout) {
    const DialogTemplate t = ReadDialog(IDD_PICK_PROGRAM);
    EXPECT_EQ(t.style, kDialogStyle | DS_CENTER);
    EXPECT_EQ(t.caption, "Add a program");
    ASSERT_EQ(t.items.size(), 4u);
    EXPECT_TRUE(IsClass(t.items[0], kStatic, "Static"));
    const DialogItem& list = t.items[1];
    EXPECT_EQ(_stricmp(list.className.c_str(), "SysListView32"), 0);
    EXPECT_EQ(list.id, IDC_PROGRAM_LIST);
    const std::uint32_t listStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
    EXPECT_EQ(list.style & listStyle, listStyle);
    ExpectButton(t.items[2], BS_DEFPUSHBUTTON, IDOK, "Add", 209, 175, 50, 14);
    ExpectButton(t.items[3], BS_PUSHBUTTON, IDCANCEL, "Cancel", 263, 175, 50, 14);
}

// What Explorer shows in the file's properties and in Programs and Features.
TEST(Win32Resources, VersionInformationNamesTheProductAndItsVersion) {
    char path[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    std::vector<char> info(::GetFileVersionInfoSizeA(path, nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(::GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(RC_VERSION_MINOR, RC_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(RC_VERSION_BUILD, RC_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    auto text = [&](const char* name) {
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!::VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value),
                              &size)) {
            return std::string("(missing)");
        }
        return std::string(value);
    };
    char version[32];
    std::snprintf(version, sizeof version, "%d.%d.%d.%d", RC_VERSION_MAJOR, RC_VERSION_MINOR,
                  RC_VERSION_PATCH, RC_VERSION_BUILD);
    EXPECT_EQ(text("FileVersion"), version);
    EXPECT_EQ(text("ProductVersion"), version);
    EXPECT_EQ(text("ProductName"), "Remote Control");
    EXPECT_EQ(text("CompanyName"), "Orvalix Multimedia");
    EXPECT_EQ(text("OriginalFilename"), "RemoteControl.exe");
    EXPECT_EQ(text("LegalCopyright"), "Copyright (c) 2026 Orvalix Multimedia");
    EXPECT_EQ(text("FileDescription"), "Remote Control");  // Task Manager's name of it
}

// Visual styles and DPI awareness; Windows Vista and 7 as the only known
// systems (GetVersionExA must go on reporting what it does); and no asked-for
// execution level, so that a standard user's settings stay virtualised.
TEST(Win32Resources, ManifestAsksForVisualStylesAndDpiAwarenessOnly) {
    HRSRC res = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(res, nullptr);  // RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID
    const std::string manifest(
        static_cast<const char*>(::LockResource(::LoadResource(nullptr, res))),
        ::SizeofResource(nullptr, res));
    auto count = [&](const std::string& what) {
        int n = 0;
        for (auto at = manifest.find(what); at != std::string::npos;
             at = manifest.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), 1)
        << manifest;
    EXPECT_EQ(count(">true</dpiAware>"), 1);
    EXPECT_EQ(count("<supportedOS "), 2);
    EXPECT_EQ(count("<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>"), 1);  // Vista
    EXPECT_EQ(count("<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>"), 1);  // 7
    EXPECT_EQ(count("<trustInfo"), 0);
    EXPECT_EQ(count("<requestedExecutionLevel"), 0);
}

// ===== Procedure trampolines ================================================

struct Seen {
    std::vector<std::uint32_t> messages;
    std::vector<void*> contexts;
    std::vector<Hwnd> windows;
    std::vector<std::intptr_t> lParams;
};

std::intptr_t RecordingWndProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                               std::intptr_t lParam) {
    auto* seen = static_cast<Seen*>(ctx);
    seen->messages.push_back(msg);
    seen->contexts.push_back(ctx);
    seen->windows.push_back(hwnd);
    return ::DefWindowProcA(reinterpret_cast<HWND>(hwnd), msg, wParam, lParam);
}

bool Contains(const std::vector<std::uint32_t>& v, std::uint32_t x) {
    for (auto e : v) {
        if (e == x) {
            return true;
        }
    }
    return false;
}

TEST(Win32Trampolines, MainWindowProcedureGetsItsContext) {
    Win32Platform platform(ThisInstance());
    Seen seen;
    ASSERT_TRUE(
        platform.RegisterMainClass("rc test main window", IDI_REMOTE, RecordingWndProc, &seen));
    const Hwnd hwnd = platform.CreateMainWindow("rc test main window", "rc test");
    ASSERT_NE(hwnd, 0u);
    EXPECT_TRUE(Contains(seen.messages, win::kWmCreate));  // ran inside the creation call
    EXPECT_FALSE(platform.IsWindowVisible(hwnd));

    seen = {};
    platform.SendMessageA(hwnd, win::kWmUser + 5, 1, 2);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0], win::kWmUser + 5);
    EXPECT_EQ(seen.contexts[0], &seen);
    EXPECT_EQ(seen.windows[0], hwnd);

    char name[64] = {};
    EXPECT_GT(platform.GetClassNameA(hwnd, name, sizeof name), 0);
    EXPECT_STREQ(name, "rc test main window");
    EXPECT_EQ(platform.FindWindowA("rc test main window", nullptr), hwnd);
    EXPECT_EQ(platform.GetWindowThreadProcessId(hwnd), platform.GetCurrentThreadId());
    EXPECT_EQ(platform.GetWindowThreadProcessId(0), 0u);
    std::uint32_t process = platform.GetWindowProcessId(hwnd);
    EXPECT_NE(process, 0u);
    EXPECT_EQ(platform.GetWindowProcessId(0), 0u);
    char16_t image[260] = {};
    EXPECT_GT(platform.GetProcessImageNameW(process, image, 260), 0);
    EXPECT_NE(std::u16string(image).find(u".exe"), std::u16string::npos);
    EXPECT_EQ(platform.GetProcessImageNameW(process, image, 4), 0);
    // The wide calls. (In its own process GetWindowTextW asks the window's
    // procedure, an ANSI one here, so a title outside the code page is
    // checked on another process's window, in e2e_user_apps_unicode.)
    ::DefWindowProcW(reinterpret_cast<HWND>(hwnd), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(L"Player"));
    char16_t title[16] = {};
    EXPECT_EQ(platform.GetWindowTextW(hwnd, title, 16), 6);
    EXPECT_EQ(std::u16string(title), u"Player");
    char16_t className[64] = {};
    EXPECT_GT(platform.GetClassNameW(hwnd, className, 64), 0);
    EXPECT_EQ(std::u16string(className), u"rc test main window");
    // Found at run time (Windows 7 and later, and Wine).
    EXPECT_TRUE(platform.ChangeWindowMessageFilterEx(
        hwnd, platform.RegisterWindowMessageA("TaskbarCreated"), win::kMsgFltAllow));
    EXPECT_TRUE(platform.DestroyWindow(hwnd));
    EXPECT_FALSE(platform.IsWindow(hwnd));
}

struct TimerLog {
    Win32Platform* platform;
    std::vector<std::pair<Hwnd, std::uintptr_t>> fired;
};

void OneShotTimer(void* ctx, Hwnd hwnd, std::uintptr_t id) {
    auto* log = static_cast<TimerLog*>(ctx);
    log->fired.push_back({hwnd, id});
    log->platform->KillTimer(hwnd, id);
}

std::intptr_t PlainWndProc(void*, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                           std::intptr_t lParam) {
    return ::DefWindowProcA(reinterpret_cast<HWND>(hwnd), msg, wParam, lParam);
}

TEST(Win32Trampolines, TimersReachTheirOwnCallbackAndContext) {
    Win32Platform platform(ThisInstance());
    ASSERT_TRUE(
        platform.RegisterMainClass("rc test timer window", IDI_REMOTE, PlainWndProc, nullptr));
    const Hwnd first = platform.CreateMainWindow("rc test timer window", "first");
    const Hwnd second = platform.CreateMainWindow("rc test timer window", "second");
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);

    TimerLog a{&platform, {}};
    TimerLog b{&platform, {}};
    // The same id on two windows, and a second id on the first window.
    EXPECT_EQ(platform.SetTimer(first, 1, 1, OneShotTimer, &a), 1u);
    EXPECT_EQ(platform.SetTimer(second, 1, 1, OneShotTimer, &b), 1u);
    EXPECT_EQ(platform.SetTimer(first, 3, 1, OneShotTimer, &b), 3u);
    MSG msg;
    while (a.fired.size() + b.fired.size() < 3 && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&msg);
    }
    ASSERT_EQ(a.fired.size(), 1u);
    EXPECT_EQ(a.fired[0], std::make_pair(first, std::uintptr_t{1}));
    ASSERT_EQ(b.fired.size(), 2u);
    EXPECT_TRUE((b.fired[0] == std::make_pair(second, std::uintptr_t{1}) &&
                 b.fired[1] == std::make_pair(first, std::uintptr_t{3})) ||
                (b.fired[1] == std::make_pair(second, std::uintptr_t{1}) &&
                 b.fired[0] == std::make_pair(first, std::uintptr_t{3})));
    // Killed from their callbacks: killing again fails.
    EXPECT_FALSE(platform.KillTimer(first, 1));
    platform.DestroyWindow(first);
    platform.DestroyWindow(second);
}

// Dialog procedures: the outer dialog opens a nested one once it runs.
struct DialogLog {
    Win32Platform* platform = nullptr;
    std::vector<std::uint32_t> messages;
    std::intptr_t initLParam = -1;
    std::intptr_t nestedResult = 0;
    bool comboEnabled = false;
    std::intptr_t comboSelection = -1;
    std::intptr_t okTextLength = -1;
};
constexpr std::uint32_t kWmApp = 0x8000;

std::intptr_t InnerDialog(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t, std::intptr_t) {
    auto* log = static_cast<DialogLog*>(ctx);
    log->messages.push_back(msg);
    if (msg == win::kWmInitDialog) {
        log->okTextLength = log->platform->SendDlgItemMessageA(dlg, IDOK, WM_GETTEXTLENGTH, 0, 0);
        log->platform->PostMessageA(dlg, kWmApp, 0, 0);
        return 1;
    }
    if (msg == kWmApp) {
        log->platform->EndDialog(dlg, 7);
        return 1;
    }
    return 0;
}

std::intptr_t OuterDialog(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t,
                          std::intptr_t lParam) {
    auto* log = static_cast<DialogLog*>(ctx);
    log->messages.push_back(msg);
    if (msg == win::kWmInitDialog) {
        log->initLParam = lParam;
        Win32Platform& os = *log->platform;
        HWND combo = ::GetDlgItem(reinterpret_cast<HWND>(dlg), IDC_APP_LIST);
        log->comboEnabled = combo != nullptr && ::IsWindowEnabled(combo);
        os.SendDlgItemMessageA(dlg, IDC_APP_LIST, win::kCbAddString, 0,
                               reinterpret_cast<std::intptr_t>("Pallamo"));
        os.SendDlgItemMessageA(dlg, IDC_APP_LIST, win::kCbAddString, 0,
                               reinterpret_cast<std::intptr_t>("TotalMedia"));
        os.SendDlgItemMessageA(dlg, IDC_APP_LIST, win::kCbSetCurSel, 1, 0);
        log->comboSelection = os.SendDlgItemMessageA(dlg, IDC_APP_LIST, win::kCbGetCurSel, 0, 0);
        os.PostMessageA(dlg, kWmApp, 0, 0);
        return 1;
    }
    if (msg == kWmApp) {
        DialogLog inner;
        inner.platform = log->platform;
        log->nestedResult = log->platform->DialogBoxParamA(IDD_SHUTDOWN, dlg, InnerDialog, &inner);
        EXPECT_EQ(inner.messages.front(), win::kWmInitDialog);
        EXPECT_EQ(inner.okTextLength, 2);  // "OK"
        log->platform->EndDialog(dlg, 9);
        return 1;
    }
    return 0;
}

TEST(Win32Trampolines, DialogsNestAndKeepTheirContexts) {
    Win32Platform platform(ThisInstance());
    DialogLog outer;
    outer.platform = &platform;
    EXPECT_EQ(platform.DialogBoxParamA(IDD_SETTING, 0, OuterDialog, &outer), 9);
    ASSERT_FALSE(outer.messages.empty());
    // Nothing before WM_INITDIALOG reaches the procedure.
    EXPECT_EQ(outer.messages.front(), win::kWmInitDialog);
    EXPECT_EQ(outer.initLParam, 0);
    EXPECT_EQ(outer.nestedResult, 7);
    EXPECT_TRUE(outer.comboEnabled);
    EXPECT_EQ(outer.comboSelection, 1);
}

// The on-screen display's panel: a hidden window of its class with the
// extended styles asked, its text set through the wide call, shown without
// taking the activation.
TEST(Win32Trampolines, TextPanelKeepsItsStylesAndWideText) {
    Win32Platform platform(ThisInstance());
    const std::uint32_t styles = win::kWsExLayered | win::kWsExTransparent | win::kWsExNoActivate |
                                 win::kWsExToolWindow | win::kWsExTopmost;
    const Hwnd panel = platform.CreateTextPanel("rc test panel", styles, 0);
    ASSERT_NE(panel, 0u);
    const Hwnd second = platform.CreateTextPanel("rc test panel", styles, 0);  // class kept
    EXPECT_NE(second, 0u);
    ::DestroyWindow(reinterpret_cast<HWND>(second));
    EXPECT_EQ(
        static_cast<std::uint32_t>(::GetWindowLongA(reinterpret_cast<HWND>(panel), GWL_EXSTYLE)) &
            styles,
        styles);
    EXPECT_FALSE(platform.IsWindowVisible(panel));
    const std::u16string line = u"Volume up \u2192 VLC";
    EXPECT_TRUE(platform.SetWindowTextW(panel, line.c_str()));
    char16_t back[64] = {};
    EXPECT_EQ(platform.GetWindowTextW(panel, back, 64), static_cast<int>(line.size()));
    EXPECT_EQ(std::u16string(back), line);
    EXPECT_TRUE(platform.SetLayeredWindowAttributes(panel, 0, 200, win::kLwaAlpha));
    EXPECT_GT(platform.MeasurePanelText(line.c_str(), 60),
              platform.MeasurePanelText(line.c_str(), 30));
    Rect work{};
    ASSERT_TRUE(platform.GetMonitorWorkArea(0, &work));
    EXPECT_GT(work.right - work.left, 0);
    EXPECT_GT(work.bottom - work.top, 0);

    const Hwnd before = platform.GetForegroundWindow();
    platform.SetWindowPos(panel, win::kHwndTopmost, 10, 10, 200, 60, win::kSwpNoActivate);
    platform.ShowWindow(panel, win::kSwShowNoActivate);
    EXPECT_TRUE(platform.IsWindowVisible(panel));
    EXPECT_EQ(platform.GetForegroundWindow(), before);
    ::DestroyWindow(reinterpret_cast<HWND>(panel));
}

TEST(Win32Trampolines, TheKeyMapsControlsTakeItemsSelectionsAndChords) {
    Win32Platform platform(ThisInstance());
    Seen seen;
    ASSERT_TRUE(platform.InitCommonControlsEx(win::kIccListViewClasses | win::kIccHotkeyClass));
    ASSERT_TRUE(
        platform.RegisterWindowClass("rc test controls", IDI_REMOTE, RecordingWndProc, &seen));
    const Hwnd window =
        platform.CreateWindowExA(win::kWsExControlParent, "rc test controls", "rc test",
                                 win::kWsOverlappedWindow, 0, 0, 400, 300, 0, 0);
    ASSERT_NE(window, 0u);
    const std::uint32_t child = win::kWsChild | win::kWsVisible;
    const Hwnd combo = platform.CreateWindowExA(0, "COMBOBOX", "", child | win::kCbsDropDownList, 0,
                                                0, 100, 200, window, 10);
    EXPECT_EQ(platform.SendMessageTextW(combo, win::kCbAddString, 0, u"keys"), 0);
    EXPECT_EQ(platform.SendMessageTextW(combo, win::kCbAddString, 0, u"M\u00e9dia"), 1);
    EXPECT_EQ(platform.SendMessageA(combo, win::kCbGetCount, 0, 0), 2);

    const Hwnd list = platform.CreateWindowExA(0, "SysListView32", "", child | win::kLvsReport, 0,
                                               0, 200, 200, window, 11);
    platform.ListViewInsertColumnW(list, 0, u"Button", 100);
    for (int i = 0; i < 3; ++i) {
        platform.ListViewInsertItemW(list, i, u"row");
    }
    const auto selected = [&] {
        return platform.SendMessageA(list, win::kLvmGetNextItem, static_cast<std::uintptr_t>(-1),
                                     win::kLvniSelected);
    };
    EXPECT_EQ(selected(), -1);
    seen = {};
    EXPECT_TRUE(platform.ListViewSelectItem(list, 1));
    EXPECT_EQ(selected(), 1);
    EXPECT_TRUE(Contains(seen.messages, win::kWmNotify)) << "the parent hears of it";
    EXPECT_TRUE(platform.ListViewSelectItem(list, -1));
    EXPECT_EQ(selected(), -1);

    const Hwnd hotkey =
        platform.CreateWindowExA(0, "msctls_hotkey32", "", child, 0, 0, 100, 20, window, 12);
    ASSERT_NE(hotkey, 0u);
    const std::uintptr_t chord = 'P' | ((win::kHotkeyfControl | win::kHotkeyfShift) << 8);
    platform.SendMessageA(hotkey, win::kHkmSetHotkey, chord, 0);
    EXPECT_EQ(platform.SendMessageA(hotkey, win::kHkmGetHotkey, 0, 0) & 0xFFFF,
              static_cast<std::intptr_t>(chord));

    MINMAXINFO info{};
    EXPECT_TRUE(platform.SetMinTrackSize(reinterpret_cast<std::intptr_t>(&info), 760, 480));
    EXPECT_EQ(info.ptMinTrackSize.x, 760);
    EXPECT_EQ(info.ptMinTrackSize.y, 480);
    EXPECT_FALSE(platform.SetMinTrackSize(0, 1, 1));
    EXPECT_TRUE(platform.DestroyWindow(window));
}

// "Add a program" for real: its list view found by id, given a small image
// list with a window's icon (a window without one of its own shows the
// class's, then the system's generic one), and a row shown with it.
struct PickerLog {
    Win32Platform* platform;
    Hwnd tool;
    bool filled = false;
};

std::intptr_t PickerCheckDialog(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t,
                                std::intptr_t) {
    auto* log = static_cast<PickerLog*>(ctx);
    if (msg != win::kWmInitDialog) {
        return 0;
    }
    Win32Platform& platform = *log->platform;
    const Hwnd list = platform.GetDlgItem(dlg, IDC_PROGRAM_LIST);
    EXPECT_NE(list, 0u);
    EXPECT_EQ(platform.GetDlgItem(dlg, 4242), 0u);
    const Handle images = platform.ImageList_Create(16, 16, win::kIlcColor32 | win::kIlcMask, 1, 4);
    EXPECT_NE(images, 0u);
    platform.SendMessageA(list, win::kLvmSetImageList, win::kLvsilSmall,
                          static_cast<std::intptr_t>(images));
    const Handle icon = platform.GetWindowSmallIcon(log->tool);
    EXPECT_NE(icon, 0u);
    EXPECT_EQ(platform.ImageList_ReplaceIcon(images, -1, icon), 0);
    EXPECT_EQ(platform.ListViewInsertItemW(list, 0, u"Player"), 0);
    EXPECT_TRUE(platform.ListViewSetItemImage(list, 0, 0));
    EXPECT_FALSE(platform.ListViewSetItemImage(list, 5, 0));
    EXPECT_TRUE(platform.ListViewSelectItem(list, 0));
    EXPECT_EQ(platform.SendMessageA(list, win::kLvmGetNextItem, static_cast<std::uintptr_t>(-1),
                                    win::kLvniSelected),
              0);
    log->filled = true;
    platform.EndDialog(dlg, win::kIdOk);
    return 1;
}

TEST(Win32Picking, WindowStylesIconsAndTheAddAProgramDialog) {
    Win32Platform platform(ThisInstance());
    ASSERT_TRUE(platform.InitCommonControlsEx(win::kIccListViewClasses));
    // A class with the program's icon, and a tool window of it.
    ASSERT_TRUE(platform.RegisterWindowClass("rc test picked", IDI_REMOTE, PlainWndProc, nullptr));
    const Hwnd tool = platform.CreateWindowExA(win::kWsExToolWindow, "rc test picked", "Tools", 0,
                                               0, 0, 50, 50, 0, 0);
    ASSERT_NE(tool, 0u);
    EXPECT_NE(platform.GetWindowLongA(tool, win::kGwlExStyle) & win::kWsExToolWindow, 0u);
    EXPECT_EQ(platform.GetWindowLongA(0, win::kGwlExStyle), 0u);
    EXPECT_FALSE(platform.IsWindowCloaked(tool));
    // Without an icon of its own: its class's (or one the system makes of it).
    EXPECT_NE(platform.GetWindowSmallIcon(tool), 0u);
    // A window's own icon comes first.
    HICON own = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION
    ::SendMessageA(reinterpret_cast<HWND>(tool), WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(own));
    EXPECT_EQ(platform.GetWindowSmallIcon(tool), reinterpret_cast<Handle>(own));

    PickerLog log{&platform, tool};
    EXPECT_EQ(platform.DialogBoxParamA(IDD_PICK_PROGRAM, 0, PickerCheckDialog, &log), win::kIdOk);
    EXPECT_TRUE(log.filled);
    ::DestroyWindow(reinterpret_cast<HWND>(tool));
}

TEST(Win32Trampolines, MissingDialogTemplateFails) {
    Win32Platform platform(ThisInstance());
    DialogLog log;
    log.platform = &platform;
    EXPECT_EQ(platform.DialogBoxParamA(999, 0, OuterDialog, &log), -1);
    EXPECT_TRUE(log.messages.empty());
}

// ===== Registry =============================================================

constexpr const char* kTestKey = "SOFTWARE\\Remote Control Tests";

class Win32Registry : public ::testing::Test {
  protected:
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    }
    Win32Platform platform{ThisInstance()};
};

TEST_F(Win32Registry, ValuesRoundTripUnderTheMachineRoot) {
    // The root is passed as the 32-bit predefined value, as the system does.
    Handle key = 0;
    ASSERT_EQ(platform.RegCreateKeyExA(win::kHkeyLocalMachine, kTestKey, win::kKeyAllAccess, &key),
              win::kErrorSuccess);
    ASSERT_NE(key, 0u);
    const std::uint32_t nine = 9;
    EXPECT_EQ(platform.RegSetValueExA(key, "DefaultTVAPP", win::kRegDword,
                                      reinterpret_cast<const std::uint8_t*>(&nine), 4),
              win::kErrorSuccess);
    EXPECT_EQ(platform.RegFlushKey(key), win::kErrorSuccess);
    EXPECT_EQ(platform.RegCloseKey(key), win::kErrorSuccess);

    key = 0;
    ASSERT_EQ(platform.RegOpenKeyExA(win::kHkeyLocalMachine, kTestKey, win::kKeyAllAccess, &key),
              win::kErrorSuccess);
    std::uint32_t type = 0, value = 0, size = 4;
    EXPECT_EQ(platform.RegQueryValueExA(key, "DefaultTVAPP", &type,
                                        reinterpret_cast<std::uint8_t*>(&value), &size),
              win::kErrorSuccess);
    EXPECT_EQ(type, win::kRegDword);
    EXPECT_EQ(value, 9u);
    EXPECT_EQ(size, 4u);
    platform.RegCloseKey(key);

    key = 0;
    ASSERT_EQ(platform.RegOpenKeyExA(win::kHkeyLocalMachine, kTestKey, win::kKeyRead, &key),
              win::kErrorSuccess);
    EXPECT_NE(key, 0u);
    platform.RegCloseKey(key);
}

TEST_F(Win32Registry, OversizedAndMissingValues) {
    Handle key = 0;
    ASSERT_EQ(platform.RegCreateKeyExA(win::kHkeyLocalMachine, kTestKey, win::kKeyAllAccess, &key),
              win::kErrorSuccess);
    const std::uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    platform.RegSetValueExA(key, "Wide", win::kRegBinary, eight, 8);
    std::uint32_t type = 0, value = 0xAAAAAAAA, size = 4;
    EXPECT_EQ(platform.RegQueryValueExA(key, "Wide", &type, reinterpret_cast<std::uint8_t*>(&value),
                                        &size),
              win::kErrorMoreData);
    EXPECT_EQ(value, 0xAAAAAAAAu);  // the buffer is left alone
    size = 4;
    EXPECT_EQ(platform.RegQueryValueExA(key, "Missing", &type,
                                        reinterpret_cast<std::uint8_t*>(&value), &size),
              win::kErrorFileNotFound);
    platform.RegCloseKey(key);

    Handle none = 0;
    EXPECT_EQ(platform.RegOpenKeyExA(win::kHkeyLocalMachine, "SOFTWARE\\Remote Control Tests\\No",
                                     win::kKeyAllAccess, &none),
              win::kErrorFileNotFound);
    EXPECT_EQ(none, 0u);
}

TEST_F(Win32Registry, SubkeysAreEnumeratedByIndex) {
    Handle key = 0, child = 0;
    ASSERT_EQ(
        platform.RegCreateKeyExA(win::kHkeyLocalMachine, "SOFTWARE\\Remote Control Tests\\Alpha",
                                 win::kKeyAllAccess, &child),
        win::kErrorSuccess);
    platform.RegCloseKey(child);
    ASSERT_EQ(platform.RegOpenKeyExA(win::kHkeyLocalMachine, kTestKey, win::kKeyAllAccess, &key),
              win::kErrorSuccess);
    char name[64] = {};
    std::uint32_t nameSize = sizeof name;
    EXPECT_EQ(platform.RegEnumKeyExA(key, 0, name, &nameSize), win::kErrorSuccess);
    EXPECT_STREQ(name, "Alpha");
    EXPECT_EQ(nameSize, 5u);
    nameSize = 3;  // too small for "Alpha"
    EXPECT_NE(platform.RegEnumKeyExA(key, 0, name, &nameSize), win::kErrorSuccess);
    nameSize = sizeof name;
    EXPECT_EQ(platform.RegEnumKeyExA(key, 1, name, &nameSize), win::kErrorNoMoreItems);
    platform.RegCloseKey(key);
}

// ===== DirectShow device enumeration =========================================

// A category of our own, with Wine's Null Renderer registered in it under a
// tuner-like friendly name.
constexpr Guid kTestCategory = {
    0x5c7a3e10, 0x2b4d, 0x4f3a, {0x9a, 0x61, 0x0d, 0x3e, 0x55, 0x21, 0x7c, 0x42}};
constexpr const char* kTestCategoryKey = "CLSID\\{5C7A3E10-2B4D-4F3A-9A61-0D3E55217C42}";
constexpr Guid kEmptyCategory = {
    0x5c7a3e11, 0x2b4d, 0x4f3a, {0x9a, 0x61, 0x0d, 0x3e, 0x55, 0x21, 0x7c, 0x42}};

class Win32DeviceEnumeration : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.CoInitialize();
        const std::string instance = std::string(kTestCategoryKey) + "\\Instance\\RcTestTuner";
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, instance.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        SetString(key, "FriendlyName", "Remote Control Test Tuner");
        SetString(key, "CLSID", "{C1F400A4-3F08-11D3-9F0B-006008039E37}");
        ::RegCloseKey(key);
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kTestCategoryKey);
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kTestCategoryKey);
        platform.CoUninitialize();
    }
    static void SetString(HKEY key, const char* name, const char* text) {
        ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         static_cast<DWORD>(std::strlen(text) + 1));
    }
    Win32Platform platform{ThisInstance()};
};

TEST_F(Win32DeviceEnumeration, FilterIsFoundByItsFriendlyNameAndBinds) {
    const Handle category = platform.OpenDeviceCategory(kTestCategory);
    ASSERT_NE(category, 0u);
    const Handle moniker = platform.NextDeviceMoniker(category);
    ASSERT_NE(moniker, 0u);
    char name[128];
    EXPECT_TRUE(platform.ReadFriendlyName(moniker, name, sizeof name));
    EXPECT_STREQ(name, "Remote Control Test Tuner");
    // A short buffer gets the name cut and terminated.
    char shortName[7];
    std::memset(shortName, 'x', sizeof shortName);
    EXPECT_TRUE(platform.ReadFriendlyName(moniker, shortName, sizeof shortName));
    EXPECT_STREQ(shortName, "Remote");
    const Handle filter = platform.BindFilter(moniker);
    EXPECT_NE(filter, 0u);
    platform.ReleaseFilterObject(filter);
    platform.ReleaseMoniker(moniker);
    EXPECT_EQ(platform.NextDeviceMoniker(category), 0u);  // the only device
    platform.ReleaseDeviceCategory(category);
}

TEST_F(Win32DeviceEnumeration, ADeviceWithoutATextNameHasNone) {
    // Beside the tuner: one device without a name, one whose name is a number.
    const std::string instances = std::string(kTestCategoryKey) + "\\Instance\\";
    for (const char* device : {"RcTestNoName", "RcTestNumber"}) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, (instances + device).c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        SetString(key, "CLSID", "{C1F400A4-3F08-11D3-9F0B-006008039E37}");
        if (device[6] == 'u') {
            const DWORD number = 7;
            ::RegSetValueExA(key, "FriendlyName", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof number);
        }
        ::RegCloseKey(key);
    }
    const Handle category = platform.OpenDeviceCategory(kTestCategory);
    ASSERT_NE(category, 0u);
    std::vector<std::string> names;
    int devices = 0;
    while (const Handle moniker = platform.NextDeviceMoniker(category)) {
        ++devices;
        char name[128];
        std::memset(name, 'x', sizeof name);
        if (platform.ReadFriendlyName(moniker, name, sizeof name)) {
            names.push_back(name);
        } else {
            EXPECT_STREQ(name, "") << "no name, no text";
        }
        platform.ReleaseMoniker(moniker);
    }
    platform.ReleaseDeviceCategory(category);
    EXPECT_EQ(devices, 3);
    EXPECT_EQ(names, std::vector<std::string>{"Remote Control Test Tuner"});
}

TEST_F(Win32DeviceEnumeration, EmptyCategoryGivesNoEnumerator) {
    EXPECT_EQ(platform.OpenDeviceCategory(kEmptyCategory), 0u);
}

// ===== Device setup and HID ===================================================

TEST(Win32Hid, InterfacesOfTheHidClassGiveTheirPaths) {
    Win32Platform platform(ThisInstance());
    Guid hid{};
    platform.HidD_GetHidGuid(&hid);
    const Guid expected = {
        0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
    EXPECT_EQ(hid, expected);

    const Handle set =
        platform.SetupDiGetClassDevsA(hid, win::kDigcfPresent | win::kDigcfDeviceInterface);
    ASSERT_NE(set, kInvalidHandle);
    std::uint32_t index = 0;
    for (; platform.SetupDiEnumDeviceInterfaces(set, hid, index); ++index) {
        const std::uint32_t size = platform.GetDeviceInterfaceDetailSize(set, hid, index);
        ASSERT_GT(size, 5u);
        std::vector<std::uint64_t> storage(size / 8 + 1);  // aligned
        char path[512];
        ASSERT_TRUE(platform.GetDeviceInterfaceDetail(set, hid, index, storage.data(), size, path,
                                                      sizeof path));
        EXPECT_EQ(std::string(path).rfind("\\\\?\\", 0), 0u) << path;
        // A short path buffer gets the path cut and terminated.
        char shortPath[8];
        ASSERT_TRUE(platform.GetDeviceInterfaceDetail(set, hid, index, storage.data(), size,
                                                      shortPath, sizeof shortPath));
        EXPECT_EQ(std::string(shortPath), std::string(path).substr(0, 7));

        const Handle device = platform.CreateFileA(path, 0, 3, win::kOpenExisting, 0);
        if (device != kInvalidHandle) {
            Handle preparsed = 0;
            if (platform.HidD_GetPreparsedData(device, &preparsed)) {
                HidCaps caps{};
                EXPECT_EQ(platform.HidP_GetCaps(preparsed, &caps), win::kHidpStatusSuccess);
                EXPECT_NE(caps.usagePage, 0u);
                EXPECT_TRUE(platform.HidD_FreePreparsedData(preparsed));
            }
            platform.CloseHandle(device);
        }
    }
    // Wine offers a virtual mouse and keyboard; a Windows PC has its own.
    EXPECT_GT(index, 0u) << "no HID interface to look at";
    // Past the last interface every query fails cleanly.
    EXPECT_EQ(platform.GetDeviceInterfaceDetailSize(set, hid, index), 0u);
    std::uint64_t storage[64];
    char path[64] = "unchanged";
    EXPECT_FALSE(platform.GetDeviceInterfaceDetail(set, hid, index, storage, sizeof storage, path,
                                                   sizeof path));
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(platform.SetupDiDestroyDeviceInfoList(set));
}

TEST(Win32Hid, DetailRecordTooSmallIsRefused) {
    Win32Platform platform(ThisInstance());
    Guid hid{};
    platform.HidD_GetHidGuid(&hid);
    const Handle set =
        platform.SetupDiGetClassDevsA(hid, win::kDigcfPresent | win::kDigcfDeviceInterface);
    ASSERT_NE(set, kInvalidHandle);
    std::uint32_t word = 0;
    char path[16];
    EXPECT_FALSE(platform.GetDeviceInterfaceDetail(set, hid, 0, &word, 2, path, sizeof path));
    EXPECT_FALSE(platform.GetDeviceInterfaceDetail(set, hid, 0, nullptr, 64, path, sizeof path));
    platform.SetupDiDestroyDeviceInfoList(set);
    EXPECT_EQ(platform.CreateFileA("\\\\?\\no-such-device", 0, 3, win::kOpenExisting, 0),
              kInvalidHandle);
}

// ===== System information, files, privileges, libraries =======================

TEST(Win32System, VersionIsReportedBothWays) {
    Win32Platform platform(ThisInstance());
    OsVersion basic{}, extended{};
    ASSERT_TRUE(platform.GetVersionExA(&basic, false));
    ASSERT_TRUE(platform.GetVersionExA(&extended, true));
    EXPECT_EQ(basic.platformId, win::kVerPlatformWin32Nt);
    EXPECT_GE(basic.major, 5u);
    EXPECT_EQ(basic.major, extended.major);
    EXPECT_EQ(basic.minor, extended.minor);
    EXPECT_EQ(basic.build, extended.build);
}

TEST(Win32System, FilesAreTestedForExistence) {
    Win32Platform platform(ThisInstance());
    char windows[MAX_PATH] = {};
    const std::uint32_t length = platform.GetWindowsDirectoryA(windows, sizeof windows);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(length, std::strlen(windows));
    const std::string kernel = std::string(windows) + "\\system32\\kernel32.dll";
    EXPECT_EQ(platform.GetFileAttributesA(kernel.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(platform.GetFileAttributesA(windows) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(platform.GetFileAttributesA((std::string(windows) + "\\no such file.exe").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST(Win32System, TheKeyMapFileAndTheUsersFolder) {
    Win32Platform platform(ThisInstance());
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH, folder), 0u);
    std::u16string dir(reinterpret_cast<const char16_t*>(folder));
    const std::u16string path = dir + test::kFileName;
    const auto* widePath = reinterpret_cast<const wchar_t*>(path.c_str());
    FILE* file = ::_wfopen(widePath, L"wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(test::kFileBytes.data(), 1, test::kFileBytes.size(), file);
    std::fclose(file);
    test::CheckFileFacts(platform, path, dir + u"rc_missing.ini");

    // Held open without sharing (an editor saving it): a sharing violation.
    HANDLE held = ::CreateFileW(widePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::uint8_t buffer[64];
    std::uint32_t read = 99;
    EXPECT_EQ(platform.ReadWholeFileW(path.c_str(), buffer, sizeof buffer, &read),
              static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(read, 0u);
    ::CloseHandle(held);
    ::DeleteFileW(widePath);

    test::CheckWriteFacts(platform, dir.substr(0, dir.size() - 1));  // without its backslash
    // Held open without sharing its deletion (a reader of another program).
    held = ::CreateFileW(widePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::uint8_t bytes[] = {'x'};
    const std::uint32_t error = platform.WriteWholeFileW(path.c_str(), bytes, 1);
    EXPECT_TRUE(error == static_cast<std::uint32_t>(ERROR_ACCESS_DENIED) ||
                error == static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION))
        << error;
    ::CloseHandle(held);
    EXPECT_EQ(platform.ReadWholeFileW(path.c_str(), buffer, sizeof buffer, &read), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), read), "[Two]\r\n") << "as it was";
    FileInfo info{};
    EXPECT_FALSE(platform.GetFileAttributesExW((path + u".new").c_str(), &info));
    ::DeleteFileW(widePath);

    char temp[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
    const std::string source = std::string(temp) + "rc_copy_source.ini";
    FILE* plain = std::fopen(source.c_str(), "wb");
    ASSERT_NE(plain, nullptr);
    std::fwrite(test::kFileBytes.data(), 1, test::kFileBytes.size(), plain);
    std::fclose(plain);
    const std::string copies = std::string(temp) + "rc_copy_facts";
    ::CreateDirectoryA(copies.c_str(), nullptr);
    test::CheckFolderAndCopyFacts(platform, copies, source);
    std::remove((copies + "\\sub\\copy.ini").c_str());
    ::RemoveDirectoryA((copies + "\\sub").c_str());
    ::RemoveDirectoryA(copies.c_str());
    std::remove(source.c_str());

    char appData[MAX_PATH] = {};
    EXPECT_EQ(platform.SHGetFolderPathA(win::kCsidlAppData, appData), 0);
    EXPECT_NE(std::strlen(appData), 0u);
    EXPECT_NE(platform.MapVirtualKeyA('A', win::kMapVkVkToVsc), 0u);
    char16_t converted[4] = {};
    EXPECT_EQ(platform.MultiByteToWideChar(win::kCpAcp, "ab", 2, converted, 4), 2);
    EXPECT_EQ(std::u16string(converted), u"ab");
}

TEST(Win32System, ShutdownPrivilegeCanBeAsked) {
    Win32Platform platform(ThisInstance());
    Handle token = 0;
    ASSERT_TRUE(platform.OpenProcessToken(&token));
    ASSERT_NE(token, 0u);
    const std::uint32_t error = platform.AdjustShutdownPrivilege(token);
    EXPECT_TRUE(error == ERROR_SUCCESS || error == ERROR_NOT_ALL_ASSIGNED) << error;
    EXPECT_TRUE(platform.CloseHandle(token));
}

TEST(Win32System, LibrariesAndEntryPoints) {
    Win32Platform platform(ThisInstance());
    const Handle kernel = platform.LoadLibraryA("kernel32.dll");
    ASSERT_NE(kernel, 0u);
    EXPECT_NE(platform.GetProcAddress(kernel, "GetTickCount"), nullptr);
    EXPECT_EQ(platform.GetProcAddress(kernel, "NoSuchEntryPoint"), nullptr);
    EXPECT_EQ(platform.LoadLibraryA("af15bdaex_missing.dll"), 0u);
    EXPECT_TRUE(platform.SetDllDirectoryA(""));
    EXPECT_TRUE(platform.SetDllDirectoryA(nullptr));  // the usual search again
}

// The Open dialog for real: a thread of the test answers it as a person
// would, with Enter (the name shown, in the folder given) or Esc.
struct OpenDialogAnswer {
    WPARAM button;
    bool answered = false;
};

BOOL CALLBACK FindOpenDialog(HWND hwnd, LPARAM lParam) {
    char name[16] = {};
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) &&
        ::GetClassNameA(hwnd, name, sizeof name) > 0 && std::strcmp(name, "#32770") == 0) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI AnswerOpenDialog(void* context) {
    auto* answer = static_cast<OpenDialogAnswer*>(context);
    for (int i = 0; i < 200; ++i) {
        HWND dialog = nullptr;
        ::EnumWindows(FindOpenDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog != nullptr) {
            ::Sleep(300);
            ::PostMessageA(dialog, WM_COMMAND, answer->button, 0);
            answer->answered = true;
            return 0;
        }
        ::Sleep(50);
    }
    return 0;
}

bool RunOpenDialog(Win32Platform& platform, WPARAM button, const std::u16string& folder,
                   char16_t* file, std::uint32_t fileMax) {
    OpenDialogAnswer answer{button};
    HANDLE thread = ::CreateThread(nullptr, 0, AnswerOpenDialog, &answer, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    const bool chosen = platform.GetOpenFileNameW(
        0, u"Programs (*.exe)\0*.exe\0All files (*.*)\0*.*\0", folder.c_str(),
        win::kOfnFileMustExist | win::kOfnPathMustExist | win::kOfnNoChangeDir | win::kOfnExplorer,
        file, fileMax);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    EXPECT_TRUE(answer.answered);
    return chosen;
}

TEST(Win32System, TheOpenDialogGivesTheChosenFileOrNothing) {
    Win32Platform platform(ThisInstance());
    wchar_t self[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const std::u16string path(reinterpret_cast<const char16_t*>(self));
    const std::size_t slash = path.find_last_of(u'\\');
    ASSERT_NE(slash, std::u16string::npos);
    const std::u16string folder = path.substr(0, slash);
    const std::u16string name = path.substr(slash + 1);
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);

    char16_t file[MAX_PATH] = {};
    name.copy(file, name.size());
    ASSERT_TRUE(RunOpenDialog(platform, IDOK, folder, file, MAX_PATH));
    EXPECT_EQ(_wcsicmp(reinterpret_cast<const wchar_t*>(file), self), 0);
    // OFN_NOCHANGEDIR: the current folder stays.
    wchar_t after[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(std::wcscmp(current, after), 0);

    EXPECT_FALSE(RunOpenDialog(platform, IDCANCEL, folder, file, MAX_PATH));
}

TEST(Win32System, MenusAreBuiltAndDestroyed) {
    Win32Platform platform(ThisInstance());
    const Handle menu = platform.CreatePopupMenu();
    ASSERT_NE(menu, 0u);
    EXPECT_TRUE(platform.AppendMenuA(menu, win::kMfString, 30, "About"));
    EXPECT_TRUE(platform.AppendMenuA(menu, win::kMfSeparator, 0, nullptr));
    EXPECT_TRUE(platform.AppendMenuA(menu, win::kMfChecked, 1109, "Lumetra Center"));
    EXPECT_EQ(::GetMenuItemCount(reinterpret_cast<HMENU>(menu)), 3);
    EXPECT_EQ(::GetMenuState(reinterpret_cast<HMENU>(menu), 1109, MF_BYCOMMAND) & MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
    EXPECT_TRUE(platform.DestroyMenu(menu));
}

// The tests run at the console (under Wine, every process is in the console's
// session): the program's own check that it may use the receiver.
TEST(Win32System, ThisProcessIsInTheConsolesSessionAndHearsItsEvents) {
    Win32Platform platform(ThisInstance());
    ASSERT_TRUE(
        platform.RegisterMainClass("rc test session window", IDI_REMOTE, PlainWndProc, nullptr));
    const Hwnd window = platform.CreateMainWindow("rc test session window", "sessions");
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(platform.WTSRegisterSessionNotification(window, win::kNotifyForThisSession));
    std::uint32_t session = 0xFFFFFFFF;
    ASSERT_TRUE(platform.ProcessIdToSessionId(platform.GetCurrentProcessId(), &session));
    EXPECT_EQ(session, platform.WTSGetActiveConsoleSessionId());
    EXPECT_EQ(platform.GetSystemMetrics(win::kSmRemoteSession), 0);
    // Wine's stub reports a failure here (the program ignores the result).
    platform.WTSUnRegisterSessionNotification(window);
    platform.DestroyWindow(window);
}

}  // namespace
}  // namespace rc
