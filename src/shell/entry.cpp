#include "shell/entry.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "extras/around_start.h"
#include "extras/content_fingerprint.h"
#include "extras/remembered_settings.h"
#include "input/bindings.h"
#include "platform/messages.h"
#include "platform/page_bridge.h"
#include "platform/signals.h"
#include "platform/system_places.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/config_file.h"
#include "shell/data_search.h"
#include "shell/failure_report.h"
#include "shell/options.h"
#include "shell/session.h"
#include "shell/settings_bindings.h"
#include "shell/shutdown.h"
#include "shell/startup.h"
#include "shell/timedemo.h"
#include "shell/window_procedure.h"
#include "sound/sound_device.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

int createMainWindow() {
    PlatformWindow* window = platformCreateWindow(
        "Kavorind", displaySettings.width, displaySettings.height, displaySettings.fullScreen);
    displaySettings.window = window;
    return window ? 1 : 0;
}

// The settings file: --config's, or the user's own (in the system's folder for the player's files
// where it has one, as Windows does).
std::string settingsFilePath(const GameOptions& options) {
    if (const std::string folder = platformUserFolder();
        options.configFile.empty() && !folder.empty())
        return folder + "/kavorind.cfg";
    return configFilePath(options.configFile, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
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

// The configuration file, then the command line over it; what goes wrong is told, never fatal.
GameSettings readSettings(const GameOptions& options, Bindings* bindings) {
    std::string path = settingsFilePath(options);
    std::vector<std::string> problems;
    GameSettings config;
    if (path.empty())
        problems.push_back("no folder for the settings (HOME is not set, nor XDG_CONFIG_HOME to "
                           "an absolute path); the defaults are used");
    else
        config = loadConfigFile(path, settingsFileDefaults(), &problems);
    *bindings = bindingsFromSettings(config, path, &problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "Kavorind: %s\n", problem.c_str());
    return effectiveSettings(config, options);
}

// File names on the command line mean what they meant where the player typed them, even once the
// content folder has become the working directory.
void makeFileOptionsAbsolute(GameOptions* options) {
    for (std::string* name : {&options->dataDir, &options->recordFile, &options->replayFile,
                              &options->traceFile, &options->configFile, &options->timedemoFile}) {
        std::error_code problem;
        if (!name->empty())
            *name = fs::absolute(*name, problem).string();
    }
}

// The content is read by name from the working directory, as the headless runner arranges too.
int enterContentFolder(const std::string& folder) {
    std::error_code problem;
    fs::current_path(folder, problem);
    if (!problem)
        return 1;
    std::string line = "Kavorind: the content folder " + folder + " cannot be opened (" +
                       problem.message() + "). " + contentAdvice;
    reportFailure(startUpFailureText, line);
    return 0;
}

// --where: the folder the game would read, or where it looked in vain; then where the settings
// and the scores are kept.
int showContentFolder(const DataChoice& choice, const GameOptions& options) {
    if (!choice.found) {
        std::fprintf(stderr, "%s\n", noContentFolderLine(choice.searched).c_str());
        return exitFailure;
    }
    std::printf("%s\n", choice.folder.c_str());
    const std::string settings = settingsFilePath(options);
    const std::string scores = playerFolderFromEnvironment();
    std::printf("settings: %s\nscores: %s\n", settings.empty() ? "(nowhere)" : settings.c_str(),
                scores.empty() ? "(nowhere)" : (scores + "/scores.txt").c_str());
    return exitSuccess;
}

// One pass for a loop that the page drives, once a display frame: every message that waits, then
// the frame if one is due. The desktop's loop does the same, sleeping in the queue in between.
int messageLoopPass(int* exitCode) {
    if (!dispatchWaitingMessages(exitCode))
        return 0;
    if (sceneLoop.frameReady && !sceneLoop.renderBusy)
        idleStep();
    return 1;
}

// What follows the loop, whoever ran it: the extras' end, then the session's files. A recording or
// trace not written whole makes the whole run a failure.
int finishProgram(int exitCode) {
    finishAroundGame();
    if (!closeSession() && exitCode == exitSuccess)
        return exitFailure;
    return exitCode;
}

// From the content folder on: the sound, the keys, the window, start-up and the loop. A watched
// replay that names its start begins there rather than at the logo.
int playInContentFolder(const std::string& folder, const Bindings& bindings,
                        const WatchPlan& watch) {
    if (!enterContentFolder(folder))
        return exitFailure;
    chooseSoundOutput(shell.settings.mute, shell.settings.volume);
    // The real game reads the keyboard and pads through the bindings; the headless tools set their
    // own key source before enterProgram.
    installBindings(bindings);
    if (!enterProgram(shell.settings))
        return exitFailure;
    if (watch.startsInGame)
        startRun(watch.start);
    sessionStarted();
    // In the browser the page drives the loop and the program ends from there.
    if (platformHandLoopToPage(timedemo.active ? timedemoPass : messageLoopPass, finishProgram,
                               timedemo.active))
        return exitSuccess;
    return timedemo.active ? runTimedemo() : runMessageLoop();
}

// --watch: the replay becomes the script the session plays. 0 after saying why it cannot.
int takeWatchedReplay(const DataChoice& content, const std::string& fingerprint,
                      GameOptions* options, WatchPlan* watch) {
    if (options->watch.empty())
        return 1;
    std::string error;
    if (!planWatch(options->watch, content.found ? fingerprint : "", watch, &error)) {
        std::fprintf(stderr, "kavorind: %s\n", error.c_str());
        return 0;
    }
    options->replayFile = watch->file;
    return 1;
}

} // namespace

int enterProgram(const GameSettings& settings) {
    // Read here rather than by static constructors, so that the content comes from the working
    // directory the program runs in (the headless runner changes it first), in a known order.
    loadProgramContent();
    displaySettings.fullScreen = settings.fullScreen ? 1 : 0;
    displaySettings.scale = frameScalingFor(settings.scale);
    displaySettings.width = 640;
    displaySettings.height = 480;
    displaySettings.bitsPerPixel = 8;
    if (platformInit() && platformDisplayMissing()) {
        reportFailure(windowFailureText, noDisplayLine);
        return 0;
    }
    if (!createMainWindow()) {
        std::string reason = platformVideoError();
        reportFailure(windowFailureText,
                      "Kavorind: the game's window could not be made" +
                          (reason.empty() ? "" : " (" + reason + ")") +
                          ". Start the game from a desktop session, or check that DISPLAY or "
                          "WAYLAND_DISPLAY names a display it may use.");
        return 0;
    }
    if (!startUp()) {
        reportContentFailure();
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
        std::fputs(keysHelpText(settingsFilePath(options)).c_str(), stdout);
        return exitSuccess;
    }
    if (options.version) {
        std::printf("Kavorind %s\n", KAVORIND_VERSION);
        return exitSuccess;
    }
    DataChoice content = chooseDataFolder(gatherDataSearchInputs(options.dataDir));
    if (options.where)
        return showContentFolder(content, options);
    // The content's fingerprint names its scores: read through once, only when they are wanted.
    std::string fingerprint;
    if (content.found && (options.scores || !options.watch.empty()))
        fingerprint = contentFingerprint(content.folder);
    if (options.scores)
        return content.found ? printScores(fingerprint) : showContentFolder(content, options);
    makeFileOptionsAbsolute(&options);
    WatchPlan watch;
    if (!takeWatchedReplay(content, fingerprint, &options, &watch))
        return exitUsage;
    // A closed terminal ends the game through its shut-down, as SIGINT and SIGTERM do, from
    // before the session's files are made.
    platformQuitOnHangUp();
    // The session's files are opened before the content folder becomes the working directory.
    if (!openSession(options, &error)) {
        std::fprintf(stderr, "kavorind: %s\n", error.c_str());
        return exitUsage;
    }
    if (!options.timedemoFile.empty())
        prepareTimedemo(session.replayLength);
    Bindings bindings;
    shell.settings = readSettings(options, &bindings);
    if (!content.found) {
        reportFailure(startUpFailureText, noContentFolderLine(content.searched));
        closeSession();
        return exitFailure;
    }
    if (aroundGameWanted(shell.settings, options)) {
        if (fingerprint.empty())
            fingerprint = contentFingerprint(content.folder);
        AroundGameSetup setup = aroundGameSetupFor(shell.settings, options, fingerprint, watch);
        setup.settingsFile = settingsFilePath(options);
        startAroundGame(setup);
        startRememberingSettings(setup.settingsFile);
    }
    return finishProgram(playInContentFolder(content.folder, bindings, watch));
}

} // namespace kavorind
