// Key bindings read from a settings file, as a player would write them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/input.h"
#include "platform/sdl/key_bindings.h"
#include "shell/key_bindings.h"
#include "shell/settings_file.h"
#include "support/headless_run.h"

using namespace platform;
using namespace platform::sdl;
using testing::HasSubstr;

namespace {

class KeyBindings : public testing::Test {
protected:
    void TearDown() override { UseBindings(DefaultBindings()); }

    // Loads the bindings from a settings file holding `text`; returns stderr.
    std::string load(const std::string& text) {
        dir_.write("settings", text);
        testing::internal::CaptureStderr();
        LoadKeyBindings(store_);
        return testing::internal::GetCapturedStderr();
    }

    static int keyFor(const char* name) { return BindingForKey(SDL_GetKeyFromName(name)).virtualKey; }

    testing_support::ScratchDir dir_;
    SettingsFile store_{dir_.path() / "settings"};
};

TEST_F(KeyBindings, TodaysKeysWhenTheFileNamesNoneAndOnlyPauseDoesNotRepeat) {
    EXPECT_EQ(load(""), "");
    const std::pair<const char*, int> keys[] = {
        {"Left", VK_LEFT}, {"Keypad 6", VK_RIGHT},      {"Up", VK_UP},         {"Down", VK_DOWN}, {"Space", VK_F9},
        {"P", VK_F10},     {"Keypad Enter", VK_RETURN}, {"Escape", VK_ESCAPE}, {"=", VK_F6},      {"Keypad -", VK_F7},
        {"Q", 0}};
    for (const auto& [name, key] : keys) EXPECT_EQ(keyFor(name), key) << name;
    EXPECT_FALSE(BindingForKey(SDLK_p).repeats);
    EXPECT_TRUE(BindingForKey(SDLK_SPACE).repeats);
}

TEST_F(KeyBindings, AFileRebindsAnActionAndLeavesTheOthers) {
    EXPECT_EQ(load("key.fire = Left Ctrl, z\nkey.left = A\n"), "");
    EXPECT_EQ(keyFor("Left Ctrl"), VK_F9);
    EXPECT_EQ(keyFor("Z"), VK_F9);
    EXPECT_EQ(keyFor("Space"), 0);
    EXPECT_EQ(keyFor("A"), VK_LEFT);
    EXPECT_EQ(keyFor("Left"), 0);
    EXPECT_EQ(keyFor("Right"), VK_RIGHT);
}

TEST_F(KeyBindings, AnUnknownNameIsSaidAndTheActionKeepsItsDefault) {
    const std::string said = load("key.fire = Space, Spcae\nkey.pause = \nkey.left = D\n");
    EXPECT_THAT(said, HasSubstr("key.fire = Space, Spcae has \"Spcae\", which is not an SDL key name"));
    EXPECT_THAT(said, HasSubstr("key.fire keeps its default keys (Space, 5, Keypad 5, F8, F9)"));
    EXPECT_THAT(said, HasSubstr("key.pause"));
    EXPECT_EQ(keyFor("F8"), VK_F9);
    EXPECT_EQ(keyFor("P"), VK_F10);
    EXPECT_EQ(keyFor("D"), VK_LEFT);
}

TEST_F(KeyBindings, AreWrittenWithANoteOnHowToChangeThemAndReadBackTheSame) {
    load("");
    ASSERT_TRUE(store_.save());
    const std::string text = testing_support::ReadFile((dir_.path() / "settings").string());
    EXPECT_THAT(text, HasSubstr("# Keys: each key.<action> line names the keys for one action by their SDL\n"));
    EXPECT_THAT(text, HasSubstr("key.left = Left, 4, Keypad 4, F1\n"));
    EXPECT_THAT(text, HasSubstr("key.volume-up = +, =, Keypad +, F6\n"));
    EXPECT_LT(text.find("# Keys:"), text.find("key.left ="));

    SettingsFile again{dir_.path() / "settings"};
    testing::internal::CaptureStderr();
    again.load();
    const std::vector<ActionKeys> read = ReadBindings(again);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const std::vector<ActionKeys> defaults = DefaultBindings();
    ASSERT_EQ(read.size(), defaults.size());
    for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].keys, defaults[i].keys) << read[i].setting;
}

}  // namespace
