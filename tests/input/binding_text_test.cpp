// The bindings' text form: the defaults written and read back give the same table, every input
// with a name reads back as itself, and a name that is no input is refused by name.

#include "input/binding_text.h"
#include "input/key_state.h"
#include "platform/gamepad.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

Bindings unbound() {
    return Bindings{};
}

} // namespace

TEST(BindingText, DefaultEntriesReadBackAsTheDefaultTable) {
    const std::vector<BindingEntry> entries = defaultBindingEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(bindingRowCount));
    Bindings read = unbound();
    std::string error;
    for (const BindingEntry& entry : entries) {
        EXPECT_TRUE(isBindingKey(entry.key)) << entry.key;
        EXPECT_FALSE(entry.comment.empty()) << entry.key;
        EXPECT_EQ(applyBindingEntry(entry.key, entry.value, &read, &error), 1) << error;
    }
    EXPECT_EQ(read, defaultBindings());
    EXPECT_EQ(entries[GAME_LEFT].key, "bind.left");
    EXPECT_EQ(entries[GAME_LEFT].value, "Left, Pad.DpadLeft, Pad.LeftStickLeft");
    EXPECT_EQ(entries[GAME_FIRE].key, "bind.fire");
    EXPECT_EQ(entries[GAME_FIRE].value, "Z, Return, Space, Pad.A, Pad.Start");
}

TEST(BindingText, EveryNamedInputReadsBackAsItself) {
    std::vector<PhysicalInput> inputs;
    for (int code = 0; code < 256; ++code)
        inputs.push_back({INPUT_KEY, code});
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button)
        inputs.push_back({INPUT_PAD_BUTTON, button});
    for (int direction = 0; direction < PAD_DIRECTION_COUNT; ++direction)
        inputs.push_back({INPUT_PAD_DIRECTION, direction});
    int named = 0;
    for (PhysicalInput input : inputs) {
        std::string name = inputName(input);
        if (input.kind != INPUT_KEY) {
            EXPECT_FALSE(name.empty()) << "pad input " << input.kind << "/" << input.code;
        }
        if (name.empty())
            continue;
        ++named;
        PhysicalInput read;
        ASSERT_EQ(parseInputName(name, &read), 1) << name;
        EXPECT_EQ(read, input) << name;
    }
    // Letters, digits, F-keys, keypad digits and the named keys at least.
    EXPECT_GE(named, 26 + 10 + 12 + 10 + 20 + PAD_BUTTON_COUNT + PAD_DIRECTION_COUNT);
}

TEST(BindingText, NamesReadInAnyCaseWithAliasesAndSpaces) {
    Bindings bindings = unbound();
    std::string error;
    ASSERT_EQ(applyBindingEntry(" BIND.Fire ", " enter,ESC , ctrl, f12,keypad0, z, pad.a, ",
                                &bindings, &error),
              1)
        << error;
    const std::vector<PhysicalInput> expected = {
        {INPUT_KEY, VK_RETURN}, {INPUT_KEY, VK_ESCAPE}, {INPUT_KEY, 0x11},        {INPUT_KEY, 0x7B},
        {INPUT_KEY, 0x60},      {INPUT_KEY, VK_Z},      {INPUT_PAD_BUTTON, PAD_A}};
    EXPECT_EQ(bindings.inputs[GAME_FIRE], expected);
    // An empty value leaves the key unbound.
    ASSERT_EQ(applyBindingEntry("bind.special", "", &bindings, &error), 1);
    EXPECT_TRUE(bindings.inputs[GAME_SPECIAL].empty());
}

TEST(BindingText, UnknownNamesAndKeysAreRefusedByNameLeavingTheTable) {
    const Bindings before = defaultBindings();
    for (const char* bad : {"Foo", "F13", "F0", "Keypad10", "Pad.Z", "Pad.", "ZZ", "Left Right"}) {
        Bindings bindings = before;
        std::string error;
        EXPECT_EQ(applyBindingEntry("bind.up", std::string("Up, ") + bad, &bindings, &error), 0)
            << bad;
        EXPECT_NE(error.find(std::string("\"") + bad + "\""), std::string::npos) << error;
        EXPECT_NE(error.find("bind.up"), std::string::npos) << error;
        EXPECT_EQ(bindings, before) << bad;
    }
    Bindings bindings = before;
    std::string error;
    EXPECT_EQ(isBindingKey("window.fullscreen"), 0);
    EXPECT_EQ(isBindingKey("bind.jump"), 0);
    EXPECT_EQ(applyBindingEntry("bind.jump", "Z", &bindings, &error), 0);
    EXPECT_NE(error.find("bind.jump"), std::string::npos) << error;
    EXPECT_EQ(bindings, before);
}

} // namespace kavorind
