#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace kavorind {

// The keys the rules read in a tick, sampled by the scene only while the craft is alive.
struct GameKeys {
    int escapeHeld = 0;
    int leftHeld = 0;
    int rightHeld = 0;
    int upHeld = 0;
    int downHeld = 0;
    int specialHeld = 0; // X
    int shotPressed = 0; // Z, freshly pressed in this sample
};

// What the rules ask of the devices, in the order they asked it; the scene carries it out.
enum class DeviceRequestKind : int32_t { PlaySound, RestorePalette };

struct DeviceRequest {
    DeviceRequestKind kind = DeviceRequestKind::PlaySound;
    int32_t sound = 0; // the sound index: effect s plays on channel s + 1
};

// A fixed-size outbox, so a tick allocates nothing. The worst tick asks for far fewer (every shot
// and enemy hit at once is a few thousand); requests past the end are dropped.
struct GameRequests {
    std::array<DeviceRequest, 4096> requests{};
    int count = 0;
};

inline void requestSound(GameRequests* out, int32_t sound) {
    if (out && out->count < static_cast<int>(out->requests.size()))
        out->requests[static_cast<size_t>(out->count++)] = {DeviceRequestKind::PlaySound, sound};
}

inline void requestPaletteRestore(GameRequests* out) {
    if (out && out->count < static_cast<int>(out->requests.size()))
        out->requests[static_cast<size_t>(out->count++)] = {DeviceRequestKind::RestorePalette, 0};
}

} // namespace kavorind
