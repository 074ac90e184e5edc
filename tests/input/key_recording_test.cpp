#include "input/key_recording.h"
#include "input/key_script.h"
#include "input/key_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavorind {

namespace {

// The keys the recorder is shown at the tick being recorded, as game-key bits.
struct ShownKeys {
    uint8_t bits = 0;
};
ShownKeys shownKeys;

int shownKeyDown(int virtualKey) {
    for (int index = 0; index < gameKeyCount; ++index)
        if (gameKeyCode(index) == virtualKey)
            return shownKeys.bits >> index & 1;
    return 0;
}

KeyRecording recordingOf(const std::vector<uint8_t>& bitsByTick) {
    KeyRecording recording;
    for (uint8_t bits : bitsByTick) {
        shownKeys.bits = bits;
        recordTick(&recording, shownKeyDown);
    }
    return recording;
}

// The text without its comment lines.
std::string keyLines(const std::string& text) {
    std::string lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end - at + 1);
        if (line[0] != '#')
            lines += line;
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

constexpr uint8_t left = 1, right = 2, down = 8, z = 16, x = 32, escape = 64;

} // namespace

// Right and Z held over the same ticks share a line; a held key is one range however long; a key
// still down at the last tick is closed there.
TEST(KeyRecording, KeysHeldTogetherShareOneRangeAndTheLastTickClosesWhatIsStillDown) {
    KeyRecording recording = recordingOf(
        {escape, 0, right | z, right | z, right | z, right | z, 0, z, 0, down, down | left, down});
    std::string text = keyRecordingText(recording);
    EXPECT_EQ(keyLines(text), "1 Escape\n3-6 Right,Z\n8 Z\n10-12 Down\n11 Left\n");
    EXPECT_NE(text.find("# ticks: 12\n"), std::string::npos) << text;
    EXPECT_EQ(keyLines(keyRecordingText(recordingOf({0, 0, 0}))), "");
}

// Pieces as a session takes them: a key held across a piece's last tick is closed there and
// opened again on the next; a piece whose last tick has no key down says how far it goes.
TEST(KeyRecording, APieceClosesTheKeysStillDownAndSaysHowFarItGoesWhenNoneIs) {
    KeyRecording recording = recordingOf({0, right, right | z, right});
    EXPECT_EQ(takeKeyRecordingPiece(&recording), "2-4 Right\n3 Z\n");
    EXPECT_EQ(takeKeyRecordingPiece(&recording), "");
    for (uint8_t bits : {right, uint8_t{0}, uint8_t{0}}) {
        shownKeys.bits = bits;
        recordTick(&recording, shownKeyDown);
    }
    EXPECT_EQ(takeKeyRecordingPiece(&recording), "5 Right\n# recorded to tick 7\n");
    shownKeys.bits = escape;
    recordTick(&recording, shownKeyDown);
    EXPECT_EQ(finishKeyRecording(&recording), "8 Escape\n# ticks: 8\n");
}

namespace {

// Thousands of ticks of keys going down and up at random, every key on its own, some held for one
// tick and some for hundreds; one key down at the very end.
std::vector<uint8_t> randomKeys(int ticks) {
    std::vector<uint8_t> bitsByTick(static_cast<size_t>(ticks));
    unsigned seed = 2024;
    uint8_t bits = 0;
    for (int tick = 0; tick < ticks; ++tick) {
        seed = seed * 1103515245u + 12345u;
        // Now and then one key flips; Z flips far more often, as a player taps it.
        if ((seed >> 10) % 4 == 0)
            bits ^= static_cast<uint8_t>(1 << ((seed >> 16) % gameKeyCount));
        if ((seed >> 20) % 3 == 0)
            bits ^= z;
        bitsByTick[static_cast<size_t>(tick)] = bits;
    }
    bitsByTick.back() |= x; // down at the very end
    return bitsByTick;
}

// Parses a script and plays it tick by tick: every game key at every tick from 1 to `ticks` and
// two past it must be as bitsByTick has it (nothing down past its end).
void expectPlaysBack(const std::string& text, const std::vector<uint8_t>& bitsByTick, int ticks) {
    KeyScript script;
    std::string error;
    ASSERT_EQ(parseKeyScript(text, &script, &error), 1) << error;
    KeyScriptPlayer player = startKeyScript(script);
    for (int tick = 1; tick <= ticks + 2; ++tick) {
        advanceKeyScript(&player, tick);
        const uint8_t expected = tick <= ticks ? bitsByTick[static_cast<size_t>(tick - 1)] : 0;
        for (int index = 0; index < gameKeyCount; ++index)
            ASSERT_EQ(playerKeyDown(player, gameKeyCode(index)), expected >> index & 1)
                << "tick " << tick << " key " << gameKeyName(index);
    }
}

} // namespace

// The written script, parsed and played, gives back every key at every tick, and its last line
// the number of ticks.
TEST(KeyRecording, AWrittenRecordingPlaysBackTheSameKeysAtEveryTick) {
    const int ticks = 5000;
    const std::vector<uint8_t> bitsByTick = randomKeys(ticks);
    std::string text = keyRecordingText(recordingOf(bitsByTick));
    EXPECT_NE(text.find("# ticks: 5000\n"), std::string::npos);
    expectPlaysBack(text, bitsByTick, ticks);
}

// The same ticks written in pieces as a session goes, every 30 ticks and at odd ticks between (a
// change of scene), play back the same keys as the whole text, stretches split at every piece
// included; and what was written up to any piece, the session cut short there, plays back every
// tick up to that piece's last.
TEST(KeyRecording, PiecesWrittenAsTheSessionGoesPlayBackAsTheWholeTextDoes) {
    const int ticks = 5000;
    const std::vector<uint8_t> bitsByTick = randomKeys(ticks);
    KeyRecording recording;
    std::string written = keyRecordingHeader();
    std::vector<std::pair<int, size_t>> pieceEnds; // the last tick of a piece, the text's length
    for (int tick = 1; tick <= ticks; ++tick) {
        shownKeys.bits = bitsByTick[static_cast<size_t>(tick - 1)];
        recordTick(&recording, shownKeyDown);
        if (tick % 30 == 0 || tick % 97 == 0) {
            written += takeKeyRecordingPiece(&recording);
            pieceEnds.emplace_back(tick, written.size());
        }
    }
    written += finishKeyRecording(&recording);
    expectPlaysBack(written, bitsByTick, ticks);
    EXPECT_LT(keyRecordingText(recording).size(), written.size()) << "no stretch was split";

    for (size_t piece : {size_t{0}, size_t{7}, pieceEnds.size() / 2, pieceEnds.size() - 1}) {
        const auto [last, length] = pieceEnds[piece];
        std::vector<uint8_t> kept(bitsByTick.begin(), bitsByTick.begin() + last);
        SCOPED_TRACE("cut short after tick " + std::to_string(last));
        expectPlaysBack(written.substr(0, length), kept, last);
    }
}

} // namespace kavorind
