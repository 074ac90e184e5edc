#include "extras/remembered_settings.h"

#include "shell/settings_update.h"

#include <cstdio>

namespace kavorind {

RememberedSettings rememberedSettings;

void startRememberingSettings(const std::string& settingsFile) {
    rememberedSettings = RememberedSettings{1, settingsFile, 0};
}

void stopRememberingSettings() {
    rememberedSettings = RememberedSettings{};
}

void rememberWindowMode(int fullScreen) {
    RememberedSettings& remembered = rememberedSettings;
    if (!remembered.started || remembered.settingsFile.empty())
        return;
    std::string why;
    if (updateSettingsFile(remembered.settingsFile, "fullscreen", fullScreen ? "yes" : "no",
                           &why) ||
        remembered.failureSaid)
        return;
    // A file that cannot be written now will not be at the next switch either.
    remembered.failureSaid = 1;
    std::fprintf(stderr, "Kavorind: the window mode is not remembered in %s: %s\n",
                 remembered.settingsFile.c_str(), why.c_str());
}

} // namespace kavorind
