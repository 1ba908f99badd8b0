#include "shell/program_picker.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/system.h"
#include "platform/win_defs.h"
#include "resources/resource.h"
#include "support/sim_desktop.h"

namespace rc {
namespace {

class ProgramPickerTest : public ::testing::Test {
  protected:
    // The Key maps dialog, which opens the picker, is this program's.
    ProgramPickerTest() { desk.SetWindowProcess(owner, SimDesktop::kOurProcess); }
    // A window of another program, its executable at path.
    Hwnd Program(const std::string& className, const std::string& title, const std::string& path) {
        const Hwnd window = desk.AddWindow(className, title);
        desk.SetProcessImage(desk.GetWindowProcessId(window), path);
        return window;
    }
    // Opens the picker; script runs while it is open, with its list.
    std::optional<WindowFacts> Pick(const std::function<void(Hwnd dlg, Hwnd list)>& script) {
        desk.onDialog = [&](Hwnd dlg, std::uint32_t templateId) {
            ASSERT_EQ(templateId, static_cast<std::uint32_t>(IDD_PICK_PROGRAM));
            dlg_ = dlg;
            list_ = desk.GetDlgItem(dlg, IDC_PROGRAM_LIST);
            script(dlg, list_);
        };
        return PickProgramWindow(sys, owner);
    }
    static UserAction Action(const char* text) {
        UserAction action;
        const char* why = nullptr;
        EXPECT_TRUE(ParseUserAction(text, &action, &why)) << text;
        return action;
    }

    SimDesktop desk;
    System sys{desk};
    Hwnd owner = desk.AddWindow("#32770", "Key maps");
    Hwnd dlg_ = 0;
    Hwnd list_ = 0;
};

// --- Add a program ------------------------------------------------------------------

TEST_F(ProgramPickerTest, ListsTheVisibleTitledWindowsOfOtherProgramsInZOrderWithTheirProgram) {
    Program("Qt5QWindowIcon", "Song - VLC", "C:\\Program Files\\VLC\\vlc.exe");
    Program("Hidden", "Hidden player", "C:\\h.exe");
    desk.SetWindowVisible(desk.FindWindowA("Hidden", nullptr), false);
    Program("Untitled", "", "C:\\u.exe");
    desk.SetWindowExStyle(Program("Palette", "Tools", "C:\\t.exe"), win::kWsExToolWindow);
    desk.SetWindowExStyle(Program("Overlay", "Overlay", "C:\\o.exe"), win::kWsExNoActivate);
    desk.SetWindowCloaked(Program("Store", "Settings", "C:\\s.exe"), true);
    const Hwnd appWindow = Program("Banner", "Banner", "C:\\b.exe");
    desk.SetWindowExStyle(appWindow, win::kWsExNoActivate | win::kWsExAppWindow);
    Program("Notepad", "notes.txt - Notepad", "C:\\Windows\\notepad.exe");

    Pick([&](Hwnd, Hwnd list) {
        EXPECT_EQ(desk.ListColumns(list), (std::vector<std::string>{"Title", "Program"}));
        EXPECT_EQ(desk.ListRows(list),
                  (std::vector<std::vector<std::string>>{{"Song - VLC", "vlc.exe"},
                                                         {"Banner", "b.exe"},
                                                         {"notes.txt - Notepad", "notepad.exe"}}));
    });
    ASSERT_NE(list_, 0u);
}

TEST_F(ProgramPickerTest, EachRowShowsItsWindowsIconTheGenericOneWithout) {
    desk.SetWindowIcon(Program("A", "First", "C:\\a.exe"), 0x4410);
    Program("B", "Second", "C:\\b.exe");

    Pick([&](Hwnd, Hwnd list) {
        const std::vector<Handle> icons = desk.ImageListIcons(desk.ListImageList(list));
        const std::vector<int> images = desk.ListRowImages(list);
        ASSERT_EQ(images.size(), 2u);
        ASSERT_EQ(icons.size(), 2u);
        EXPECT_EQ(icons[static_cast<std::size_t>(images[0])], 0x4410u);
        EXPECT_EQ(icons[static_cast<std::size_t>(images[1])], SimDesktop::kGenericIcon);
    });
}

TEST_F(ProgramPickerTest, AddGivesTheChosenWindowsFacts) {
    Program("Qt5QWindowIcon", "Song - VLC", "C:\\Program Files\\VLC\\vlc.exe");
    Program("StandinPlayer_Class", "Player", "C:\\Players\\player.exe");

    const auto chosen = Pick([&](Hwnd dlg, Hwnd list) {
        EXPECT_EQ(desk.Focus(), list);
        desk.ListViewSelectItem(list, 1);
        desk.ClickDialogItem(dlg, win::kIdOk);
    });
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->exe, "player.exe");
    EXPECT_EQ(chosen->windowClass, "StandinPlayer_Class");
    EXPECT_EQ(chosen->title, "Player");
    const auto opened = desk.Events(SimEvent::Kind::DialogOpened);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(static_cast<Hwnd>(opened[0].b), owner);
    // It took the foreground from no one.
    EXPECT_TRUE(desk.Events(SimEvent::Kind::SetForeground).empty());
}

TEST_F(ProgramPickerTest, EnterAddsTheFrontWindowFirstSelected) {
    Program("Front", "Front", "C:\\front.exe");
    Program("Back", "Back", "C:\\back.exe");

    const auto chosen = Pick([&](Hwnd dlg, Hwnd) { desk.ClickDialogItem(dlg, win::kIdOk); });
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->exe, "front.exe");
}

TEST_F(ProgramPickerTest, DoubleClickOnARowAddsIt) {
    Program("Front", "Front", "C:\\front.exe");
    Program("Back", "Back", "C:\\back.exe");

    const auto chosen = Pick([&](Hwnd dlg, Hwnd list) {
        desk.ListViewSelectItem(list, 1);
        NotifyHeader activate{list, IDC_PROGRAM_LIST, win::kLvnItemActivate};
        desk.SendDialogMessage(dlg, win::kWmNotify, IDC_PROGRAM_LIST,
                               reinterpret_cast<std::intptr_t>(&activate));
    });
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->exe, "back.exe");
}

TEST_F(ProgramPickerTest, AddWithNoRowSelectedKeepsTheDialogOpen) {
    Program("Front", "Front", "C:\\front.exe");

    const auto chosen = Pick([&](Hwnd dlg, Hwnd list) {
        desk.ListViewSelectItem(list, -1);
        desk.ClickDialogItem(dlg, win::kIdOk);
    });
    EXPECT_FALSE(chosen.has_value());
    // Still open after the click: it ended by its close box.
    const auto ended = desk.Events(SimEvent::Kind::DialogEnded);
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].a, win::kIdCancel);
}

TEST_F(ProgramPickerTest, CancelGivesNothing) {
    Program("Front", "Front", "C:\\front.exe");

    const auto chosen = Pick([&](Hwnd dlg, Hwnd) { desk.ClickDialogItem(dlg, win::kIdCancel); });
    EXPECT_FALSE(chosen.has_value());
    const auto ended = desk.Events(SimEvent::Kind::DialogEnded);
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].a, win::kIdCancel);
}

// --- Browse ---------------------------------------------------------------------------

TEST_F(ProgramPickerTest, BrowseOpensInTheCurrentProgramsFolderForProgramsAndGivesTheChosenPath) {
    desk.openFileAnswer = "C:\\Program Files\\MPC\\mpc-hc.exe";

    const auto path = BrowseForProgram(sys, owner, "\"C:\\Program Files\\VLC\\vlc.exe\"");
    EXPECT_EQ(path, "C:\\Program Files\\MPC\\mpc-hc.exe");
    ASSERT_TRUE(desk.openFileAsked.has_value());
    const SimDesktop::OpenFileAsk& ask = *desk.openFileAsked;
    EXPECT_EQ(ask.owner, owner);
    EXPECT_EQ(ask.filter, "Programs (*.exe)|*.exe|All files (*.*)|*.*");
    EXPECT_EQ(ask.initialDir, "C:\\Program Files\\VLC");
    EXPECT_EQ(ask.file, "C:\\Program Files\\VLC\\vlc.exe");
    EXPECT_EQ(ask.flags & (win::kOfnFileMustExist | win::kOfnNoChangeDir),
              win::kOfnFileMustExist | win::kOfnNoChangeDir);
}

TEST_F(ProgramPickerTest, BrowseForAProgramWithoutAFolderLeavesTheFolderToTheSystem) {
    desk.openFileAnswer = "D:\\vlc.exe";

    EXPECT_EQ(BrowseForProgram(sys, owner, "vlc.exe"), "D:\\vlc.exe");
    ASSERT_TRUE(desk.openFileAsked.has_value());
    EXPECT_EQ(desk.openFileAsked->initialDir, "");
    EXPECT_EQ(desk.openFileAsked->file, "vlc.exe");
}

TEST_F(ProgramPickerTest, BrowseCancelledGivesNothing) {
    desk.openFileAnswer.reset();

    EXPECT_FALSE(BrowseForProgram(sys, owner, "C:\\VLC\\vlc.exe").has_value());
}

// --- Try ----------------------------------------------------------------------------------

TEST_F(ProgramPickerTest, TryBringsTheFirstMatchingWindowToTheFrontAndSendsTheChord) {
    Program("Other", "Other", "C:\\other.exe");
    const Hwnd hidden = Program("Qt5QWindowIcon", "VLC (hidden)", "C:\\VLC\\vlc.exe");
    desk.SetWindowVisible(hidden, false);
    const Hwnd vlc = Program("Qt5QWindowIcon", "Song - VLC media player", "C:\\VLC\\VLC.EXE");
    Program("Qt5QWindowIcon", "Second VLC", "C:\\VLC\\vlc.exe");
    desk.SetForegroundWindow(owner);
    desk.ClearLog();

    const std::string result =
        TryKeyMapAction(sys, "VLC", {"vlc.exe", "", "media player"}, Action("keys Ctrl+P"));
    EXPECT_EQ(result, "");
    EXPECT_EQ(desk.Foreground(), vlc);
    const auto activations = desk.Events(SimEvent::Kind::SetForeground);
    ASSERT_FALSE(activations.empty());
    EXPECT_EQ(activations[0].hwnd, vlc);
    EXPECT_EQ(desk.KeyText(), "17:0 80:0 80:2 17:2");
}

TEST_F(ProgramPickerTest, TryPostsAMessageToTheMatchingWindowBroughtToTheFront) {
    const Hwnd player = Program("StandinPlayer_Class", "Player", "C:\\player.exe");

    EXPECT_EQ(TryKeyMapAction(sys, "Player", {"", "standinplayer_class", ""},
                              Action("appcommand VOLUME_UP")),
              "");
    EXPECT_EQ(desk.Foreground(), player);
    const auto posts = desk.Events(SimEvent::Kind::PostMessage);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].hwnd, player);
    EXPECT_EQ(posts[0].a, win::kWmAppCommand);
}

TEST_F(ProgramPickerTest, TryWithNoMatchingWindowSaysTheProgramIsNotRunning) {
    desk.SetWindowProcess(desk.AddWindow("Qt5QWindowIcon", "VLC settings"),
                          SimDesktop::kOurProcess);

    EXPECT_EQ(TryKeyMapAction(sys, "VLC", {"", "", "VLC"}, Action("keys Space")),
              "VLC is not running.");
    EXPECT_EQ(TryKeyMapAction(sys, "Anything", {}, Action("keys Space")),
              "Anything is not running.");
    EXPECT_EQ(desk.KeyText(), "");
}

TEST_F(ProgramPickerTest, TryLaunchesWithoutAWindowAndSaysWhenItCouldNot) {
    EXPECT_EQ(TryKeyMapAction(sys, "VLC", {"vlc.exe", "", ""},
                              Action("launch \"C:\\Program Files\\VLC\\vlc.exe\" --fullscreen")),
              "");
    const auto launches = desk.Events(SimEvent::Kind::ShellExecute);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].text, "C:\\Program Files\\VLC\\vlc.exe");

    desk.shellExecuteResult = 2;
    EXPECT_EQ(TryKeyMapAction(sys, "VLC", {}, Action("launch C:\\gone.exe")),
              "VLC could not launch gone.exe.");
}

TEST_F(ProgramPickerTest, TryOfNoneDoesNothing) {
    Program("Qt5QWindowIcon", "VLC", "C:\\vlc.exe");

    EXPECT_EQ(TryKeyMapAction(sys, "VLC", {"vlc.exe", "", ""}, Action("none")), "");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::SetForeground).empty());
}

TEST_F(ProgramPickerTest, TryThatCantBringTheWindowToTheFrontSaysSo) {
    Program("Qt5QWindowIcon", "VLC", "C:\\vlc.exe");
    desk.refuseForeground = true;
    desk.refuseForegroundAttached = true;

    EXPECT_EQ(TryKeyMapAction(sys, "VLC", {"vlc.exe", "", ""}, Action("keys Space")),
              "VLC is not in front.");
    EXPECT_EQ(desk.KeyText(), "");
}

}  // namespace
}  // namespace rc
