#include "web/ima_adpcm.h"

#include <algorithm>
#include <array>

namespace kavorind {

namespace {

constexpr std::array<int, 89> stepSizes = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr std::array<int, 8> stepIndexChanges = {-1, -1, -1, -1, 2, 4, 6, 8};

// How many samples past the one being coded the choice of its code looks at. Coding each sample
// alone (none) keeps the steps too small to follow the music's sharp edges, and leaves it about
// 13 dB over its noise; two more lift that by about 6 dB, and looking further gains nothing.
constexpr int lookahead = 2;

// The decoder's state: the sample it last made and its step size.
struct ImaState {
    int predicted = 0;
    int stepIndex = 0;
};

// What any IMA decoder makes of one 4-bit code.
ImaState decodeCode(ImaState state, int code) {
    const int step = stepSizes[state.stepIndex];
    int difference = step >> 3;
    if (code & 4)
        difference += step;
    if (code & 2)
        difference += step >> 1;
    if (code & 1)
        difference += step >> 2;
    const int predicted = code & 8 ? state.predicted - difference : state.predicted + difference;
    return {std::clamp(predicted, -32768, 32767),
            std::clamp(state.stepIndex + stepIndexChanges[code & 7], 0, 88)};
}

// The usual quantiser: the code nearest the difference to the wanted sample on its own.
int nearestCode(ImaState state, int wanted) {
    int step = stepSizes[state.stepIndex];
    int difference = wanted - state.predicted;
    int code = 0;
    if (difference < 0) {
        code = 8;
        difference = -difference;
    }
    for (int bit = 4; bit; bit >>= 1, step >>= 1) {
        if (difference >= step) {
            code |= bit;
            difference -= step;
        }
    }
    return code;
}

int64_t squaredError(int wanted, int made) {
    const int64_t error = wanted - made;
    return error * error;
}

// The code for wanted[0] whose decoded sample, followed by the usual quantiser's next few, stays
// closest to the wanted ones.
int bestCode(ImaState state, std::span<const int> wanted) {
    const int usual = nearestCode(state, wanted[0]);
    int best = usual;
    int64_t bestError = INT64_MAX;
    for (int tried = 0; tried < 16; ++tried) {
        const int code = (usual + tried) & 15; // the usual code first, so that it wins any tie
        ImaState next = decodeCode(state, code);
        int64_t error = squaredError(wanted[0], next.predicted);
        for (size_t ahead = 1; ahead < wanted.size() && error < bestError; ++ahead) {
            next = decodeCode(next, nearestCode(next, wanted[ahead]));
            error += squaredError(wanted[ahead], next.predicted);
        }
        if (error < bestError) {
            bestError = error;
            best = code;
        }
    }
    return best;
}

} // namespace

void encodeImaBlock(std::span<const int16_t> samples, ImaCoder* coder, uint8_t* block) {
    std::array<int, adpcmSamplesPerBlock> wanted{};
    std::copy_n(samples.begin(), std::min<size_t>(samples.size(), adpcmSamplesPerBlock),
                wanted.begin());
    ImaState state{wanted[0], coder->stepIndex};
    block[0] = static_cast<uint8_t>(state.predicted & 0xff);
    block[1] = static_cast<uint8_t>((state.predicted >> 8) & 0xff);
    block[2] = static_cast<uint8_t>(state.stepIndex);
    block[3] = 0;
    // Two codes a byte, the earlier sample in the low half.
    for (int i = 1; i < adpcmSamplesPerBlock; ++i) {
        const size_t ahead = std::min(lookahead, adpcmSamplesPerBlock - 1 - i);
        const int code = bestCode(state, std::span<const int>(wanted.data() + i, ahead + 1));
        state = decodeCode(state, code);
        uint8_t& byte = block[4 + (i - 1) / 2];
        byte = (i - 1) % 2 ? static_cast<uint8_t>(byte | code << 4) : static_cast<uint8_t>(code);
    }
    coder->stepIndex = state.stepIndex;
}

} // namespace kavorind
