#pragma once

namespace kavorind {
// The keyboard, polled by Windows virtual-key code.

// 1 while the key with this virtual-key code is down, 0 otherwise (also for codes with no key).
int platformKeyDown(int virtualKey);

// Replaces the physical keyboard with another source of key states (the headless runner's key
// script, tests); null puts the physical keyboard back.
using PlatformKeySource = int (*)(int virtualKey);
void platformSetKeySource(PlatformKeySource source);

} // namespace kavorind
