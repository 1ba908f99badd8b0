#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "apps/button_names.h"
#include "apps/user_apps.h"
#include "platform/win_defs.h"
#include "receiver/receiver_fixture.h"
#include "resources/resource.h"
#include "shell/key_maps.h"
#include "shell/monitor.h"

namespace rc::test {
namespace {

using C = KeyMapsControl;
using Kind = SimEvent::Kind;

constexpr char kFile[] = "C:\\Users\\Ada\\AppData\\Roaming\\Remote Control\\applications.ini";
constexpr char kText[] =
    "; My key maps\r\n"
    "[Player]\r\n"
    "Exe = player.exe\r\n"
    "play = keys Space   ; pause too\r\n"
    "volup = appcommand VOLUME_UP\r\n"
    "\r\n"
    "[Viewer]\r\n"
    "Class = ViewerFrame\r\n"
    "ok = keys Enter\r\n";

// AF9015 scan codes and the 32-key remote's buttons they give.
constexpr std::uint8_t kScanVolUp = 0x50;  // KeyCode 14, volup
constexpr std::uint8_t kScanPower = 0x13;  // KeyCode 67, power

class KeyMapsTest : public ReceiverTest {
  protected:
    KeyMapsTest() {
        InstallAf15(desk);
        PlugAf9015();
        Start();
        desk.SetNow(100000);
        desk.SetFileText(kFile, kText);
        player = desk.AddWindow("PlayerClass", "My Film - Player");
        desk.SetProcessImage(static_cast<std::uint32_t>(player), "C:\\Apps\\player.exe");
        desk.SetForegroundWindow(player);
    }
    Hwnd Open() {
        OpenKeyMaps(sys);
        dialog = desk.FindWindowA("Remote Control Key Maps", nullptr);
        return dialog;
    }
    Hwnd Ctl(C control) const { return desk.ControlById(dialog, KeyMapsControlId(control)); }
    // The row of a button by its name in the file.
    int RowOf(const std::string& name) const {
        const auto& buttons = sys.keyMaps->buttons;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (name == ButtonName(buttons[i])) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    std::string ActionOf(const std::string& name) const {
        return desk.ListRows(Ctl(C::kButtons))[static_cast<std::size_t>(RowOf(name))][1];
    }
    // One tick of the poll that reads the scan code.
    void PressScan(std::uint8_t scan, std::uint32_t after = 300) {
        desk.af15Buffers = {{7, 0, scan}};
        desk.Entry("af15_GetIR").results = {1};
        desk.Advance(after);
    }
    std::string LastOutcome() const { return sys.monitor->rows.back().outcome; }
    // Nothing went out to another window or the input: no keystrokes, pointer
    // moves, posted messages, launches, and sends only to the dialog's own
    // controls.
    void ExpectNothingSent() const {
        EXPECT_TRUE(desk.Events(Kind::KeybdEvent).empty());
        EXPECT_TRUE(desk.Events(Kind::MouseEvent).empty());
        EXPECT_TRUE(desk.Events(Kind::SetCursorPos).empty());
        EXPECT_TRUE(desk.Events(Kind::PostMessage).empty());
        EXPECT_TRUE(desk.Events(Kind::ShellExecute).empty());
        EXPECT_TRUE(desk.Events(Kind::DialogOpened).empty());
        std::set<Hwnd> own(std::begin(sys.keyMaps->controls), std::end(sys.keyMaps->controls));
        own.insert(dialog);
        for (const SimEvent& e : desk.Events(Kind::SendMessage)) {
            EXPECT_EQ(own.count(e.hwnd), 1u) << "a message " << e.a << " to " << e.hwnd;
        }
    }
    Hwnd player = 0;
    Hwnd dialog = 0;
};

TEST_F(KeyMapsTest, OpensOnceWithTheProgramsOfTheFileAndTheButtonsOfTheLayout) {
    ASSERT_NE(Open(), 0u);
    EXPECT_EQ(desk.Foreground(), dialog);
    EXPECT_EQ(desk.WindowTitle(dialog), "Key maps");
    EXPECT_EQ(desk.ControlItems(Ctl(C::kPrograms)), (std::vector<std::string>{"Player", "Viewer"}));
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kPrograms)), 0);
    EXPECT_EQ(desk.ControlText(Ctl(C::kExe)), "player.exe");
    EXPECT_EQ(desk.ControlText(Ctl(C::kDelay)), "400") << "the default";
    EXPECT_EQ(desk.ListColumns(Ctl(C::kButtons)), (std::vector<std::string>{"Button", "Action"}));
    EXPECT_EQ(desk.ListRows(Ctl(C::kButtons))[static_cast<std::size_t>(RowOf("volup"))][0],
              "Volume up (volup)");
    EXPECT_EQ(ActionOf("volup"), "appcommand VOLUME_UP");
    EXPECT_EQ(ActionOf("play"), "keys Space") << "without the comment";
    EXPECT_EQ(ActionOf("ok"), "(default)");
    EXPECT_EQ(RowOf("power"), 0);
    EXPECT_EQ(RowOf("shutdown"), 1) << "the 32-key remote's 1-3 button";
    desk.SendMessageA(dialog, win::kWmSetFocus, 0, 0);  // activated
    EXPECT_EQ(desk.Focus(), Ctl(C::kPrograms)) << "the keyboard goes to the programs";
    // Alt+K: the dialog manager asks for the label "&Kind:", then the next control.
    desk.SendMessageA(dialog, win::kWmNextDlgCtl, Ctl(C::kKindLabel), 1);
    desk.SendMessageA(dialog, win::kWmNextDlgCtl, 0, 0);
    EXPECT_EQ(desk.Focus(), Ctl(C::kKind)) << "a label's mnemonic gives the keyboard to its box";

    desk.SetForegroundWindow(player);
    EXPECT_EQ(Open(), dialog);
    EXPECT_EQ(desk.Foreground(), dialog) << "a second open brings the one window to the front";
    EXPECT_EQ(desk.FindWindowExA(0, dialog, "Remote Control Key Maps", nullptr), 0u);
}

TEST_F(KeyMapsTest, AFileThatCantBeReadOpensNoWindowAndSaysWhy) {
    desk.fileReadError = 32;  // ERROR_SHARING_VIOLATION: another program holds it
    std::vector<std::string> boxes;
    desk.onMessageBox = [&](const std::string& text, const std::string&) {
        boxes.push_back(text);
        return win::kIdOk;
    };
    EXPECT_EQ(Open(), 0u) << "a window on an empty document would save over the file";
    EXPECT_EQ(boxes, std::vector<std::string>{"applications.ini can't be read (Windows error "
                                              "32). Close the program that holds it and try "
                                              "again."});
    desk.fileReadError = 0;
    EXPECT_NE(Open(), 0u);
}

TEST_F(KeyMapsTest, APressWhileTheDialogIsInFrontSelectsItsRowAndSendsNothing) {
    Open();
    desk.ClearLog();
    PressScan(kScanVolUp);
    const int row = RowOf("volup");
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kButtons)), row);
    EXPECT_EQ(desk.ListInView(Ctl(C::kButtons)), row);
    EXPECT_EQ(desk.Focus(), Ctl(C::kButtons));
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kKind)), static_cast<int>(KeyMapsKind::kAppCommand))
        << "the action panel shows the row's action";
    EXPECT_EQ(LastOutcome(), "nothing sent: Key maps: volup selected");
    PressScan(kScanPower);
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kButtons)), RowOf("power"));
    EXPECT_EQ(LastOutcome(), "nothing sent: Key maps: power selected")
        << "no launch of the current application";
    ExpectNothingSent();

    desk.SetForegroundWindow(player);
    PressScan(kScanVolUp);
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kButtons)), RowOf("power"))
        << "behind another window the dialog takes no press";
    EXPECT_EQ(LastOutcome().find("Key maps"), std::string::npos) << LastOutcome();
}

TEST_F(KeyMapsTest, AKeyCodeNoButtonOfTheLayoutSendsSelectsNothing) {
    Open();
    PressOutcome outcome;
    EXPECT_TRUE(TakeKeyMapsPress(sys, Press{200, false}, &outcome));
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kButtons)), -1);
    EXPECT_FALSE(desk.ControlVisible(Ctl(C::kKind))) << "no row, no action";
    EXPECT_EQ(outcome.why, "Key maps: no button sends KeyCode 200");
}

TEST_F(KeyMapsTest, APressWhileAWindowItOwnsIsInFrontSelectsTheRowToo) {
    Open();
    desk.onDialog = [&](Hwnd picker, std::uint32_t) {
        desk.SetForegroundWindow(picker);  // "Add a program", owned by the dialog
        desk.ClearLog();
        PressScan(kScanVolUp);
        EXPECT_EQ(desk.ControlSelection(Ctl(C::kButtons)), RowOf("volup"));
        EXPECT_EQ(LastOutcome(), "nothing sent: Key maps: volup selected");
        EXPECT_TRUE(desk.Events(Kind::PostMessage).empty());
    };
    desk.ClickControl(Ctl(C::kAdd));
    EXPECT_EQ(desk.ControlItems(Ctl(C::kPrograms)).size(), 2u) << "the picker was cancelled";
}

TEST_F(KeyMapsTest, AHeldButtonsFurtherFramesDoNothing) {
    Open();
    PressScan(kScanVolUp, 65);
    desk.ChooseItem(Ctl(C::kButtons), RowOf("ok"));
    desk.ClearLog();
    PressScan(kScanVolUp, 65);
    ASSERT_TRUE(sys.monitor->rows.back().repeat);
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kButtons)), RowOf("ok"));
    EXPECT_EQ(LastOutcome(), "nothing sent: Key maps is in front");
    ExpectNothingSent();
}

TEST_F(KeyMapsTest, OnlyTheControlsOfTheChosenKindShowAndEachChangeReachesTheRow) {
    Open();
    desk.ChooseItem(Ctl(C::kButtons), RowOf("ok"));
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kKind)), static_cast<int>(KeyMapsKind::kDefault));
    EXPECT_FALSE(desk.ControlVisible(Ctl(C::kChord)));
    desk.ChooseItem(Ctl(C::kKind), static_cast<int>(KeyMapsKind::kCommand));
    EXPECT_TRUE(desk.ControlVisible(Ctl(C::kId)));
    EXPECT_FALSE(desk.ControlVisible(Ctl(C::kChord)));
    EXPECT_FALSE(desk.ControlVisible(Ctl(C::kFile)));
    EXPECT_EQ(ActionOf("ok"), "(default)") << "no id yet: the line stays as it was";
    desk.TypeInto(Ctl(C::kId), "70000");
    EXPECT_EQ(ActionOf("ok"), "(default)") << "no menu command's id";
    desk.TypeInto(Ctl(C::kId), "889");
    EXPECT_EQ(ActionOf("ok"), "command 889");
    EXPECT_EQ(desk.WindowTitle(dialog), "Key maps *");
    desk.ChooseItem(Ctl(C::kKind), static_cast<int>(KeyMapsKind::kLaunch));
    desk.TypeInto(Ctl(C::kFile), "C:\\Tools\\x.exe");
    desk.TypeInto(Ctl(C::kArguments), std::string(255, 'a'));
    EXPECT_EQ(ActionOf("ok"), "launch C:\\Tools\\x.exe") << "longer than a value the program reads";

    desk.ChooseItem(Ctl(C::kKind), static_cast<int>(KeyMapsKind::kKeys));
    EXPECT_TRUE(desk.ControlVisible(Ctl(C::kChord)));
    EXPECT_FALSE(desk.ControlVisible(Ctl(C::kId)));
    desk.PressHotkey(Ctl(C::kChord), 'P', win::kHotkeyfControl | win::kHotkeyfShift);
    EXPECT_EQ(ActionOf("ok"), "keys Ctrl+Shift+P");
    EXPECT_TRUE(desk.ControlChecked(Ctl(C::kCtrl)));
    desk.ClickControl(Ctl(C::kWin));
    EXPECT_EQ(ActionOf("ok"), "keys Ctrl+Shift+Win+P");
    const std::vector<std::string> others = desk.ControlItems(Ctl(C::kOther));
    EXPECT_EQ(std::vector<std::string>(others.begin(), others.begin() + 7),
              (std::vector<std::string>{"(none)", "Backspace", "Tab", "Enter", "Esc", "Space",
                                        "BrowserBack"}))
        << "the keys the hotkey control can't record";
    desk.ChooseItem(Ctl(C::kOther),
                    static_cast<int>(std::find(others.begin(), others.end(), "MediaPlayPause") -
                                     others.begin()));
    EXPECT_EQ(ActionOf("ok"), "keys Ctrl+Shift+Win+MediaPlayPause");
    EXPECT_EQ(desk.ControlHotkey(Ctl(C::kChord)), 0u) << "one key: the other key replaces it";

    desk.ClickControl(Ctl(C::kRepeats));
    EXPECT_TRUE(RepeatsOf(sys.keyMaps->file.doc, 0, kNamedButton + FindButtonName("ok"), k32Key));
    desk.ChooseItem(Ctl(C::kKind), static_cast<int>(KeyMapsKind::kDefault));
    EXPECT_EQ(ActionOf("ok"), "(default)");
}

TEST_F(KeyMapsTest, TheDefaultRepeatDelayWrittenBackLeavesNoLineAndABadOneIsRefused) {
    Open();
    desk.TypeInto(Ctl(C::kDelay), "250");
    EXPECT_EQ(RepeatDelayOf(sys.keyMaps->file.doc, 0), 250u);
    desk.TypeInto(Ctl(C::kDelay), "400");
    EXPECT_EQ(RepeatDelayOf(sys.keyMaps->file.doc, 0), std::nullopt);

    std::vector<std::string> boxes;
    desk.onMessageBox = [&](const std::string& text, const std::string&) {
        boxes.push_back(text);
        return win::kIdOk;
    };
    desk.TypeInto(Ctl(C::kDelay), "300");
    desk.TypeInto(Ctl(C::kDelay), "9000");
    desk.NotifyControl(Ctl(C::kDelay), win::kEnKillFocus);  // the user leaves the field
    EXPECT_EQ(boxes, std::vector<std::string>{
                         "The repeat delay is a number of milliseconds from 0 to 5000. It "
                         "stays 300."});
    EXPECT_EQ(desk.ControlText(Ctl(C::kDelay)), "300");
    EXPECT_EQ(RepeatDelayOf(sys.keyMaps->file.doc, 0), 300u);
}

TEST_F(KeyMapsTest, ARefusedNameKeepsTheOldOneAndSaysWhy) {
    Open();
    std::vector<std::string> boxes;
    desk.onMessageBox = [&](const std::string& text, const std::string&) {
        boxes.push_back(text);
        return win::kIdOk;
    };
    desk.TypeInto(Ctl(C::kName), "viewer");
    desk.NotifyControl(Ctl(C::kName), win::kEnKillFocus);  // the user leaves the field
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              "Another program already has the name \"viewer\". The name stays \"Player\".");
    EXPECT_EQ(desk.ControlText(Ctl(C::kName)), "Player");
    EXPECT_EQ(SectionName(sys.keyMaps->file.doc, 0), "Player");

    desk.TypeInto(Ctl(C::kName), "Film player");
    desk.NotifyControl(Ctl(C::kName), win::kEnKillFocus);
    EXPECT_EQ(desk.ControlItems(Ctl(C::kPrograms)),
              (std::vector<std::string>{"Film player", "Viewer"}));
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(KeyMapsTest, AddMakesASectionNamedAfterThePickedProgramMatchingItsExe) {
    Open();
    desk.onDialog = [&](Hwnd picker, std::uint32_t) {
        const Hwnd list = desk.GetDlgItem(picker, IDC_PROGRAM_LIST);
        ASSERT_EQ(desk.ListRows(list).at(0).at(1), "player.exe");
        desk.ListViewSelectItem(list, 0);
        desk.ClickDialogItem(picker, win::kIdOk);
    };
    desk.ClickControl(Ctl(C::kAdd));
    EXPECT_EQ(desk.ControlItems(Ctl(C::kPrograms)),
              (std::vector<std::string>{"Player", "Viewer", "player 2"}))
        << "\"player\" is taken (names compare in any letter case)";
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kPrograms)), 2);
    EXPECT_EQ(desk.ControlText(Ctl(C::kExe)), "player.exe");
    EXPECT_EQ(desk.ControlText(Ctl(C::kClass)), "");
    EXPECT_EQ(ActionOf("play"), "(default)");
    EXPECT_EQ(desk.Focus(), Ctl(C::kName)) << "ready to be renamed";
    EXPECT_EQ(desk.WindowTitle(dialog), "Key maps *");
}

TEST_F(KeyMapsTest, TryDoesTheShownActionToTheProgramOrSaysWhyNot) {
    Open();
    std::vector<std::string> boxes;
    desk.onMessageBox = [&](const std::string& text, const std::string&) {
        boxes.push_back(text);
        return win::kIdOk;
    };
    desk.ChooseItem(Ctl(C::kButtons), RowOf("volup"));
    desk.ClearLog();
    desk.ClickControl(Ctl(C::kTry));
    const auto posts = desk.Events(Kind::PostMessage);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].hwnd, player);
    EXPECT_EQ(posts[0].a, win::kWmAppCommand);
    EXPECT_TRUE(boxes.empty());

    desk.ChooseItem(Ctl(C::kPrograms), 1);
    desk.ChooseItem(Ctl(C::kButtons), RowOf("ok"));
    desk.ClickControl(Ctl(C::kTry));
    EXPECT_EQ(boxes, std::vector<std::string>{"Viewer is not running."});
    desk.ChooseItem(Ctl(C::kButtons), RowOf("play"));
    desk.ClickControl(Ctl(C::kTry));
    EXPECT_EQ(boxes.back(), "Choose an action for the button first.") << "play has its default";
}

TEST_F(KeyMapsTest, RemoveAsksFirstAndTakesTheProgramAway) {
    Open();
    int answer = win::kIdNo;
    std::vector<std::string> boxes;
    desk.onMessageBox = [&](const std::string& text, const std::string&) {
        boxes.push_back(text);
        return answer;
    };
    desk.ClickControl(Ctl(C::kRemove));
    EXPECT_EQ(boxes, std::vector<std::string>{"Remove \"Player\" and all its key maps?"});
    EXPECT_EQ(SectionCount(sys.keyMaps->file.doc), 2);
    answer = win::kIdYes;
    desk.ClickControl(Ctl(C::kRemove));
    EXPECT_EQ(desk.ControlItems(Ctl(C::kPrograms)), std::vector<std::string>{"Viewer"});
    EXPECT_EQ(desk.ControlSelection(Ctl(C::kPrograms)), 0);
    EXPECT_EQ(desk.ControlText(Ctl(C::kClass)), "ViewerFrame");
    EXPECT_EQ(ActionOf("ok"), "keys Enter");
}

TEST_F(KeyMapsTest, SaveChangesOnlyTheEditedLineAndKeepsTheDialogOpen) {
    Open();
    desk.ChooseItem(Ctl(C::kButtons), RowOf("volup"));
    desk.ChooseItem(Ctl(C::kKind), static_cast<int>(KeyMapsKind::kKeys));
    desk.PressHotkey(Ctl(C::kChord), 'U', win::kHotkeyfControl);
    desk.ClickControl(Ctl(C::kSave));
    std::string expected = kText;
    expected.replace(expected.find("appcommand VOLUME_UP"), 20, "keys Ctrl+U");
    EXPECT_EQ(desk.FileText(kFile), expected);
    EXPECT_TRUE(desk.IsWindow(dialog));
    EXPECT_EQ(desk.WindowTitle(dialog), "Key maps");
}

TEST_F(KeyMapsTest, ASaveThatFailsSaysWhyAndKeepsTheChanges) {
    Open();
    desk.TypeInto(Ctl(C::kExe), "other.exe");
    desk.fileWriteError = 5;  // ERROR_ACCESS_DENIED
    std::vector<std::string> boxes;
    desk.onMessageBox = [&](const std::string& text, const std::string&) {
        boxes.push_back(text);
        return win::kIdOk;
    };
    desk.ClickControl(Ctl(C::kSave));
    EXPECT_EQ(boxes, std::vector<std::string>{"applications.ini can't be saved (Windows error 5). "
                                              "Your changes are still here."});
    EXPECT_EQ(desk.FileText(kFile), kText);
    EXPECT_EQ(desk.WindowTitle(dialog), "Key maps *");
    desk.fileWriteError = 0;
    desk.ClickControl(Ctl(C::kSave));
    EXPECT_NE(desk.FileText(kFile).find("Exe = other.exe\r\n"), std::string::npos);
    EXPECT_EQ(desk.WindowTitle(dialog), "Key maps");
}

TEST_F(KeyMapsTest, CloseDropsTheChangesAndLeavesTheFileUntouched) {
    Open();
    desk.TypeInto(Ctl(C::kExe), "other.exe");
    desk.ClearLog();
    desk.ClickControl(Ctl(C::kClose));
    EXPECT_FALSE(desk.IsWindow(dialog));
    EXPECT_EQ(desk.FileText(kFile), kText);
    EXPECT_TRUE(desk.Events(Kind::FileWrite).empty());
    EXPECT_TRUE(desk.Events(Kind::MessageBox).empty()) << "no question";
    Open();
    EXPECT_EQ(desk.ControlText(Ctl(C::kExe)), "player.exe") << "opened again, the file as it is";
}

TEST_F(KeyMapsTest, AFileChangedElsewhereAsksAndNoShowsItAsItIsNow) {
    Open();
    desk.TypeInto(Ctl(C::kExe), "other.exe");
    const std::string theirs = "[Theirs]\r\nExe = theirs.exe\r\n";
    desk.SetFileText(kFile, theirs);
    int asked = 0;
    desk.onMessageBox = [&](const std::string& text, const std::string&) {
        ++asked;
        EXPECT_NE(text.find("changed by another program"), std::string::npos) << text;
        return win::kIdNo;
    };
    desk.ClickControl(Ctl(C::kSave));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(desk.FileText(kFile), theirs);
    EXPECT_EQ(desk.ControlItems(Ctl(C::kPrograms)), (std::vector<std::string>{"Theirs"}));
    EXPECT_EQ(desk.ControlText(Ctl(C::kExe)), "theirs.exe");
    EXPECT_EQ(desk.WindowTitle(dialog), "Key maps");
}

TEST_F(KeyMapsTest, AFileChangedElsewhereIsReplacedWhenTheUserSaysYes) {
    Open();
    desk.TypeInto(Ctl(C::kExe), "other.exe");
    desk.SetFileText(kFile, "[Theirs]\r\n");
    desk.onMessageBox = [](const std::string&, const std::string&) { return win::kIdYes; };
    desk.ClickControl(Ctl(C::kSave));
    std::string expected = kText;
    expected.replace(expected.find("player.exe"), 10, "other.exe");
    EXPECT_EQ(desk.FileText(kFile), expected);
}

}  // namespace
}  // namespace rc::test
