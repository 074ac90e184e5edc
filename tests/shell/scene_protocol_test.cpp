#include "shell_fixture.h"

#include "scenes/scene_trace.h"

#include <string>

namespace kavorind {

namespace {

// A scene that writes down what was called, ends when told to, and can fail its start or render.
std::string calls;
int updatesLeft = 0;
int startResult = 1;
int renderResult = 1;
int started = 0;
int successor = SceneMenu;

int fakeStart() {
    calls += "start ";
    return startResult;
}
void fakeStop() {
    calls += "stop ";
}
int fakeUpdate() {
    calls += "update ";
    return updatesLeft-- > 0;
}
int fakeRender() {
    calls += "render ";
    colourFill(displayDevice.backSurface(), 7);
    displayDevice.present();
    return renderResult;
}
int fakeLeave() {
    calls += "leave ";
    return successor;
}

void fakeTrace(TraceFields& fields) {
    traceField(fields, "fakeStarted", started);
}

const Scene fakeScene{.started = &started,
                      .start = fakeStart,
                      .stop = fakeStop,
                      .update = fakeUpdate,
                      .render = fakeRender,
                      .leave = fakeLeave,
                      .trace = fakeTrace};

// The logo's way: a render returning 0 is the end, and the menu follows.
const Scene fakeLogo{.started = &started,
                     .start = fakeStart,
                     .stop = fakeStop,
                     .update = fakeUpdate,
                     .render = fakeRender,
                     .leave = fakeLeave,
                     .renderEndSuccessor = SceneMenu};

// A scene with a tick of its own that forgets to let the timer through.
void forgetfulTick(PendingFlag*) {
    calls += "own-tick ";
}
const Scene forgetfulScene{.started = &started, .tick = forgetfulTick};

// Scenes that write down their number when stopped, for the shut-down order.
template <int number> void stopNumbered() {
    calls += std::to_string(number) + " ";
}
template <int number> const Scene numberedScene{.started = &started, .stop = stopNumbered<number>};

int presents = 0;
int lastFrameAllBlack = 0;
void watchPresent(const Surface& frame, const DevicePalette*) {
    ++presents;
    lastFrameAllBlack = 1;
    for (uint8_t pixel : frame.pixels)
        if (pixel != 0)
            lastFrameAllBlack = 0;
}

struct SceneProtocolTest : ShellTest {
    PendingFlag pending{1};
    void SetUp() override {
        ShellTest::SetUp();
        calls.clear();
        updatesLeft = 1000;
        startResult = 1;
        renderResult = 1;
        started = 0;
        successor = SceneMenu;
        presents = 0;
        sceneTable.scenes[SceneLogo] = &fakeLogo;
        sceneTable.scenes[SceneMenu] = &fakeScene;
        setPresentObserver(watchPresent);
    }
    void TearDown() override {
        setPresentObserver(nullptr);
        ShellTest::TearDown();
    }
    void tick() {
        pending = 1;
        MainWindowProc(displaySettings.window, TickMessage, 1,
                       reinterpret_cast<intptr_t>(&pending));
    }
};

} // namespace

TEST_F(SceneProtocolTest, FirstTickStartsThenUpdatesAndAsksForAFrame) {
    tick();
    EXPECT_EQ(calls, "start update ");
    EXPECT_EQ(started, 1);
    EXPECT_EQ(sceneLoop.frameReady, 1);
    EXPECT_EQ(pending, 0);
    tick();
    EXPECT_EQ(calls, "start update update ");
}

TEST_F(SceneProtocolTest, IdleStepRendersOnlyARaisedFrameAndOnlyOnce) {
    idleStep();
    EXPECT_EQ(calls, "");
    tick();
    sceneLoop.renderBusy = 1;
    idleStep();
    EXPECT_EQ(calls, "start update ");
    sceneLoop.renderBusy = 0;
    idleStep();
    idleStep();
    EXPECT_EQ(calls, "start update render ");
    EXPECT_EQ(sceneLoop.frameReady, 0);
    EXPECT_EQ(sceneLoop.renderBusy, 0);
    EXPECT_EQ(presents, 1);
}

TEST_F(SceneProtocolTest, LeavingTickStopsShowsOneBlackFrameAndHandsOver) {
    sceneLoop.currentScene = SceneMenu;
    successor = SceneOpening;
    updatesLeft = 1;
    tick();
    idleStep();
    presents = 0;
    tick();
    EXPECT_EQ(calls, "start update render update stop leave ");
    EXPECT_EQ(started, 0);
    EXPECT_EQ(pending, 0);
    EXPECT_EQ(sceneLoop.frameReady, 0);
    EXPECT_EQ(sceneLoop.currentScene, SceneOpening);
    EXPECT_EQ(presents, 1);
    EXPECT_EQ(lastFrameAllBlack, 1);
    idleStep();
    EXPECT_EQ(presents, 1);
}

TEST_F(SceneProtocolTest, FailedStartPostsDestroyAndTheTickGoesOn) {
    startResult = 0;
    tick();
    EXPECT_EQ(calls, "start update ");
    EXPECT_EQ(sceneLoop.frameReady, 1);
    EXPECT_EQ(countOf(drainMessages(), WM_DESTROY), 1);
}

TEST_F(SceneProtocolTest, FailedRenderPostsDestroyButEndsTheLogoQuietly) {
    renderResult = 0;
    sceneLoop.currentScene = SceneMenu;
    tick();
    idleStep();
    EXPECT_EQ(countOf(drainMessages(), WM_DESTROY), 1);
    sceneLoop.currentScene = SceneLogo;
    tick();
    idleStep();
    EXPECT_EQ(sceneLoop.currentScene, SceneMenu);
    EXPECT_EQ(countOf(drainMessages(), WM_DESTROY), 0);
}

TEST_F(SceneProtocolTest, RenderWithoutADisplayFailsAndDestroyIsRepeatable) {
    MainWindowProc(displaySettings.window, WM_DESTROY, 0, 0);
    MainWindowProc(displaySettings.window, WM_DESTROY, 0, 0);
    EXPECT_EQ(displayDevice.backSurface(), nullptr);
    EXPECT_EQ(countOf(drainMessages(), WM_QUIT), 2);
    // A tick still queued when shut-down ran does nothing at all.
    calls.clear();
    tick();
    idleStep();
    EXPECT_EQ(calls, "");
    EXPECT_EQ(pending, 1);
}

TEST_F(SceneProtocolTest, ShutDownStopsTheScenesThatHoldResourcesInItsOrder) {
    for (int number = 1; number <= sceneCount; ++number)
        sceneTable.scenes[static_cast<size_t>(number)] = nullptr;
    sceneTable.scenes[SceneLogo] = &numberedScene<SceneLogo>;
    sceneTable.scenes[SceneMenu] = &numberedScene<SceneMenu>;
    sceneTable.scenes[SceneGame] = &numberedScene<SceneGame>;
    sceneTable.scenes[SceneStageClear] = &numberedScene<SceneStageClear>;
    sceneTable.scenes[SceneEnding] = &numberedScene<SceneEnding>;
    sceneTable.scenes[SceneOpening] = &numberedScene<SceneOpening>;
    shutDown();
    // Stage clear, ending, menu, game; the logo and the opening hold nothing.
    EXPECT_EQ(calls, "4 5 2 3 ");
}

TEST_F(SceneProtocolTest, DispatchLetsTheTimerThroughWhateverTheSceneDid) {
    sceneTable.scenes[SceneMenu] = &forgetfulScene;
    sceneLoop.currentScene = SceneMenu;
    tick();
    EXPECT_EQ(calls, "own-tick ");
    EXPECT_EQ(pending, 0);
    // A scene number without a scene (yet) does not silence the timer either.
    sceneLoop.currentScene = SceneGame;
    tick();
    EXPECT_EQ(pending, 0);
}

TEST_F(SceneProtocolTest, EachSceneAddsItsOwnTraceFields) {
    TraceFields fields;
    traceScenes(fields);
    EXPECT_NE(fields.text.find("\"fakeStarted\":0"), std::string::npos) << fields.text;
    tick();
    TraceFields after;
    traceScenes(after);
    EXPECT_NE(after.text.find("\"fakeStarted\":1"), std::string::npos) << after.text;
    EXPECT_NE(after.text.find("\"stageIndex\":"), std::string::npos) << after.text;
}

TEST_F(SceneProtocolTest, UnknownSceneNumbersDispatchNothing) {
    for (int number : {0, 7, -1}) {
        sceneLoop.currentScene = number;
        tick();
        sceneLoop.frameReady = 1;
        idleStep();
    }
    EXPECT_EQ(calls, "");
}

TEST_F(SceneProtocolTest, PaletteMessagesRestoreALostPrimary) {
    DevicePalette* palette = displayDevice.palette.directDrawPalette();
    platformMarkFrameTexturesLost();
    EXPECT_EQ(displayDevice.present(), 0);
    // The program's own palette change is ignored; another window's is not.
    MainWindowProc(displaySettings.window, WM_PALETTECHANGED,
                   reinterpret_cast<uintptr_t>(displaySettings.window), 0);
    EXPECT_EQ(displayDevice.present(), 0);
    MainWindowProc(displaySettings.window, WM_PALETTECHANGED, 0, 0);
    EXPECT_EQ(displayDevice.present(), 1);
    EXPECT_EQ(displayDevice.primarySurface()->palette, palette);
}

TEST_F(SceneProtocolTest, RestoreRemakesTheSurfacesWithTheSamePalette) {
    DevicePalette* palette = displayDevice.palette.directDrawPalette();
    platformMarkFrameTexturesLost();
    MainWindowProc(displaySettings.window, WM_SYSCOMMAND, 0xF020, 0); // minimise: not ours
    EXPECT_EQ(displayDevice.present(), 0);
    MainWindowProc(displaySettings.window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(displayDevice.surfacesReady, 1);
    EXPECT_EQ(displayDevice.present(), 1);
    EXPECT_EQ(displayDevice.palette.directDrawPalette(), palette);
    EXPECT_EQ(displayDevice.primarySurface()->palette, palette);
}

} // namespace kavorind
