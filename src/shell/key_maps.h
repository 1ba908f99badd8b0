// The Key maps dialog: the user's key maps of applications.ini edited in a
// window, so that no text editor is needed.
//
// On the left the file's programs (its sections, in file order) with the
// fields that say which window each matches and its repeat delay; on the
// right the buttons of the remote's layout with each one's action in the
// selected program, and below them the selected button's action, built with
// the controls of its kind. Every change goes into the document at once (the
// button's row shows it) and the title says that something is unsaved; Save
// writes the file (the running key map takes it at once) and keeps the
// window open, Close or Esc drops the changes. Only one window is open at a
// time; opening it again brings it to the front. It opens where the user
// last left it (per user, settings/window_placement.h).
//
// While it (or a window it owns) is in front, a press of the remote selects
// that button's row and does nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "apps/key_map_edit.h"
#include "core/press.h"
#include "platform/platform.h"

namespace rc {

struct System;

// The dialog's controls, in tab order (their ids are kKeyMapsFirstId and up,
// in this order; Save is IDOK and Close IDCANCEL).
enum class KeyMapsControl : int {
    kProgramsLabel,
    kPrograms,
    kAdd,
    kRemove,
    kNameLabel,
    kName,
    kExeLabel,
    kExe,
    kClassLabel,
    kClass,
    kTitleLabel,
    kTitle,
    kDelayLabel,
    kDelay,
    kButtonsLabel,
    kButtons,
    kKindLabel,
    kKind,
    kChordLabel,
    kChord,
    kOtherLabel,
    kOther,
    kCtrl,
    kShift,
    kAlt,
    kWin,
    kAppCommandLabel,
    kAppCommand,
    kIdLabel,
    kId,
    kMessageLabel,
    kMessage,
    kWParamLabel,
    kWParam,
    kLParamLabel,
    kLParam,
    kFileLabel,
    kFile,
    kBrowse,
    kArgumentsLabel,
    kArguments,
    kRepeats,
    kTry,
    kSave,
    kClose,
    kCount
};
constexpr std::uint32_t kKeyMapsFirstId = 200;
constexpr std::uint32_t KeyMapsControlId(KeyMapsControl control) {
    return control == KeyMapsControl::kSave ? 1  // IDOK
           : control == KeyMapsControl::kClose
               ? 2  // IDCANCEL
               : kKeyMapsFirstId + static_cast<std::uint32_t>(control);
}

// The kinds the Kind box offers, in its order.
enum class KeyMapsKind : int {
    kKeys,
    kAppCommand,
    kCommand,
    kPost,
    kClose,
    kLaunch,
    kNone,
    kDefault,  // no line: what the button does without one
};

// The window and the document it edits.
struct KeyMapsDialog {
    bool classRegistered = false;
    Hwnd window = 0;
    Hwnd controls[static_cast<int>(KeyMapsControl::kCount)] = {};
    Handle font = 0;
    int dpi = 96;
    int minWidth = 0;  // the smallest size the user may drag it to
    int minHeight = 0;
    KeyMapFile file;
    bool unsaved = false;
    // The dialog is setting its controls' texts and choices: what they
    // report meanwhile is no edit of the user's.
    bool filling = false;
    int section = -1;          // the selected program, -1 none
    std::vector<int> buttons;  // each row's button name (an index of button_names)
    int row = -1;              // the selected row, -1 none
    // A label whose mnemonic was pressed: the keyboard goes to the control
    // after it (-1 none).
    int mnemonicLabel = -1;
};

// Opens the window (the file first made from the example when it is
// missing), or brings the open one to the front.
void OpenKeyMaps(System& sys);

// A press of the remote while the window or one it owns is in front: a
// new press selects its button's row, brings it into view and gives the
// list the keyboard; a held button's further frames do nothing. Gives false
// (nothing done) while the window is not in front; otherwise the outcome
// says what happened ("Key maps: volup selected").
bool TakeKeyMapsPress(System& sys, const Press& press, PressOutcome* outcome);

// The window's procedure (ctx is the System).
std::intptr_t KeyMapsWindowProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t lParam);

// The pieces the dialog's files share: its state, a control, and a
// control's text (UTF-8).
KeyMapsDialog& KeyMapsOf(const System& sys);
Hwnd KeyMapsCtl(const System& sys, KeyMapsControl control);
std::string KeyMapsText(System& sys, KeyMapsControl control);
void SetKeyMapsText(System& sys, KeyMapsControl control, std::string_view text);

// The controls (key_maps_layout.cpp): made in tab order with the dialog's
// font (false when one can't be), and placed for a client area's size.
bool CreateKeyMapsControls(System& sys, Hwnd window);
void LayOutKeyMaps(System& sys, int width, int height);

// The action panel (key_maps_action.cpp): the selected row's action shown
// in the controls of its kind, and the controls read back into the
// document.
void ShowKeyMapsAction(System& sys);
// The user changed the control: the action built from the panel goes into
// the document (a panel that does not make an action yet, such as keys
// without a key, leaves the line alone).
void OnKeyMapsActionControl(System& sys, KeyMapsControl control, std::uint32_t code);
// The fixed lists of the panel: the kinds, the other keys, the commands.
void FillKeyMapsLists(System& sys);
// Refreshes a row's Action column and the title's unsaved mark.
void ShowKeyMapsRow(System& sys, int row);
void MarkKeyMapsUnsaved(System& sys);

}  // namespace rc
