#include "shell/dialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "apps/app_record.h"
#include "core/system.h"
#include "support/sim_desktop.h"
#include "platform/win_defs.h"
#include "resources/resource.h"
#include "settings/settings_store.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;
using Items = std::vector<std::string>;

constexpr const char* kMceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

class DialogsTest : public ::testing::Test {
  protected:
    DialogsTest() : sys(desk) {
        owner = desk.AddWindow("Remote Control", "Remote Control", false);
        desk.SetRegDword(kSettingsKey, "DefaultTVAPP", 9);
        desk.SetRegDword(kSettingsKey, "DefaultLaunchAp", 0);
    }

    void InstallMediaCenter() { desk.SetRegString(kMceKey, "Ident", "5.0"); }

    // Opens the Setting dialog; the script runs while it is open.
    std::intptr_t Setting(std::function<void(Hwnd)> script) {
        desk.onDialog = [this, script](Hwnd dlg, std::uint32_t templateId) {
            EXPECT_EQ(templateId, static_cast<std::uint32_t>(IDD_SETTING));
            items = desk.ComboItems(dlg, IDC_APP_LIST);
            selection = desk.ComboSelection(dlg, IDC_APP_LIST);
            checked = desk.ItemChecked(dlg, IDC_AUTO_LAUNCH);
            script(dlg);
        };
        desk.ClearLog();
        ShowSettingDialog(sys, owner);
        std::vector<SimEvent> ended = desk.Events(Kind::DialogEnded);
        return ended.empty() ? -1 : ended.back().a;
    }
    std::intptr_t SettingOk() {
        return Setting([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdOk); });
    }

    SimDesktop desk;
    System sys;
    Hwnd owner = 0;
    Items items;
    int selection = -2;
    bool checked = false;
};

TEST_F(DialogsTest, BothDialogsArePlacedByScreenWidth) {
    // The table itself is the shutdown confirmation's; both dialogs share it.
    for (int width : {1600, 1366}) {
        desk.SetSystemMetric(win::kSmCxFullScreen, width);
        desk.onDialog = [&](Hwnd dlg, std::uint32_t) {
            EXPECT_EQ(desk.IsTopmost(dlg), width == 1600);
            EXPECT_EQ(desk.WindowPosition(dlg).x, width == 1600 ? 580 : 0);
            EXPECT_EQ(desk.WindowPosition(dlg).y, width == 1600 ? 340 : 0);
        };
        ShowAboutDialog(sys, owner);
        ShowSettingDialog(sys, owner);
    }
    EXPECT_EQ(desk.Events(Kind::SetWindowPos).size(), 2u);
}

TEST_F(DialogsTest, AboutEndsWithItsCommandAndStoresNothing) {
    for (int command : {win::kIdOk, win::kIdCancel}) {
        desk.ClearLog();
        desk.onDialog = [&](Hwnd dlg, std::uint32_t templateId) {
            EXPECT_EQ(templateId, static_cast<std::uint32_t>(IDD_ABOUT));
            EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmCommand, 1007, 0), 0);
            desk.SendDialogMessage(dlg, win::kWmCommand, command, 0);
        };
        ShowAboutDialog(sys, owner);
        std::vector<SimEvent> ended = desk.Events(Kind::DialogEnded);
        ASSERT_EQ(ended.size(), 1u);
        EXPECT_EQ(ended[0].a, command);
    }
    EXPECT_EQ(sys.nCurRemoteTV, 9u);
    EXPECT_EQ(desk.RegFlushCount(), 0);
}

TEST_F(DialogsTest, ListsInstalledApplicationsInOrderAndSelectsTheCurrentOne) {
    App(sys, kPallamo)->bInstalled = 1;
    App(sys, kTotalMedia)->bInstalled = 1;
    App(sys, kPowerCinema)->bInstalled = 1;   // never listed
    App(sys, kLumetraPanel)->bInstalled = 1;  // never listed
    InstallMediaCenter();
    sys.nCurRemoteTV = kTotalMedia;

    EXPECT_EQ(SettingOk(), win::kIdOk);
    EXPECT_EQ(items, (Items{"Pallamo", "Media Center Edition", "TotalMedia"}));
    EXPECT_EQ(selection, 2);
    EXPECT_EQ(sys.nCurRemoteTV, 5u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 9u);  // unchanged: not saved

    App(sys, kLumetraCenter)->bInstalled = 1;
    sys.nCurRemoteTV = kLumetraCenter;
    Setting([](Hwnd) {});
    EXPECT_EQ(items, (Items{"Pallamo", "Media Center Edition", "TotalMedia", "Lumetra Center"}));
    EXPECT_EQ(selection, 3);
}

TEST_F(DialogsTest, OkStoresTheApplicationTheUserChose) {
    App(sys, kPallamo)->bInstalled = 1;
    App(sys, kLumetraCenter)->bInstalled = 1;
    Setting([&](Hwnd dlg) {
        desk.SetComboSelection(dlg, IDC_APP_LIST, 0);
        desk.SendDialogMessage(dlg, win::kWmCommand, (1u << 16) | IDC_APP_LIST, 0);  // ignored
        desk.ClickDialogItem(dlg, win::kIdOk);
    });
    EXPECT_EQ(selection, 1);
    EXPECT_EQ(sys.nCurRemoteTV, 2u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 2u);
    EXPECT_EQ(sys.rememberedListPosition, 0);
    EXPECT_STREQ(sys.selectionText, "Pallamo");

    // Esc after choosing changes nothing.
    EXPECT_EQ(Setting([&](Hwnd dlg) {
                  desk.SetComboSelection(dlg, IDC_APP_LIST, 1);
                  desk.SendDialogMessage(dlg, win::kWmCommand, win::kIdCancel, 0);
              }),
              win::kIdCancel);
    EXPECT_EQ(selection, 0);
    EXPECT_EQ(sys.nCurRemoteTV, 2u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 2u);
}

TEST_F(DialogsTest, UnlistedCurrentApplicationChangesOnlyWhenTheUserPicksOne) {
    App(sys, kPallamo)->bInstalled = 1;
    App(sys, kTotalMedia)->bInstalled = 1;
    App(sys, kPowerCinema)->bInstalled = 1;
    sys.nCurRemoteTV = kPowerCinema;
    desk.SetRegDword(kSettingsKey, "DefaultTVAPP", 1);

    // Only the check box ticked: nothing was preselected, nothing changes.
    Setting([&](Hwnd dlg) {
        desk.ClickDialogItem(dlg, IDC_AUTO_LAUNCH);
        desk.ClickDialogItem(dlg, win::kIdOk);
    });
    EXPECT_EQ(selection, -1);
    EXPECT_EQ(sys.nCurRemoteTV, 1u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 1u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 1u);

    // An item picked: it becomes the current application.
    Setting([&](Hwnd dlg) {
        desk.SetComboSelection(dlg, IDC_APP_LIST, 1);
        desk.ClickDialogItem(dlg, win::kIdOk);
    });
    EXPECT_EQ(selection, -1);
    EXPECT_EQ(sys.nCurRemoteTV, 5u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 5u);
}

TEST_F(DialogsTest, EmptyListChangesNothing) {
    // Nothing installed at all: nothing selected, nothing changes.
    sys.nCurRemoteTV = kPallamo;
    SettingOk();
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(selection, -1);
    EXPECT_EQ(sys.nCurRemoteTV, 2u);
    EXPECT_EQ(sys.rememberedListPosition, -1);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultTVAPP"), 9u);

    // Not even after an earlier OK that chose "TotalMedia".
    App(sys, kTotalMedia)->bInstalled = 1;
    Setting([&](Hwnd dlg) {
        desk.SetComboSelection(dlg, IDC_APP_LIST, 0);
        desk.ClickDialogItem(dlg, win::kIdOk);
    });
    EXPECT_EQ(sys.nCurRemoteTV, 5u);
    App(sys, kTotalMedia)->bInstalled = 0;
    sys.nCurRemoteTV = kLumetraCenter;
    SettingOk();
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(sys.nCurRemoteTV, 9u);
}

TEST_F(DialogsTest, CheckBoxSavesAtOnceEvenWhenClosedWithEsc) {
    desk.SetRegDword(kSettingsKey, "DefaultLaunchAp", 1);
    sys.bLaunchap = 0;
    Setting([&](Hwnd dlg) {
        EXPECT_TRUE(desk.ItemChecked(dlg, IDC_AUTO_LAUNCH));  // read again on opening
        desk.ClickDialogItem(dlg, IDC_AUTO_LAUNCH);
        EXPECT_EQ(sys.bLaunchap, 0u);
        EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 0u);
        desk.ClickDialogItem(dlg, IDC_AUTO_LAUNCH);
        EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 1u);
        desk.ClickDialogItem(dlg, IDC_AUTO_LAUNCH);
        desk.SendDialogMessage(dlg, win::kWmCommand, win::kIdCancel, 0);
    });
    EXPECT_EQ(sys.bLaunchap, 0u);
    EXPECT_EQ(desk.RegDword(kSettingsKey, "DefaultLaunchAp"), 0u);
    EXPECT_EQ(sys.nCurRemoteTV, 9u);
}

}  // namespace
}  // namespace rc
