#pragma once
#include "scenes/scene_protocol.h"

#include <array>

namespace kavorind {

// The scenes by number; an empty entry means that no scene of that number exists. Tests put scenes
// of their own in.
struct SceneTable {
    std::array<const Scene*, sceneCount + 1> scenes{};
};

extern SceneTable sceneTable;

// The scene of a number, or null when there is none.
const Scene* sceneFor(int number);

// The scenes that hold resources, in the order shut-down stops them; the logo and the opening
// hold nothing that outlives them.
constexpr std::array<int, 4> scenesStoppedAtShutDown = {SceneStageClear, SceneEnding, SceneMenu,
                                                        SceneGame};

} // namespace kavorind
