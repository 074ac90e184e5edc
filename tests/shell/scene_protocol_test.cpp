#include "shell_fixture.h"

#include <string>

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
void fakeTick(PendingFlag* pending) {
    if (!runSceneTick(*sceneFor(currentScene), &started, pending))
        currentScene = successor;
}

const Scene fakeScene{fakeStart, fakeStop, fakeTick, fakeUpdate, fakeRender};

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
        sceneTable[SceneLogo] = &fakeScene;
        sceneTable[SceneMenu] = &fakeScene;
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
    EXPECT_EQ(frameReady, 1);
    EXPECT_EQ(pending, 0);
    tick();
    EXPECT_EQ(calls, "start update update ");
}

TEST_F(SceneProtocolTest, IdleStepRendersOnlyARaisedFrameAndOnlyOnce) {
    idleStep();
    EXPECT_EQ(calls, "");
    tick();
    renderBusy = 1;
    idleStep();
    EXPECT_EQ(calls, "start update ");
    renderBusy = 0;
    idleStep();
    idleStep();
    EXPECT_EQ(calls, "start update render ");
    EXPECT_EQ(frameReady, 0);
    EXPECT_EQ(renderBusy, 0);
    EXPECT_EQ(presents, 1);
}

TEST_F(SceneProtocolTest, LeavingTickStopsShowsOneBlackFrameAndHandsOver) {
    currentScene = SceneMenu;
    successor = SceneOpening;
    updatesLeft = 1;
    tick();
    idleStep();
    presents = 0;
    tick();
    EXPECT_EQ(calls, "start update render update stop ");
    EXPECT_EQ(started, 0);
    EXPECT_EQ(pending, 0);
    EXPECT_EQ(frameReady, 0);
    EXPECT_EQ(currentScene, SceneOpening);
    EXPECT_EQ(presents, 1);
    EXPECT_EQ(lastFrameAllBlack, 1);
    idleStep();
    EXPECT_EQ(presents, 1);
}

TEST_F(SceneProtocolTest, FailedStartPostsDestroyAndTheTickGoesOn) {
    startResult = 0;
    tick();
    EXPECT_EQ(calls, "start update ");
    EXPECT_EQ(frameReady, 1);
    EXPECT_EQ(countOf(drainMessages(), WM_DESTROY), 1);
}

TEST_F(SceneProtocolTest, FailedRenderPostsDestroyButEndsTheLogoQuietly) {
    renderResult = 0;
    currentScene = SceneMenu;
    tick();
    idleStep();
    EXPECT_EQ(countOf(drainMessages(), WM_DESTROY), 1);
    currentScene = SceneLogo;
    tick();
    idleStep();
    EXPECT_EQ(currentScene, SceneMenu);
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

TEST_F(SceneProtocolTest, ShutDownStopsTheScenesThatHoldResources) {
    sceneTable[SceneGame] = &fakeScene;
    sceneTable[SceneEnding] = &fakeScene;
    shutDown();
    EXPECT_EQ(calls, "stop stop stop ");
}

TEST_F(SceneProtocolTest, UnknownSceneNumbersDispatchNothing) {
    for (int number : {0, 7, -1}) {
        currentScene = number;
        tick();
        frameReady = 1;
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
