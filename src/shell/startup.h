#pragma once

namespace kavorind {

// Brings up the display and the frame timer, hides the cursor, clears the keys and sets the first
// scene; 1 on success.
int startUp();

} // namespace kavorind
