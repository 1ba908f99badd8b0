#include "settings/settings_store.h"
#include "settings/user_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/system.h"
#include "support/sim_desktop.h"
#include "platform/win_defs.h"

namespace rc {
namespace {

const std::string kKey = kSettingsKey;
using Bytes = std::vector<std::uint8_t>;

class SettingsStoreTest : public ::testing::Test {
  protected:
    SettingsStoreTest() { Restart(); }
    // A new process over the same machine, up to the settings read at start.
    void Restart() {
        sys.reset();
        sys = std::make_unique<System>(desk);
    }
    void StartUp() {
        LoadSettings(*sys);
        LoadLaunchSetting(*sys);
    }
    std::vector<std::string> Names() {
        auto names = desk.RegValueNames(kKey);
        std::sort(names.begin(), names.end());
        return names;
    }
    void ExpectDword(const std::string& name, std::uint32_t value) {
        SCOPED_TRACE(name);
        EXPECT_EQ(desk.RegValueType(kKey, name), win::kRegDword);
        EXPECT_EQ(desk.RegValueBytes(kKey, name).size(), 4u);
        EXPECT_EQ(desk.RegDword(kKey, name), value);
    }
    void ExpectStartValues() {
        EXPECT_EQ(sys->nCurRemoteTV, 9u);
        EXPECT_EQ(sys->nIRKEYType, 3u);
        EXPECT_FALSE(sys->alwaysRemoteOff);
        EXPECT_FALSE(sys->traceOn);
        EXPECT_EQ(sys->bLaunchap, 0u);
    }
    SimDesktop desk;
    std::unique_ptr<System> sys;
};

TEST_F(SettingsStoreTest, FirstSecondAndThirdStart) {
    StartUp();
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"AlwaysRemoteOff", "DefaultLaunchAp", "DefaultTVAPP"}));
    ExpectDword("DefaultTVAPP", 9);
    ExpectDword("AlwaysRemoteOff", 0);
    ExpectDword("DefaultLaunchAp", 0);
    ExpectStartValues();
    EXPECT_EQ(desk.RegFlushCount(), 2);

    // The layout is added at the second start but counts from the third.
    Restart();
    StartUp();
    ExpectDword("Default44keyIR", 0);
    EXPECT_EQ(sys->nIRKEYType, 3u);
    Restart();
    StartUp();
    EXPECT_EQ(sys->nIRKEYType, 0u);
    EXPECT_EQ(Names().size(), 4u);  // DBM is never created
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

TEST_F(SettingsStoreTest, StoredValuesAreReadAndLeftAlone) {
    desk.SetRegDword(kKey, "DefaultTVAPP", 5);
    desk.SetRegDword(kKey, "AlwaysRemoteOff", 1);
    desk.SetRegDword(kKey, "Default44keyIR", 4);
    desk.SetRegDword(kKey, "DBM", 1);
    desk.SetRegDword(kKey, "DefaultLaunchAp", 1);
    EXPECT_EQ(LoadSettings(*sys), 1);
    EXPECT_EQ(LoadLaunchSetting(*sys), 1);
    EXPECT_EQ(sys->nCurRemoteTV, 5u);
    EXPECT_TRUE(sys->alwaysRemoteOff);
    EXPECT_EQ(sys->nIRKEYType, 4u);
    EXPECT_TRUE(sys->traceOn);
    EXPECT_EQ(sys->bLaunchap, 1u);
    EXPECT_EQ(desk.RegFlushCount(), 0);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

TEST_F(SettingsStoreTest, FlagsAreOnOnlyForExactlyOneNumbersAreTakenAsTheyAre) {
    desk.SetRegDword(kKey, "DefaultTVAPP", 77);
    desk.SetRegDword(kKey, "AlwaysRemoteOff", 2);
    desk.SetRegDword(kKey, "Default44keyIR", 12);
    desk.SetRegDword(kKey, "DBM", 2);
    desk.SetRegDword(kKey, "DefaultLaunchAp", 0x101);
    sys->bLaunchap = 1;
    StartUp();
    EXPECT_FALSE(sys->alwaysRemoteOff);
    EXPECT_FALSE(sys->traceOn);
    EXPECT_EQ(sys->bLaunchap, 0u);
    EXPECT_EQ(sys->nCurRemoteTV, 77u);
    EXPECT_EQ(sys->nIRKEYType, 12u);
}

TEST_F(SettingsStoreTest, MissingValuesInAnExistingKey) {
    desk.CreateRegKey(kKey);
    sys->nCurRemoteTV = 4;  // as if chosen earlier in this run
    sys->bLaunchap = 1;
    StartUp();
    ExpectDword("DefaultTVAPP", 4);
    ExpectDword("AlwaysRemoteOff", 0);
    ExpectDword("Default44keyIR", 0);
    ExpectDword("DefaultLaunchAp", 1);
    EXPECT_FALSE(desk.RegValueExists(kKey, "DBM"));
    EXPECT_EQ(sys->nIRKEYType, 3u);
    // Three writes and DBM's lone flush, then the launch setting's write.
    EXPECT_EQ(desk.RegFlushCount(), 5);
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);

    // Without the key, the launch setting is created as 0 whatever the variable.
    desk.DeleteRegKey(kKey);
    EXPECT_EQ(LoadLaunchSetting(*sys), 1);
    EXPECT_EQ(Names(), std::vector<std::string>{"DefaultLaunchAp"});
    ExpectDword("DefaultLaunchAp", 0);
    EXPECT_EQ(sys->bLaunchap, 1u);
}

TEST_F(SettingsStoreTest, RegistryTypeIsNotLookedAt) {
    desk.SetRegBinary(kKey, "DefaultTVAPP", {5});  // one byte
    desk.SetRegBinary(kKey, "AlwaysRemoteOff", {1, 0, 0, 0});
    desk.SetRegString(kKey, "Default44keyIR", "");  // just the NUL
    desk.SetRegBinary(kKey, "DBM", {1, 0}, win::kRegNone);
    desk.SetRegString(kKey, "DefaultLaunchAp", "ab");  // 'a' 'b' NUL: not 1
    StartUp();
    EXPECT_EQ(sys->nCurRemoteTV, 5u);
    EXPECT_TRUE(sys->alwaysRemoteOff);
    EXPECT_EQ(sys->nIRKEYType, 0u);
    EXPECT_TRUE(sys->traceOn);
    EXPECT_EQ(sys->bLaunchap, 0u);
    EXPECT_EQ(desk.RegValueType(kKey, "DefaultTVAPP"), win::kRegBinary);  // nothing rewritten
    EXPECT_EQ(desk.RegFlushCount(), 0);
}

TEST_F(SettingsStoreTest, DataLongerThanFourBytesCountsAsMissing) {
    const Bytes eight = {1, 0, 0, 0, 0, 0, 0, 0};
    desk.SetRegBinary(kKey, "DefaultTVAPP", {5, 0, 0, 0, 0, 0, 0, 0});
    desk.SetRegString(kKey, "AlwaysRemoteOff", "1111111111");
    desk.SetRegBinary(kKey, "Default44keyIR", {4, 0, 0, 0, 0}, 11);
    desk.SetRegBinary(kKey, "DBM", eight);
    desk.SetRegBinary(kKey, "DefaultLaunchAp", eight);
    StartUp();
    ExpectDword("DefaultTVAPP", 9);  // replaced with the current value
    ExpectDword("AlwaysRemoteOff", 0);
    ExpectDword("Default44keyIR", 0);
    ExpectDword("DefaultLaunchAp", 0);
    ExpectStartValues();
    EXPECT_EQ(desk.RegValueBytes(kKey, "DBM"), eight);  // never created, so never replaced
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

TEST_F(SettingsStoreTest, WithoutWriteRightsTheStoredSettingsAreObeyedAndSavesRefused) {
    desk.refuseAllAccess = true;  // a limited user whose writes Windows does not virtualise
    sys->traceOn = true;
    EXPECT_EQ(LoadSettings(*sys), 0);
    EXPECT_EQ(LoadLaunchSetting(*sys), 0);
    EXPECT_FALSE(desk.RegKeyExists(kKey));

    // Stored by an administrator: read also by a standard user, whose own
    // writes Windows virtualises.
    for (bool standardUser : {true, false}) {
        SCOPED_TRACE(standardUser ? "standard user" : "no write rights");
        desk.refuseAllAccess = !standardUser;
        desk.standardUser = standardUser;
        desk.SetRegDword(kKey, "DefaultTVAPP", 5);
        desk.SetRegDword(kKey, "AlwaysRemoteOff", 1);
        desk.SetRegDword(kKey, "Default44keyIR", 1);
        desk.SetRegDword(kKey, "DefaultLaunchAp", 1);
        Restart();
        sys->traceOn = true;
        StartUp();
        EXPECT_EQ(sys->nCurRemoteTV, 5u);
        EXPECT_TRUE(sys->alwaysRemoteOff);
        EXPECT_EQ(sys->nIRKEYType, 1u);
        EXPECT_EQ(sys->bLaunchap, 1u);
        sys->nCurRemoteTV = 2;
        EXPECT_EQ(SaveDefaultTVApp(*sys), standardUser ? 1 : 0);
        EXPECT_EQ(desk.RegDword(kKey, "DefaultTVAPP"), standardUser ? 2u : 5u);
        EXPECT_EQ(sys->nCurRemoteTV, 2u);  // the running process keeps its choice
        EXPECT_EQ(desk.OpenRegKeyCount(), 0);
    }
    EXPECT_EQ(desk.Traces(),
              (std::vector<std::string>{"<Remote Control>  Can't save " + kKey + " (5)",
                                        "<Remote Control>  Can't save " + kKey + " (5)",
                                        "<Remote Control>  Can't save DefaultTVAPP (5)"}));
}

TEST_F(SettingsStoreTest, SavesWriteOnlyExistingValuesOfFourBytes) {
    StartUp();
    int flushes = desk.RegFlushCount();
    sys->nCurRemoteTV = 2;
    sys->bLaunchap = 7;  // any non-zero value is stored as 1
    EXPECT_EQ(SaveDefaultTVApp(*sys), 1);
    EXPECT_EQ(SaveLaunchSetting(*sys), 1);
    ExpectDword("DefaultTVAPP", 2);
    ExpectDword("DefaultLaunchAp", 1);
    EXPECT_EQ(desk.RegFlushCount(), flushes + 2);

    const Bytes eight = {9, 0, 0, 0, 0, 0, 0, 0};
    desk.SetRegBinary(kKey, "DefaultTVAPP", eight);
    desk.DeleteRegValue(kKey, "DefaultLaunchAp");
    EXPECT_EQ(SaveDefaultTVApp(*sys), 0);
    EXPECT_EQ(SaveLaunchSetting(*sys), 0);
    EXPECT_EQ(desk.RegValueBytes(kKey, "DefaultTVAPP"), eight);
    EXPECT_FALSE(desk.RegValueExists(kKey, "DefaultLaunchAp"));
    EXPECT_EQ(sys->nCurRemoteTV, 2u);  // the running process keeps its choice

    desk.DeleteRegKey(kKey);
    EXPECT_EQ(SaveDefaultTVApp(*sys), 0);
    EXPECT_FALSE(desk.RegKeyExists(kKey));
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

// ShowButtons is the user's own, under HKEY_CURRENT_USER: 0 or missing is
// off, any other number on; data that is no number counts as missing.
TEST_F(SettingsStoreTest, ShowButtonsIsReadFromTheUsersOwnKey) {
    const std::string userKey = std::string("HKEY_CURRENT_USER\\") + kUserOptionsKey;
    LoadUserOptions(*sys);
    EXPECT_FALSE(sys->showButtons);
    desk.SetRegDword(kKey, "ShowButtons", 1);  // the machine's key is not the user's
    LoadUserOptions(*sys);
    EXPECT_FALSE(sys->showButtons);
    for (const Bytes& data : {Bytes{1, 0, 0, 0}, Bytes{2}, Bytes{0, 0, 0, 0}, Bytes(8, 1)}) {
        desk.SetRegBinary(userKey, "ShowButtons", data, win::kRegDword);
        sys->showButtons = false;
        LoadUserOptions(*sys);
        EXPECT_EQ(sys->showButtons, data.size() <= 4 && data[0] != 0);
    }
    EXPECT_EQ(desk.OpenRegKeyCount(), 0);
}

}  // namespace
}  // namespace rc
