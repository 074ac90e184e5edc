#pragma once
#include <string>

namespace kavorind {
// Choices the player makes while playing that the next game starts with. Started only with the
// additions (never with classic = yes), for the settings file the game read.

struct RememberedSettings {
    int started = 0;
    std::string settingsFile;
    int failureSaid = 0; // a file that cannot take the choice is said once
};

extern RememberedSettings rememberedSettings;

void startRememberingSettings(const std::string& settingsFile);
void stopRememberingSettings();
// After F11 or Alt+Enter switched the window: fullscreen = yes or no goes into the settings file.
// A failure is said once on stderr and changes nothing else.
void rememberWindowMode(int fullScreen);

} // namespace kavorind
