#pragma once
#include "display/display_device.h"
#include "platform/messages.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "scenes/scene_table.h"
#include "shell/shutdown.h"
#include "shell/window_procedure.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace kavorind {

// A windowed display on SDL's dummy driver, manual timers and an empty queue, with the scene table
// handed to each test empty.
struct ShellTest : ::testing::Test {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        static PlatformWindow* window = platformCreateWindow("Kavorind", 640, 480, 0);
        ASSERT_NE(window, nullptr);
        platformSetManualTimers(1);
        displaySettings.window = window;
        displaySettings.fullScreen = 0;
        displaySettings.width = 640;
        displaySettings.height = 480;
        displaySettings.bitsPerPixel = 8;
        ASSERT_EQ(displayDevice.start(displaySettings), 1);
        savedTable = sceneTable;
        sceneTable = SceneTable{};
        sceneLoop = SceneLoop{SceneLogo, 0, 0};
        shell.shutDownBegun = 0;
        platformFlushMessages();
    }
    void TearDown() override {
        displayDevice.destroy();
        sceneTable = savedTable;
        platformFlushMessages();
    }

    SceneTable savedTable;

    // Takes every message that waits, in order.
    static std::vector<Message> drainMessages() {
        std::vector<Message> taken;
        while (platformPeekMessage()) {
            Message message;
            platformGetMessage(&message);
            if (message.message != WM_NULL)
                taken.push_back(message);
        }
        return taken;
    }
    static int countOf(const std::vector<Message>& messages, unsigned kind) {
        int count = 0;
        for (const Message& message : messages)
            count += message.message == kind;
        return count;
    }
};

} // namespace kavorind
