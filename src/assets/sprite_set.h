#pragma once
#include "display/surface.h"
#include "platform/load_problem.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// One frame of a sprite set, held exactly as stored: height rows of rowStride() bytes, the first
// stored row being the bottom row as displayed. The hot spot (from the top-left corner, possibly
// outside the frame) is the point drawn at the position given to the drawing operations.
struct SpriteFrame {
    int32_t width = 0;
    int32_t height = 0;
    int32_t hotX = 0;
    int32_t hotY = 0;
    std::vector<uint8_t> pixels;

    int rowStride() const { return (width + 3) & ~3; }
    // Row y counted from the top as displayed (0 <= y < height).
    const uint8_t* row(int y) const {
        return pixels.data() +
               static_cast<size_t>(height - 1 - y) * static_cast<size_t>(rowStride());
    }
};

// A numbered sequence of 8-bit frames from one "SPR" file, with a colour key shared by every frame
// and an animation cursor.
//
// Loads check every field against the bytes that remain before allocating and refuse a file that
// is not 8 bits per pixel, has more than 65536 frames, a frame larger than 16384 x 16384, or frames
// running past the end. A set with no frames or an animation rate of 0 loads; whoever derives a
// frame delay (30 / rate ticks) from it guards against the 0. A refused
// load leaves the set not loaded. A cursor or frame index at or past the frame count is "nothing
// there": drawing it and testing it for overlap do nothing.
class SpriteSet {
  public:
    SpriteSet() = default;
    // Loads the file; the outcome is not reported (the set then stays empty and draws nothing).
    explicit SpriteSet(const std::string& path) { load(path); }

    // 1 when loaded; 0 when refused, unreadable, or the set is already loaded (nothing changes).
    // A refusal is explained in *problem when one is given.
    int load(const std::string& path, LoadProblem* problem = nullptr);
    // load of a whole "SPR" file already in memory.
    int loadFromMemory(std::span<const uint8_t> file, LoadProblem* problem = nullptr);
    // Empties a loaded set (every field back to zero); 1 when it was loaded.
    int release();

    bool isEmpty() const { return !loaded_; }
    bool isLoaded() const { return loaded_; }
    uint32_t frameCount() const { return loaded_ ? count_ : 0; }
    uint32_t frameRate() const { return loaded_ ? rate_ : 0; }
    uint32_t colourKey() const { return key_; }
    uint32_t bitsPerPixel() const { return bitsPerPixel_; }
    // The 1024-byte colour table stored with the set; null when not loaded.
    const uint8_t* colourTable() const {
        return colourTable_.empty() ? nullptr : colourTable_.data();
    }
    int currentIndex() const { return loaded_ ? cursor_ : 0; }
    // Stores the index when loaded (no range check: an index past the last frame draws nothing).
    void setCurrentIndex(int index) {
        if (loaded_)
            cursor_ = index;
    }
    // The frame, or null when not loaded or index >= frameCount().
    const SpriteFrame* frameAt(uint32_t index) const;
    // The frame at the cursor, or null when not loaded or the cursor is out of range.
    const SpriteFrame* currentFrame() const { return frameAt(static_cast<uint32_t>(cursor_)); }

    // Draws the frame with its hot spot at (x, y): colour-keyed, clipped to the surface (the right
    // edge at its pitch). 1 when drawn; 0, writing nothing, for an unloaded set, an index out of
    // range, a frame wholly off the surface, or a surface that cannot be locked.
    int drawFrame(Surface* surface, uint32_t index, int x, int y) const;
    int drawCurrent(Surface* surface, int x, int y) const {
        return drawFrame(surface, static_cast<uint32_t>(cursor_), x, y);
    }
    // drawCurrent, then on success moves the cursor to the next frame, wrapping to 0 after the
    // last; an animation off the surface stands still.
    int drawAndAdvance(Surface* surface, int x, int y);

  private:
    uint32_t count_ = 0;
    int32_t cursor_ = 0;
    std::vector<uint8_t> colourTable_;
    uint32_t bitsPerPixel_ = 0;
    uint32_t rate_ = 0;
    uint32_t key_ = 0;
    std::vector<SpriteFrame> frames_;
    bool loaded_ = false;
};

// 1 when the current frames of a at (ax, ay) and b at (bx, by), each placed by its own hot spot,
// share a point where neither is transparent (its set's key). 0 when either set is not loaded or
// its cursor is out of range, when the frames only touch, or overlap only where one is
// transparent.
int pixelOverlap(const SpriteSet& a, int ax, int ay, const SpriteSet& b, int bx, int by);
// pixelOverlap of the given frames instead of the sets' cursors: the game's rules test many
// instances of one set without moving its cursor, so copies of the game can be run side by side.
int framesOverlap(const SpriteSet& a, uint32_t frameA, int ax, int ay, const SpriteSet& b,
                  uint32_t frameB, int bx, int by);

} // namespace kavorind
