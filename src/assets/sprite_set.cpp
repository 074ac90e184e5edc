#include "assets/sprite_set.h"

#include "assets/asset_limits.h"
#include "assets/row_copy.h"
#include "platform/byte_io.h"
#include "platform/content_file.h"

#include <algorithm>

namespace kavorind {

namespace {

constexpr size_t colourTableBytes = 1024;
constexpr size_t frameHeaderBytes = 16;

// Reads one frame record, refusing sizes outside 0 to 16384 and pixels past the end.
int readFrame(ByteReader& file, SpriteFrame* frame, LoadProblem* problem) {
    const size_t start = file.position();
    if (!file.readI32(&frame->width) || !file.readI32(&frame->height) ||
        !file.readI32(&frame->hotX) || !file.readI32(&frame->hotY))
        return refuseLoad(problem, file.size(), "the file ends inside a frame header");
    if (frame->width < 0 || frame->width > maxPictureSide)
        return refuseLoad(problem, start, "frame width outside 0 to 16384");
    if (frame->height < 0 || frame->height > maxPictureSide)
        return refuseLoad(problem, start + 4, "frame height outside 0 to 16384");
    size_t bytes = static_cast<size_t>(frame->rowStride()) * static_cast<size_t>(frame->height);
    const uint8_t* pixels = file.take(bytes);
    if (!pixels)
        return refuseLoad(problem, file.size(), "the file ends inside a frame's pixels");
    frame->pixels.assign(pixels, pixels + bytes);
    return 1;
}

// Offsets of the header fields, after the three-byte magic.
constexpr size_t countField = 3;
constexpr size_t bitsPerPixelField = 19;

} // namespace

int SpriteSet::load(const std::string& path, LoadProblem* problem) {
    if (loaded_)
        return refuseLoad(problem, 0, "the set is already loaded");
    FileBytes file;
    if (!readWholeFile(path, maxContentFileBytes, &file))
        return refuseLoad(problem, 0, "the file is missing, unreadable or too large");
    return loadFromMemory(file.view(), problem);
}

int SpriteSet::loadFromMemory(std::span<const uint8_t> bytes, LoadProblem* problem) {
    if (loaded_)
        return refuseLoad(problem, 0, "the set is already loaded");
    ByteReader file(bytes);
    if (!file.readMagic("SPR"))
        return refuseLoad(problem, 0, "not a sprite set: the file does not start with \"SPR\"");
    uint32_t count = 0, rate = 0, reserved = 0, key = 0, bitsPerPixel = 0;
    if (!file.readU32(&count) || !file.readU32(&rate) || !file.readU32(&reserved) ||
        !file.readU32(&key) || !file.readU32(&bitsPerPixel))
        return refuseLoad(problem, bytes.size(), "the file ends inside the sprite-set header");
    const uint8_t* table = file.take(colourTableBytes);
    // Only 8-bit frames can be drawn. A set without frames or with a rate of 0 loads: whatever
    // takes a frame delay from the rate guards against the 0 itself.
    if (!table)
        return refuseLoad(problem, bytes.size(), "the file ends inside the colour table");
    if (bitsPerPixel != 8)
        return refuseLoad(problem, bitsPerPixelField, "not 8 bits per pixel");
    if (count > maxSpriteFrames)
        return refuseLoad(problem, countField, "more than 65536 frames");
    if (count > file.remaining() / frameHeaderBytes)
        return refuseLoad(problem, countField, "more frames than the rest of the file can hold");
    std::vector<SpriteFrame> frames(count);
    for (SpriteFrame& frame : frames)
        if (!readFrame(file, &frame, problem))
            return 0;

    count_ = count;
    cursor_ = 0;
    colourTable_.assign(table, table + colourTableBytes);
    bitsPerPixel_ = bitsPerPixel;
    rate_ = rate;
    key_ = key;
    frames_ = std::move(frames);
    loaded_ = true;
    return 1;
}

int SpriteSet::release() {
    if (!loaded_)
        return 0;
    *this = SpriteSet();
    return 1;
}

const SpriteFrame* SpriteSet::frameAt(uint32_t index) const {
    if (!loaded_ || index >= count_)
        return nullptr;
    return &frames_[index];
}

int SpriteSet::drawFrame(Surface* surface, uint32_t index, int x, int y) const {
    const SpriteFrame* frame = frameAt(index);
    if (!frame)
        return 0;
    // Clipping in 64 bits: a hot spot far outside the frame cannot overflow the sums.
    int64_t left = int64_t{x} - frame->hotX, top = int64_t{y} - frame->hotY;
    int64_t w = frame->width, h = frame->height, skipX = 0, skipY = 0;
    LockedSurface view;
    if (!lockSurface(surface, &view))
        return 0;
    bool drawn = true;
    if (left < 0) {
        drawn = w + left > 0;
        skipX = -left;
        w += left;
        left = 0;
    }
    if (top < 0) {
        drawn = drawn && h + top > 0;
        skipY = -top;
        h += top;
        top = 0;
    }
    if (left >= view.pitch || top >= view.height)
        drawn = false;
    if (drawn) {
        w = std::min<int64_t>(w, view.pitch - left);
        h = std::min<int64_t>(h, view.height - top);
    }
    // A frame of width or height 0 on the surface is drawn: with nothing to copy.
    if (drawn && w > 0 && h > 0) {
        uint8_t* d = view.pixels + top * view.pitch + left;
        // Stored rows run bottom-up, so the source steps back one stride per surface row.
        copyRows<true>(d, view.pitch, frame->row(static_cast<int>(skipY)) + skipX,
                       -static_cast<ptrdiff_t>(frame->rowStride()), static_cast<size_t>(w),
                       static_cast<size_t>(h), static_cast<uint8_t>(key_));
    }
    int unlocked = unlockSurface(surface, view.pixels);
    return drawn && unlocked ? 1 : 0;
}

int SpriteSet::drawAndAdvance(Surface* surface, int x, int y) {
    if (!drawCurrent(surface, x, y))
        return 0;
    if (static_cast<uint32_t>(++cursor_) == count_)
        cursor_ = 0;
    return 1;
}

int pixelOverlap(const SpriteSet& a, int ax, int ay, const SpriteSet& b, int bx, int by) {
    return framesOverlap(a, static_cast<uint32_t>(a.currentIndex()), ax, ay, b,
                         static_cast<uint32_t>(b.currentIndex()), bx, by);
}

int framesOverlap(const SpriteSet& a, uint32_t frameA, int ax, int ay, const SpriteSet& b,
                  uint32_t frameB, int bx, int by) {
    const SpriteFrame* fa = a.frameAt(frameA);
    const SpriteFrame* fb = b.frameAt(frameB);
    if (!fa || !fb)
        return 0;
    int64_t aLeft = int64_t{ax} - fa->hotX, aTop = int64_t{ay} - fa->hotY;
    int64_t bLeft = int64_t{bx} - fb->hotX, bTop = int64_t{by} - fb->hotY;
    int64_t x0 = std::max(aLeft, bLeft), x1 = std::min(aLeft + fa->width, bLeft + fb->width);
    int64_t y0 = std::max(aTop, bTop), y1 = std::min(aTop + fa->height, bTop + fb->height);
    if (x0 >= x1 || y0 >= y1)
        return 0;
    const uint8_t keyA = static_cast<uint8_t>(a.colourKey());
    const uint8_t keyB = static_cast<uint8_t>(b.colourKey());
    for (int64_t y = y0; y < y1; ++y) {
        const uint8_t* rowA = fa->row(static_cast<int>(y - aTop)) + (x0 - aLeft);
        const uint8_t* rowB = fb->row(static_cast<int>(y - bTop)) + (x0 - bLeft);
        if (rowsShareOpaque(rowA, keyA, rowB, keyB, static_cast<size_t>(x1 - x0)))
            return 1;
    }
    return 0;
}

} // namespace kavorind
