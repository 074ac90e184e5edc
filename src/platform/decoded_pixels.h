#pragma once
#include "platform/file_io.h"

#include <cstdint>
#include <string>

namespace kavorind {

// The decoded pixels one command of the content tools may hold, over every picture and frame it
// reads. A compressed picture may claim any size its header likes in a few bytes, so each claim is
// weighed against what is left before anything is allocated for it.
constexpr uint64_t maxDecodedPixelBytes = uint64_t{256} << 20;

// What is left of one command's decoded pixels.
struct PixelBudget {
    uint64_t left = maxDecodedPixelBytes;
};

// "1024 MiB": a size in whole MiB from 1 MiB on, rounded up (a claim) or down (what is left).
inline std::string mebibytesText(uint64_t bytes, bool roundUp) {
    constexpr uint64_t mebibyte = uint64_t{1} << 20;
    if (bytes < mebibyte)
        return sizeText(bytes);
    return std::to_string((bytes + (roundUp ? mebibyte - 1 : 0)) / mebibyte) + " MiB";
}

// Why a claim of `wanted` bytes is refused when only `left` remain.
inline std::string pixelBudgetRefusal(uint64_t wanted, uint64_t left) {
    std::string limit = " of decoded pictures one command may hold";
    if (left < maxDecodedPixelBytes)
        limit = " left of the " + sizeText(maxDecodedPixelBytes) + limit;
    return "its pixels would take " + mebibytesText(wanted, true) + ", more than the " +
           mebibytesText(left, false) + limit;
}

// Takes bytes from the budget: 1 when they fit, else 0 with the refusal in *why and nothing taken.
inline int takePixelBytes(PixelBudget* budget, uint64_t bytes, std::string* why) {
    if (bytes > budget->left) {
        *why = pixelBudgetRefusal(bytes, budget->left);
        return 0;
    }
    budget->left -= bytes;
    return 1;
}

} // namespace kavorind
