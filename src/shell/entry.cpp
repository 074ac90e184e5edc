#include "shell/entry.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "platform/messages.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/options.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "shell/window_procedure.h"

#include <cstdio>
#include <string>

namespace kavorind {

namespace {

void reportFailure(const char* text) {
    std::fprintf(stderr, "Error: %s\n", text);
    platformShowMessageBox("Error", text);
}

int createMainWindow() {
    PlatformWindow* window = platformCreateWindow(
        "Kavorind", displaySettings.width, displaySettings.height, displaySettings.fullScreen);
    displaySettings.window = window;
    return window ? 1 : 0;
}

int dispatchOne(int* exitCode) {
    Message message;
    if (!platformGetMessage(&message)) {
        *exitCode = static_cast<int>(message.wParam);
        return 0;
    }
    MainWindowProc(message.window, message.message, message.wParam, message.lParam);
    return 1;
}

} // namespace

int enterProgram() {
    // Read here rather than by static constructors, so that the content comes from the working
    // directory the program runs in (the headless runner changes it first), in a known order.
    loadProgramContent();
    displaySettings.fullScreen = 1;
    displaySettings.width = 640;
    displaySettings.height = 480;
    displaySettings.bitsPerPixel = 8;
    if (!createMainWindow()) {
        reportFailure(windowFailureText);
        return 0;
    }
    if (!startUp()) {
        reportFailure(startUpFailureText);
        return 0;
    }
    return 1;
}

int dispatchWaitingMessages(int* exitCode) {
    while (platformPeekMessage())
        if (!dispatchOne(exitCode))
            return 0;
    return 1;
}

int runMessageLoop() {
    int exitCode = 0;
    for (;;) {
        if (platformPeekMessage()) {
            if (!dispatchOne(&exitCode))
                return exitCode;
        } else if (sceneLoop.frameReady && !sceneLoop.renderBusy) {
            idleStep();
        } else {
            // Nothing to draw until the next tick: sleep in the queue instead of spinning.
            platformWaitMessage();
        }
    }
}

int kavorindMain(int argc, const char* const* argv) {
    GameOptions options;
    std::string error;
    if (!parseOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "kavorind: %s\n%s", error.c_str(), usageText());
        return exitUsage;
    }
    if (options.help) {
        std::fputs(usageText(), stdout);
        return exitSuccess;
    }
    if (options.version) {
        std::printf("Kavorind %s\n", KAVORIND_VERSION);
        return exitSuccess;
    }
    if (!openSession(options, &error)) {
        std::fprintf(stderr, "kavorind: %s\n", error.c_str());
        return exitUsage;
    }
    int exitCode = enterProgram() ? runMessageLoop() : 0;
    closeSession();
    return exitCode;
}

} // namespace kavorind
