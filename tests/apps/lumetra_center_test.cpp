#include "apps/lumetra_center.h"

#include <gtest/gtest.h>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "core/system.h"
#include "support/test_support.h"

namespace rc {
namespace {

using test::Script;

class LumetraCenterTest : public ::testing::Test {
  protected:
    void SetUp() override { desk.ClearLog(); }
    Hwnd Open() { return test::OpenAppWindow(desk, kLumetraCenter); }
    void Press(std::uint32_t layout, std::uint32_t keyCode) {
        LumetraCenterKeyMap(sys, layout, keyCode);
    }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(LumetraCenterTest, WithNoDialogEveryRulePostsToTheMainWindow) {
    Hwnd main = Open();
    Press(k44Key, 9);   // 4003, A
    Press(k44Key, 64);  // 1005, B
    Press(k44Key, 30);  // 18, D
    Press(k44Key, 11);  // 35005, E
    EXPECT_EQ(Script(desk),
              "post:Lumetra Center:4024:4003 post:Lumetra Center:4024:1005 "
              "post:Lumetra Center:4024:18 post:Lumetra Center:4024:35005");
    EXPECT_EQ(App(sys, kLumetraCenter)->hWnd, main);
}

TEST_F(LumetraCenterTest, AVisibleDialogBlocksRuleAAndTakesRuleE) {
    Open();
    Hwnd dialog = desk.AddWindow("TDialogForm", "Settings");
    Press(k44Key, 9);   // 4003, A: held back
    Press(k44Key, 0);   // digit 1, A: held back
    Press(k44Key, 65);  // 1004, B
    Press(k44Key, 30);  // 18, D
    Press(k44Key, 14);  // 35007, E
    EXPECT_EQ(Script(desk),
              "post:Lumetra Center:4024:1004 post:Lumetra Center:4024:18 "
              "fg:Settings active:Settings post:Settings:4024:35007");
    EXPECT_EQ(App(sys, kLumetraCenter)->hPopup, dialog);
}

TEST_F(LumetraCenterTest, RuleDNeitherSearchesNorChangesHPopup) {
    Open();
    desk.AddWindow("TDialogForm", "Settings");
    App(sys, kLumetraCenter)->hPopup = 4321;
    LumetraCenterCommand(sys, 18);
    EXPECT_EQ(App(sys, kLumetraCenter)->hPopup, 4321u);
    EXPECT_EQ(sys.lumetraCenterSlots[3], 0u);
}

TEST_F(LumetraCenterTest, RuleCComparesWithThePictureViewSlot) {
    Open();
    Press(k44Key, 26);  // 1002 with no PictureView at all: nothing holds it back
    EXPECT_EQ(Script(desk), "post:Lumetra Center:4024:1002");
    EXPECT_EQ(sys.lumetraCenterSlots[4], 0u);

    desk.ClearLog();
    Hwnd pictureView = desk.AddWindow("OrvalixPlayer_Class", "PictureView", false);
    Press(k44Key, 26);  // hidden: posted
    EXPECT_EQ(Script(desk), "post:Lumetra Center:4024:1002");
    EXPECT_EQ(sys.lumetraCenterSlots[4], pictureView);

    desk.ClearLog();
    desk.SetWindowVisible(pictureView, true);
    Press(k32Key, 21);  // visible: not posted
    EXPECT_EQ(Script(desk), "");
    EXPECT_EQ(App(sys, kLumetraCenter)->hPopup, pictureView);

    desk.ClearLog();
    desk.AddWindow("TWizardForm", "WizardForm");  // another dialog visible: posted
    desk.SetWindowVisible(pictureView, false);
    Press(k32Key, 21);
    EXPECT_EQ(Script(desk), "post:Lumetra Center:4024:1002");
}

TEST_F(LumetraCenterTest, ASearchStoppedAtRowOneKeepsTheOlderSlots) {
    Open();
    Hwnd source = desk.AddWindow("TSourceForm", "Source", false);
    Hwnd playback = desk.AddWindow("OrvalixPlayer_Class", "Playback", false);
    LumetraCenterCommand(sys, 3);
    EXPECT_EQ(sys.lumetraCenterSlots[1], source);
    EXPECT_EQ(sys.lumetraCenterSlots[5], playback);

    Hwnd popup = desk.AddWindow("TPopupForm", "Popup");
    desk.RemoveWindow(source);
    desk.RemoveWindow(playback);
    LumetraCenterCommand(sys, 3);
    EXPECT_EQ(sys.lumetraCenterSlots[0], popup);
    EXPECT_EQ(sys.lumetraCenterSlots[1], source);  // not searched again
    EXPECT_EQ(sys.lumetraCenterSlots[5], playback);
    EXPECT_EQ(App(sys, kLumetraCenter)->hPopup, popup);
}

TEST_F(LumetraCenterTest, WithoutTheMainWindowNothingIsSentButTheSearchesRun) {
    App(sys, kLumetraCenter)->hWnd = 66;
    Hwnd dialog = desk.AddWindow("TDialogForm", "Settings");
    for (std::uint32_t code : {3u, 1004u, 1002u, 18u, 35005u, 10002u}) {
        LumetraCenterCommand(sys, code);
    }
    EXPECT_EQ(Script(desk), "");
    EXPECT_EQ(App(sys, kLumetraCenter)->hWnd, 0u);
    EXPECT_EQ(App(sys, kLumetraCenter)->hPopup, dialog);
    EXPECT_EQ(sys.lumetraCenterSlots[3], dialog);
}

TEST_F(LumetraCenterTest, PausesFollowTheirCommandsWithOrWithoutTheWindow) {
    Press(k44Key, 25);
    Press(k32Key, 20);
    EXPECT_EQ(Script(desk), "sleep:2000 sleep:2000");
    Open();
    desk.AddWindow("TPopupForm", "Popup");
    desk.ClearLog();
    Press(k44Key, 68);  // 3000, B: posted despite the popup
    Press(k44Key, 71);
    Press(k44Key, 27);  // 1001, A: held back, still pauses
    Press(k32Key, 22);
    EXPECT_EQ(Script(desk),
              "post:Lumetra Center:4024:3000 sleep:2000 post:Lumetra Center:4024:3000 sleep:2000 "
              "sleep:2000 post:Lumetra Center:4024:3000 sleep:2000");
}

TEST_F(LumetraCenterTest, KeyCode30Of32KeyFollowsTheSkinProbe) {
    Open();
    sys.bPlaybackBgFound = 1;
    Press(k32Key, 30);
    sys.bPlaybackBgFound = 0;
    Press(k32Key, 30);
    Press(k44Key, 30);
    EXPECT_EQ(Script(desk),
              "post:Lumetra Center:4024:20 post:Lumetra Center:4024:110 "
              "post:Lumetra Center:4024:18");
}

TEST_F(LumetraCenterTest, LayoutsWithoutAMapEmptyCellsAndSharedCodes) {
    Open();
    Press(k50Key, 11);
    Press(k35Key, 11);
    Press(k44Key, 12);
    Press(k32Key, 0);
    Press(k32Key, 67);
    Press(k44Key, 255);
    EXPECT_EQ(Script(desk), "");
    Press(k44Key, 32);
    Press(k44Key, 69);
    Press(k44Key, 33);
    Press(k44Key, 70);
    EXPECT_EQ(Script(desk),
              "post:Lumetra Center:4024:35002 post:Lumetra Center:4024:35002 "
              "post:Lumetra Center:4024:35004 post:Lumetra Center:4024:35004");
}

TEST_F(LumetraCenterTest, TheFollowUpCommandsAfterALaunch) {
    Open();
    Hwnd wizard = desk.AddWindow("TWizardForm", "WizardForm");
    LumetraCenterCommand(sys, 35005);  // to the wizard
    LumetraCenterCommand(sys, 23);     // held back
    EXPECT_EQ(Script(desk), "fg:WizardForm active:WizardForm post:WizardForm:4024:35005");
    desk.RemoveWindow(wizard);
    desk.ClearLog();
    LumetraCenterCommand(sys, 35005);
    LumetraCenterCommand(sys, 23);
    EXPECT_EQ(Script(desk), "post:Lumetra Center:4024:35005 post:Lumetra Center:4024:23");
}

// --- The skin probe --------------------------------------------------------

constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class SkinProbeTest : public LumetraCenterTest {
  protected:
    void Entry(const std::string& name, const std::string& displayName,
               const char* location = nullptr) {
        std::string key = std::string(kUninstall) + "\\" + name;
        desk.SetRegString(key, "DisplayName", displayName);
        if (location != nullptr) {
            desk.SetRegString(key, "InstallLocation", location);
        }
    }
};

TEST_F(SkinProbeTest, FindsTheToolbarImageUnderTheInstallLocation) {
    Entry("Other", "Something else", "C:\\Other");
    Entry("{1234}", "lumetracenter", "C:\\Program Files\\Lumetra");
    desk.AddFile(
        "C:\\Program Files\\Lumetra\\Sorvane\\UI\\Default\\Toolbar\\Playback_BG_MIDDLE.png");
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 1);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

TEST_F(SkinProbeTest, NoImageNoEntryOrNoUninstallKey) {
    sys.bPlaybackBgFound = 1;
    ProbeLumetraCenterSkin(sys);  // no Uninstall key
    EXPECT_EQ(sys.bPlaybackBgFound, 0);

    Entry("A", "Lumetra Center", "C:\\Lumetra");  // not the name looked for
    desk.AddFile("C:\\Lumetra\\Sorvane\\UI\\Default\\Toolbar\\Playback_BG_MIDDLE.png");
    sys.bPlaybackBgFound = 1;
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 0);

    Entry("B", "LumetraCenter", "C:\\Elsewhere");  // no image there
    sys.bPlaybackBgFound = 1;
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 0);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

TEST_F(SkinProbeTest, TheLastMatchingEntryWins) {
    Entry("A", "LUMETRACENTER", "C:\\First");
    Entry("B", "LumetraCenter", "C:\\Second");
    desk.AddFile("C:\\First\\Sorvane\\UI\\Default\\Toolbar\\Playback_BG_MIDDLE.png");
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 0);

    desk.AddFile("C:\\Second\\Sorvane\\UI\\Default\\Toolbar\\Playback_BG_MIDDLE.png");
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 1);
}

TEST_F(SkinProbeTest, AMissingInstallLocationTestsThePathTextAlone) {
    Entry("A", "LumetraCenter");
    desk.AddFile("\\Sorvane\\UI\\Default\\Toolbar\\Playback_BG_MIDDLE.png");
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 1);
}

TEST_F(SkinProbeTest, AStandardUserFindsTheImageUnderALongInstallLocation) {
    desk.standardUser = true;  // may read the Uninstall keys, not write them
    const std::string location = "C:\\Program Files\\" + std::string(150, 'L');
    const std::string image = location + "\\Sorvane\\UI\\Default\\Toolbar\\Playback_BG_MIDDLE.png";
    Entry("A", "LumetraCenter", location.c_str());
    desk.AddFile(image + "\\inside");  // a folder of the image's name is no image
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 0);
    desk.AddFile(image);
    ProbeLumetraCenterSkin(sys);
    EXPECT_EQ(sys.bPlaybackBgFound, 1);
}

}  // namespace
}  // namespace rc
