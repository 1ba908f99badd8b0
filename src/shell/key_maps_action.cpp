// The Key maps dialog's action panel: the selected button's action in the
// controls of its kind, and those controls read back into the document.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "apps/key_names.h"
#include "apps/user_apps.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"
#include "shell/key_maps.h"
#include "shell/program_picker.h"

namespace rc {

namespace {

using C = KeyMapsControl;
using K = KeyMapsKind;

constexpr const char* kKindNames[] = {"keys",  "appcommand", "command", "post",
                                      "close", "launch",     "none",    "(default)"};
constexpr char16_t kTitleW[] = u"Key maps";

// The controls each kind shows; the others are hidden.
constexpr C kKeysControls[] = {C::kChordLabel, C::kChord, C::kOtherLabel, C::kOther,
                               C::kCtrl,       C::kShift, C::kAlt,        C::kWin};
constexpr C kAppCommandControls[] = {C::kAppCommandLabel, C::kAppCommand};
constexpr C kCommandControls[] = {C::kIdLabel, C::kId};
constexpr C kPostControls[] = {C::kMessageLabel, C::kMessage,     C::kWParamLabel,
                               C::kWParam,       C::kLParamLabel, C::kLParam};
constexpr C kLaunchControls[] = {C::kFileLabel, C::kFile, C::kBrowse, C::kArgumentsLabel,
                                 C::kArguments};

// The modifiers' check boxes, their keys and the hotkey control's flags.
struct Modifier {
    C box;
    std::uint8_t vk;
    std::uint32_t hotkeyFlag;
};
constexpr Modifier kModifiers[] = {
    {C::kCtrl, win::kVkControl, win::kHotkeyfControl},
    {C::kShift, win::kVkShift, win::kHotkeyfShift},
    {C::kAlt, win::kVkMenu, win::kHotkeyfAlt},
    {C::kWin, 0x5B, 0},
};

int Selection(System& sys, C control) {
    return static_cast<int>(sys.os.SendMessageA(KeyMapsCtl(sys, control), win::kCbGetCurSel, 0, 0));
}

void Select(System& sys, C control, int index) {
    sys.os.SendMessageA(KeyMapsCtl(sys, control), win::kCbSetCurSel,
                        static_cast<std::uintptr_t>(index), 0);
}

bool Checked(System& sys, C control) {
    return sys.os.SendMessageA(KeyMapsCtl(sys, control), win::kBmGetCheck, 0, 0) ==
           static_cast<std::intptr_t>(win::kBstChecked);
}

void Check(System& sys, C control, bool on) {
    sys.os.SendMessageA(KeyMapsCtl(sys, control), win::kBmSetCheck,
                        on ? win::kBstChecked : win::kBstUnchecked, 0);
}

// A number as the file writes it: decimal, or hexadecimal after 0x.
std::optional<std::uint32_t> NumberOf(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : 99;
        if (digit >= base) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    if (value > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// Keys the hotkey control shows as extended ones (the arrows, Insert...).
bool IsExtendedKey(std::uint32_t vk) {
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E || vk == 0x6F || vk == 0x5D;
}

bool IsModifier(std::uint8_t vk) {
    for (const Modifier& m : kModifiers) {
        if (m.vk == vk) {
            return true;
        }
    }
    return vk == 0x5C;  // the right Win key
}

std::uint16_t Button(const KeyMapsDialog& d) {
    return static_cast<std::uint16_t>(kNamedButton + d.buttons[static_cast<std::size_t>(d.row)]);
}

void ShowKind(System& sys, int kind) {
    auto show = [&](const auto& controls, K k) {
        for (C c : controls) {
            sys.os.ShowWindow(KeyMapsCtl(sys, c),
                              kind == static_cast<int>(k) ? win::kSwShow : win::kSwHide);
        }
    };
    show(kKeysControls, K::kKeys);
    show(kAppCommandControls, K::kAppCommand);
    show(kCommandControls, K::kCommand);
    show(kPostControls, K::kPost);
    show(kLaunchControls, K::kLaunch);
}

// The hotkey control's modifiers follow the check boxes.
void ShowChordModifiers(System& sys) {
    const auto hotkey = static_cast<std::uint32_t>(
        sys.os.SendMessageA(KeyMapsCtl(sys, C::kChord), win::kHkmGetHotkey, 0, 0));
    const std::uint32_t vk = hotkey & 0xFF;
    if (vk == 0) {
        return;
    }
    std::uint32_t flags = IsExtendedKey(vk) ? win::kHotkeyfExt : 0;
    for (const Modifier& m : kModifiers) {
        flags |= Checked(sys, m.box) ? m.hotkeyFlag : 0;
    }
    sys.os.SendMessageA(KeyMapsCtl(sys, C::kChord), win::kHkmSetHotkey, vk | (flags << 8), 0);
}

// The chord of the keys panel: the checked modifiers in press order, then
// the key of the hotkey control or else the other key chosen. False
// without a key.
bool ReadChord(System& sys, UserAction* action) {
    std::uint32_t vk =
        sys.os.SendMessageA(KeyMapsCtl(sys, C::kChord), win::kHkmGetHotkey, 0, 0) & 0xFF;
    if (vk == 0) {
        if (const int other = Selection(sys, C::kOther); other > 0) {
            OtherKeyAt(other - 1, &vk);
        }
    }
    if (vk == 0) {
        return false;
    }
    action->kind = UserActionKind::kKeys;
    action->keyCount = 0;
    for (const Modifier& m : kModifiers) {
        if (Checked(sys, m.box)) {
            action->keys[action->keyCount++] = m.vk;
        }
    }
    action->keys[action->keyCount++] = static_cast<std::uint8_t>(vk);
    return true;
}

// The action the panel makes for its kind: nullopt in *action for the
// default. False when it makes none yet (keys without a key, an empty id).
bool ReadAction(System& sys, std::optional<UserAction>* action) {
    const int kind = Selection(sys, C::kKind);
    UserAction a;
    switch (static_cast<K>(kind)) {
        case K::kKeys:
            if (!ReadChord(sys, &a)) {
                return false;
            }
            break;
        case K::kAppCommand: {
            const int index = Selection(sys, C::kAppCommand);
            if (index < 0 || AppCommandNameAt(index, &a.message).empty()) {
                return false;
            }
            a.kind = UserActionKind::kAppCommand;
            break;
        }
        case K::kCommand: {
            const auto id = NumberOf(KeyMapsText(sys, C::kId));
            if (!id || *id > 0xFFFF) {  // a menu command's id is 16 bits
                return false;
            }
            a.kind = UserActionKind::kCommand;
            a.message = *id;
            break;
        }
        case K::kPost: {
            const auto message = NumberOf(KeyMapsText(sys, C::kMessage));
            const std::string wText = KeyMapsText(sys, C::kWParam);
            const std::string lText = KeyMapsText(sys, C::kLParam);
            const auto wParam = wText.empty() ? std::optional<std::uint32_t>(0) : NumberOf(wText);
            const auto lParam = lText.empty() ? std::optional<std::uint32_t>(0) : NumberOf(lText);
            if (!message || !wParam || !lParam) {
                return false;
            }
            a.kind = UserActionKind::kPost;
            a.message = *message;
            a.wParam = *wParam;
            a.lParam = *lParam;
            break;
        }
        case K::kClose:
            a.kind = UserActionKind::kClose;
            break;
        case K::kLaunch:
            a.file = KeyMapsText(sys, C::kFile);
            if (a.file.empty()) {
                return false;
            }
            a.kind = UserActionKind::kLaunch;
            a.parameters = KeyMapsText(sys, C::kArguments);
            if (FormatUserAction(a).size() > kMaxUserValue) {
                return false;  // longer than a value the program reads
            }
            break;
        case K::kNone:
            a.kind = UserActionKind::kNone;
            break;
        case K::kDefault:
            *action = std::nullopt;
            return true;
        default:
            return false;
    }
    *action = a;
    return true;
}

// The panel's action into the document, when it makes one and it differs
// from the line.
void ApplyAction(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    std::optional<UserAction> action;
    if (!ReadAction(sys, &action)) {
        return;
    }
    const ButtonLine line = ButtonLineOf(d.file.doc, d.section, Button(d), sys.nIRKEYType);
    if (action ? line.present && line.value == FormatUserAction(*action) : !line.present) {
        return;
    }
    SetButtonAction(d.file.doc, d.section, Button(d), sys.nIRKEYType, action);
    MarkKeyMapsUnsaved(sys);
    ShowKeyMapsRow(sys, d.row);
}

// The keys of a chord in the panel: the modifiers' boxes, and the key in
// the hotkey control or, for a key it can't show, in the other keys' list.
void ShowChord(System& sys, const UserAction& action) {
    std::uint32_t vk = 0;
    for (int i = 0; i < action.keyCount; ++i) {
        if (!IsModifier(action.keys[i])) {
            vk = action.keys[i];
        }
    }
    for (const Modifier& m : kModifiers) {
        bool on = false;
        for (int i = 0; i < action.keyCount; ++i) {
            on = on || action.keys[i] == m.vk || (m.vk == 0x5B && action.keys[i] == 0x5C);
        }
        Check(sys, m.box, on);
    }
    int other = 0;
    for (int i = 0; i < OtherKeyCount() && other == 0; ++i) {
        std::uint32_t otherVk = 0;
        OtherKeyAt(i, &otherVk);
        other = otherVk == vk ? i + 1 : 0;
    }
    Select(sys, C::kOther, other);
    sys.os.SendMessageA(KeyMapsCtl(sys, C::kChord), win::kHkmSetHotkey, other == 0 ? vk : 0, 0);
    ShowChordModifiers(sys);
}

void ClearPanel(System& sys) {
    for (C c : {C::kId, C::kMessage, C::kWParam, C::kLParam, C::kFile, C::kArguments}) {
        SetKeyMapsText(sys, c, "");
    }
    sys.os.SendMessageA(KeyMapsCtl(sys, C::kChord), win::kHkmSetHotkey, 0, 0);
    Select(sys, C::kOther, 0);
    Select(sys, C::kAppCommand, -1);
    for (const Modifier& m : kModifiers) {
        Check(sys, m.box, false);
    }
}

void TryAction(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    std::optional<UserAction> action;
    if (!ReadAction(sys, &action) || !action) {
        sys.os.MessageBoxW(d.window, u"Choose an action for the button first.", kTitleW,
                           win::kMbOk | win::kMbIconInformation);
        return;
    }
    const std::string sentence = TryKeyMapAction(sys, SectionName(d.file.doc, d.section),
                                                 MatchOf(d.file.doc, d.section), *action);
    if (!sentence.empty()) {
        sys.os.MessageBoxW(d.window, Utf8ToUtf16(sentence).c_str(), kTitleW,
                           win::kMbOk | win::kMbIconInformation);
    }
}

}  // namespace

void FillKeyMapsLists(System& sys) {
    Platform& os = sys.os;
    for (const char* name : kKindNames) {
        os.SendMessageTextW(KeyMapsCtl(sys, C::kKind), win::kCbAddString, 0,
                            Utf8ToUtf16(name).c_str());
    }
    os.SendMessageTextW(KeyMapsCtl(sys, C::kOther), win::kCbAddString, 0, u"(none)");
    for (int i = 0; i < OtherKeyCount(); ++i) {
        std::uint32_t vk = 0;
        os.SendMessageTextW(KeyMapsCtl(sys, C::kOther), win::kCbAddString, 0,
                            Utf8ToUtf16(OtherKeyAt(i, &vk)).c_str());
    }
    for (int i = 0; i < AppCommandCount(); ++i) {
        std::uint32_t command = 0;
        os.SendMessageTextW(KeyMapsCtl(sys, C::kAppCommand), win::kCbAddString, 0,
                            Utf8ToUtf16(AppCommandNameAt(i, &command)).c_str());
    }
}

void ShowKeyMapsAction(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    d.filling = true;
    ClearPanel(sys);
    int kind = -1;
    bool repeats = false;
    const bool any = d.section >= 0 && d.row >= 0 && d.row < static_cast<int>(d.buttons.size());
    if (any) {
        const ButtonLine line = ButtonLineOf(d.file.doc, d.section, Button(d), sys.nIRKEYType);
        repeats = RepeatsOf(d.file.doc, d.section, Button(d), sys.nIRKEYType);
        if (!line.present) {
            kind = static_cast<int>(K::kDefault);
        } else if (line.valid) {
            const UserAction& a = line.action;
            char number[16];
            switch (a.kind) {
                case UserActionKind::kKeys:
                    kind = static_cast<int>(K::kKeys);
                    ShowChord(sys, a);
                    break;
                case UserActionKind::kAppCommand:
                    kind = static_cast<int>(K::kAppCommand);
                    for (int i = 0; i < AppCommandCount(); ++i) {
                        std::uint32_t command = 0;
                        AppCommandNameAt(i, &command);
                        if (command == a.message) {
                            Select(sys, C::kAppCommand, i);
                        }
                    }
                    break;
                case UserActionKind::kCommand:
                    kind = static_cast<int>(K::kCommand);
                    SetKeyMapsText(sys, C::kId, std::to_string(a.message));
                    break;
                case UserActionKind::kPost:
                    kind = static_cast<int>(K::kPost);
                    std::snprintf(number, sizeof number, "0x%04X", a.message);
                    SetKeyMapsText(sys, C::kMessage, number);
                    SetKeyMapsText(sys, C::kWParam, std::to_string(a.wParam));
                    SetKeyMapsText(sys, C::kLParam, std::to_string(a.lParam));
                    break;
                case UserActionKind::kClose:
                    kind = static_cast<int>(K::kClose);
                    break;
                case UserActionKind::kLaunch:
                    kind = static_cast<int>(K::kLaunch);
                    SetKeyMapsText(sys, C::kFile, a.file);
                    SetKeyMapsText(sys, C::kArguments, a.parameters);
                    break;
                case UserActionKind::kNone:
                    kind = static_cast<int>(K::kNone);
                    break;
            }
        }
    }
    Select(sys, C::kKind, kind);
    Check(sys, C::kRepeats, repeats);
    ShowKind(sys, kind);
    for (C c : {C::kKindLabel, C::kKind, C::kRepeats, C::kTry}) {
        sys.os.ShowWindow(KeyMapsCtl(sys, c), any ? win::kSwShow : win::kSwHide);
    }
    d.filling = false;
}

void OnKeyMapsActionControl(System& sys, KeyMapsControl control, std::uint32_t code) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    if (d.filling || d.section < 0 || d.row < 0 || d.row >= static_cast<int>(d.buttons.size())) {
        return;
    }
    const bool clicked = code == win::kBnClicked;
    const bool changed = code == win::kEnChange || code == win::kCbnSelChange;
    switch (control) {
        case C::kKind:
            if (changed) {
                const int kind = Selection(sys, C::kKind);
                if (kind == static_cast<int>(K::kAppCommand) &&
                    Selection(sys, C::kAppCommand) < 0) {
                    Select(sys, C::kAppCommand, 0);
                }
                ShowKind(sys, kind);
                ApplyAction(sys);
            }
            return;
        case C::kChord:
            if (changed) {
                // A chord pressed in the control: its modifiers into the boxes
                // (Win stays as it was), the other key back to none.
                const auto hotkey = static_cast<std::uint32_t>(
                    sys.os.SendMessageA(KeyMapsCtl(sys, C::kChord), win::kHkmGetHotkey, 0, 0));
                d.filling = true;
                for (const Modifier& m : kModifiers) {
                    if (m.hotkeyFlag != 0) {
                        Check(sys, m.box, ((hotkey >> 8) & m.hotkeyFlag) != 0);
                    }
                }
                if ((hotkey & 0xFF) != 0) {
                    Select(sys, C::kOther, 0);
                }
                d.filling = false;
                ApplyAction(sys);
            }
            return;
        case C::kOther:
            if (changed) {
                if (Selection(sys, C::kOther) > 0) {
                    sys.os.SendMessageA(KeyMapsCtl(sys, C::kChord), win::kHkmSetHotkey, 0, 0);
                }
                ApplyAction(sys);
            }
            return;
        case C::kCtrl:
        case C::kShift:
        case C::kAlt:
        case C::kWin:
            if (clicked) {
                ShowChordModifiers(sys);
                ApplyAction(sys);
            }
            return;
        case C::kAppCommand:
        case C::kId:
        case C::kMessage:
        case C::kWParam:
        case C::kLParam:
        case C::kFile:
        case C::kArguments:
            if (changed) {
                ApplyAction(sys);
            }
            return;
        case C::kBrowse:
            if (clicked) {
                if (const auto path = BrowseForProgram(sys, d.window, KeyMapsText(sys, C::kFile))) {
                    d.filling = true;
                    SetKeyMapsText(sys, C::kFile, *path);
                    d.filling = false;
                    ApplyAction(sys);
                }
            }
            return;
        case C::kRepeats:
            if (clicked) {
                const bool on = Checked(sys, C::kRepeats);
                if (on != RepeatsOf(d.file.doc, d.section, Button(d), sys.nIRKEYType)) {
                    SetRepeats(d.file.doc, d.section, Button(d), sys.nIRKEYType, on);
                    MarkKeyMapsUnsaved(sys);
                }
            }
            return;
        case C::kTry:
            if (clicked) {
                TryAction(sys);
            }
            return;
        default:
            return;
    }
}

}  // namespace rc
