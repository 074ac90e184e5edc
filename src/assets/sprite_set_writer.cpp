#include "assets/sprite_set_writer.h"

#include "assets/asset_limits.h"
#include "assets/bitmap_writer.h"
#include "platform/byte_io.h"
#include "platform/content_file.h"

namespace kavorind {

namespace {

int fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return 0;
}

int checkFrame(const SpriteFrameImage& frame, size_t index, std::string* error) {
    std::string name = "frame " + std::to_string(index);
    if (frame.width < 0 || frame.height < 0 || frame.width > maxPictureSide ||
        frame.height > maxPictureSide)
        return fail(error, name + " size is outside 0 to 16384");
    if (frame.pixels.size() != static_cast<size_t>(frame.width) * frame.height)
        return fail(error, name + " has " + std::to_string(frame.pixels.size()) +
                               " pixels, not width x height");
    return 1;
}

} // namespace

SpriteFrameImage makeSpriteFrameImage(int width, int height, int hotX, int hotY, uint8_t fill) {
    SpriteFrameImage frame;
    frame.width = width;
    frame.height = height;
    frame.hotX = hotX;
    frame.hotY = hotY;
    if (width > 0 && height > 0)
        frame.pixels.assign(static_cast<size_t>(width) * height, fill);
    return frame;
}

std::vector<uint8_t> encodeSpriteSet(const SpriteSetImage& set, std::string* error) {
    std::vector<uint8_t> bytes;
    if (set.frames.empty()) {
        fail(error, "a sprite set needs at least one frame");
        return bytes;
    }
    if (set.rate == 0) {
        fail(error, "an animation rate of 0 has no frame delay");
        return bytes;
    }
    for (size_t i = 0; i < set.frames.size(); ++i)
        if (!checkFrame(set.frames[i], i, error))
            return bytes;

    ByteWriter write(&bytes);
    write.bytes("SPR", 3);
    write.u32(static_cast<uint32_t>(set.frames.size()));
    write.u32(set.rate);
    write.u32(0); // reserved
    write.u32(set.key);
    write.u32(8); // bits per pixel
    appendColourTable(set.colours, &bytes);
    for (const SpriteFrameImage& frame : set.frames) {
        write.i32(frame.width);
        write.i32(frame.height);
        write.i32(frame.hotX);
        write.i32(frame.hotY);
        size_t padding = ((static_cast<size_t>(frame.width) + 3) & ~size_t{3}) - frame.width;
        for (int row = frame.height - 1; row >= 0; --row) {
            write.bytes(frame.pixels.data() + static_cast<size_t>(row) * frame.width, frame.width);
            write.fill(0, padding);
        }
    }
    return bytes;
}

int writeSpriteSet(const std::string& path, const SpriteSetImage& set, std::string* error) {
    std::vector<uint8_t> bytes = encodeSpriteSet(set, error);
    if (bytes.empty())
        return 0;
    std::string why;
    if (!writeFileSafely(path, bytes, FileDurable, &why))
        return fail(error, "cannot write " + path + ": " + why);
    return 1;
}

} // namespace kavorind
