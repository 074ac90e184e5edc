#pragma once

namespace kavorind {
// The keyboard, polled by Windows virtual-key code. Letters and digits follow the keyboard layout
// (the key labelled Z is 'Z' on AZERTY and QWERTZ too); every other key is found where it sits.

// 1 while the key with this virtual-key code is down, 0 otherwise (also for codes with no key).
// Asks the key source when one is set, the physical keyboard otherwise.
int platformKeyDown(int virtualKey);
// The physical keyboard alone, whatever key source is set (a key source that only rearranges the
// keyboard reads through it).
int platformPhysicalKeyDown(int virtualKey);

// Replaces the physical keyboard with another source of key states (the headless runner's key
// script, tests); null puts the physical keyboard back.
using PlatformKeySource = int (*)(int virtualKey);
void platformSetKeySource(PlatformKeySource source);
// The source in force (null for the physical keyboard), for code that stands in front of it for a
// while and then hands it back.
PlatformKeySource platformKeySource();

// The SDL scancode that platformKeyDown reads for a virtual-key code; 0 for codes with no key.
int platformKeyScancode(int virtualKey);
// Stands in for the layout (tests): gives the SDL scancode of the key that types a character ('a'
// to 'z', '0' to '9'), or 0 when no key does. Null goes back to SDL's keymap. It is read when SDL
// next reports a layout change, as a real switch would be.
using PlatformKeymap = int (*)(int character);
void platformSetKeymap(PlatformKeymap keymap);

} // namespace kavorind
