#pragma once
#include "display/palette.h"
#include "display/surface.h"
#include "platform/byte_io.h"
#include "platform/content_file.h"
#include "platform/load_problem.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// One 8-bit picture and its colour table, loaded from an uncompressed 8-bit Windows bitmap or from
// the raw image block inside a stage map, and drawn straight from the loaded bytes.
//
// The buffer is the file as read (or a raw block laid out the same way): the info header (whose
// image-size field is rewritten to stride x rows and whose colour-count field is filled in), the
// colour table at info-header-size bytes after its start, and the stored rows, bottom-up when the
// height field is positive, top-down otherwise. Loads check every size against the file before
// allocating and refuse what is not an 8-bit uncompressed picture of 1 to 16384 x 1 to 16384
// pixels; a refused load leaves the image empty.
class BitmapImage {
  public:
    BitmapImage() = default;
    // Loads the file; the outcome is not reported (an unreadable file leaves the image empty).
    explicit BitmapImage(const std::string& path) { load(path); }

    // Replaces the contents with the bitmap file; 1 when read, 0 (and empty) otherwise. A refusal
    // is explained in *problem when one is given.
    int load(const std::string& path, LoadProblem* problem = nullptr);
    // load of a whole bitmap file already in memory.
    int loadFromMemory(std::span<const uint8_t> file, LoadProblem* problem = nullptr);
    // Reads a raw 8-bit image block (width, height, 256-entry colour table, rows bottom-up) at the
    // reader's position and leaves the reader just past it; 1 when read. 0 without reading when the
    // image already holds pixels or the block is malformed or runs past the end (offsets in
    // *problem count from the start of the reader's range).
    int readRawBlock(ByteReader& file, LoadProblem* problem = nullptr);
    // Frees the buffer; the image is empty afterwards. Always 1.
    int release();

    bool isEmpty() const { return !buffer_.data; }
    int width() const { return width_; }
    // The number of rows (the absolute value of the height field); 0 when empty.
    int height() const { return rows_; }
    // Bytes per stored row: the width rounded up to a multiple of 4; 0 when empty.
    int rowStride() const { return stride_; }
    // True when the first stored row is the bottom row of the picture.
    bool bottomUp() const { return bottomUp_; }
    // The first stored row; null when empty.
    const uint8_t* pixelBits() const {
        return isEmpty() ? nullptr : buffer_.data.get() + bitsOffset_;
    }
    // The info header (followed, in the usual layout, by the colour table); null when empty.
    const uint8_t* infoHeader() const {
        return isEmpty() ? nullptr : buffer_.data.get() + infoOffset_;
    }
    // The colour table (blue, green, red, reserved per entry); null when empty.
    const uint8_t* colourTable() const {
        return isEmpty() ? nullptr : buffer_.data.get() + tableOffset_;
    }
    // Entries in the colour table (1 to 256); 0 when empty.
    int colourCount() const { return colourCount_; }
    // Picture row y counted from the top as displayed (0 <= y < height).
    const uint8_t* row(int y) const {
        int stored = bottomUp_ ? rows_ - 1 - y : y;
        return pixelBits() + static_cast<size_t>(stored) * static_cast<size_t>(stride_);
    }

    // Copies the w x h rectangle at picture position (sx, sy) to surface position (dx, dy),
    // clipped to the surface (right edge at its pitch) and the picture; 1 when drawn. 0, drawing
    // nothing, for an empty image, a surface that cannot be locked, or a rectangle that ends up
    // wholly outside (a source corner exactly at the picture's right or bottom edge draws nothing
    // and gives 1).
    int blit(Surface* surface, int dx, int dy, int w, int h, int sx, int sy) const;
    int blitWhole(Surface* surface, int x, int y) const {
        return blit(surface, x, y, width(), height(), 0, 0);
    }
    // blit, except that pixels equal to the low byte of key leave the surface as it was.
    int blitKeyed(Surface* surface, int key, int dx, int dy, int w, int h, int sx, int sy) const;
    int blitKeyedWhole(Surface* surface, int key, int x, int y) const {
        return blitKeyed(surface, key, x, y, width(), height(), 0, 0);
    }

    // Sets all 256 entries of the device palette from the colour table (red, green, blue swapped
    // into place, flags PC_NOCOLLAPSE); entries past a short table are black. 1 when set; 0, the
    // palette untouched, for an empty image or no palette.
    int toPalette(DevicePalette* palette) const;

  private:
    int adopt(FileBytes file, LoadProblem* problem);
    int draw(Surface* surface, bool keyed, uint8_t key, int dx, int dy, int w, int h, int sx,
             int sy) const;

    FileBytes buffer_;
    size_t infoOffset_ = 0;
    size_t tableOffset_ = 0;
    size_t bitsOffset_ = 0;
    int width_ = 0;
    int rows_ = 0;
    int stride_ = 0;
    int colourCount_ = 0;
    bool bottomUp_ = false;
};

} // namespace kavorind
