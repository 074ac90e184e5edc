// The real program, through the headless runner, on a data folder that someone has damaged: each
// start-up file missing, cut short, overwritten with noise or replaced by a FIFO must stop the
// start cleanly with the start-up message and exit code 1; a damaged file of those read as the
// program starts (pictures, animations, sounds) must be treated exactly as a missing one, the scene
// showing nothing in its place. Under the sanitizer build any bad read or leak on these paths also
// fails the run.
#include "../sim_run.h"
#include "../test_content.h"
#include "assets/content_catalogue.h"
#include "shell/entry.h"

#include "common/png_image.h"
#include "platform/content_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

// NotAFile: a FIFO under the file's name, which a reader that opens it plainly waits on forever.
enum class Damage { Missing, Truncated, Garbage, NotAFile };

const char* damageName(Damage damage) {
    return damage == Damage::Missing     ? "missing"
           : damage == Damage::Truncated ? "truncated"
           : damage == Damage::NotAFile  ? "a FIFO"
                                         : "garbage";
}

std::vector<uint8_t> readBytes(const std::string& path) {
    FileBytes file;
    readWholeFile(path, maxContentFileBytes, &file);
    return {file.data.get(), file.data.get() + file.size};
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string why;
    ASSERT_EQ(writeFileSafely(path, bytes, FileQuick, &why), 1) << path << ": " << why;
}

// Replaces the file by its damaged form: removed, cut to half its length, or as many bytes of
// noise (a fixed sequence, so every run sees the same).
void damage(const std::string& path, Damage how) {
    std::vector<uint8_t> bytes = readBytes(path);
    if (how == Damage::Missing || how == Damage::NotAFile) {
        fs::remove(path);
        if (how == Damage::NotAFile) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
        }
    } else if (how == Damage::Truncated) {
        bytes.resize(bytes.size() / 2);
        writeBytes(path, bytes);
    } else {
        uint32_t state = 2463534242u;
        for (uint8_t& b : bytes) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            b = static_cast<uint8_t>(state);
        }
        writeBytes(path, bytes);
    }
}

bool isWave(const std::string& name) {
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".wav") == 0;
}

bool sanitizerSpoke(const std::string& text) {
    return text.find("Sanitizer") != std::string::npos ||
           text.find("runtime error") != std::string::npos;
}

struct DamagedDataTest : ::testing::Test {
    std::string root;
    std::string data;

    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kavorind-robust-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        data = root + "/data";
        fs::remove_all(root);
        ASSERT_EQ(writeTestContent(data), 1);
    }
    void TearDown() override { fs::remove_all(root); }

    // Damages each start-up file in turn (the others intact) and checks the failed start.
    void expectEveryStartUpFileStopsTheStart(Damage how) {
        for (const char* name : startUpFileNames) {
            std::string path = data + "/" + name;
            std::vector<uint8_t> original = readBytes(path);
            ASSERT_FALSE(original.empty()) << name;
            damage(path, how);
            SimRun run = runSim(data, "", 20);
            fs::remove(path);
            writeBytes(path, original);
            const std::string what = std::string(name) + " " + damageName(how);
            // A sound cut short plays what is left of it: the game starts.
            const bool starts = how == Damage::Truncated && isWave(name);
            EXPECT_EQ(run.exitCode, starts ? 0 : 1) << what << "\n" << run.stderrText;
            EXPECT_FALSE(sanitizerSpoke(run.stderrText)) << what << "\n" << run.stderrText;
            if (starts) {
                EXPECT_EQ(run.lines.size(), 20u) << what << "\n" << run.stderrText;
                continue;
            }
            EXPECT_NE(run.stderrText.find(startUpFailureText), std::string::npos) << what;
            // One English line names the file, and says whether it is absent or damaged.
            const std::string quoted = "\"" + std::string(name) + "\"";
            const std::string said =
                how == Damage::Missing ? quoted + " is missing from " : quoted + " in ";
            EXPECT_NE(run.stderrText.find("Kavorind: " + said), std::string::npos)
                << what << "\n"
                << run.stderrText;
            EXPECT_TRUE(run.lines.empty()) << what << ": the program ran";
        }
        // Restored, the same folder starts.
        SimRun intact = runSim(data, "", 5);
        EXPECT_EQ(intact.lines.size(), 5u) << intact.stderrText;
    }
};

TEST_F(DamagedDataTest, EachMissingStartUpFileStopsTheStart) {
    expectEveryStartUpFileStopsTheStart(Damage::Missing);
}
TEST_F(DamagedDataTest, EachTruncatedStartUpFileStopsTheStart) {
    expectEveryStartUpFileStopsTheStart(Damage::Truncated);
}
TEST_F(DamagedDataTest, EachStartUpFileOfNoiseStopsTheStart) {
    expectEveryStartUpFileStopsTheStart(Damage::Garbage);
}
TEST_F(DamagedDataTest, AFifoInPlaceOfEachStartUpFileStopsTheStartAtOnce) {
    expectEveryStartUpFileStopsTheStart(Damage::NotAFile);
}

// The palette indices of a frame that the runner saved; empty when it cannot be read.
std::vector<uint8_t> framePixels(const std::string& path) {
    std::vector<uint8_t> file = readBytes(path);
    PngPicture png;
    std::string why;
    return decodePng(file, &png, &why) && png.indexed ? png.pixels : std::vector<uint8_t>{};
}

// What a run showed and did: its trace and the frames it saved, by name.
struct Observed {
    SimRun run;
    std::map<std::string, std::vector<uint8_t>> frames;
};

// Skips the logo at tick 40, confirms "start" in the menu at tick 100 and watches the opening:
// every start-of-program picture, animation and sound is shown or played on the way. --scene 5
// runs the ending instead.
Observed watch(const std::string& data, const std::string& frames, bool ending) {
    fs::remove_all(frames);
    Observed seen;
    seen.run = ending ? runSim(data, "", 40, "--scene 5 --frames '" + frames + "' --every 4")
                      : runSim(data, "40 Z\n100 Z\n", 400, "--frames '" + frames + "' --every 8");
    for (const fs::directory_entry& entry : fs::directory_iterator(frames))
        seen.frames[entry.path().filename().string()] = readBytes(entry.path().string());
    return seen;
}

// The trace as text, tick by tick, for comparing two runs.
std::vector<std::string> traceText(const SimRun& run) {
    std::vector<std::string> lines;
    for (const TraceLine& line : run.lines) {
        std::string text = line.sound;
        for (const auto& [name, value] : line.fields)
            text += " " + name + "=" + std::to_string(value);
        lines.push_back(text);
    }
    return lines;
}

TEST_F(DamagedDataTest, DamagedProgramFilesAreTreatedAsMissing) {
    const std::string frames = root + "/frames";
    for (const char* name : {"LOGO.BMP", "open-bk.bmp", "open-s.bmp", "open-c.spr", "Open-M.wav",
                             "Ending-s.spr", "C-Eff.wav", "C-Music.wav"}) {
        const bool ending = std::string(name) == "Ending-s.spr";
        const std::string path = data + "/" + name;
        const std::vector<uint8_t> original = readBytes(path);
        ASSERT_FALSE(original.empty()) << name;
        damage(path, Damage::Missing);
        Observed missing = watch(data, frames, ending);
        ASSERT_EQ(missing.run.exitCode, 0) << name << "\n" << missing.run.stderrText;
        ASSERT_EQ(missing.run.lines.size(), ending ? 40u : 400u) << name;
        for (Damage how : {Damage::Truncated, Damage::Garbage}) {
            // A sound cut short is not missing: it plays what is left of it.
            if (how == Damage::Truncated && isWave(name))
                continue;
            writeBytes(path, original);
            damage(path, how);
            Observed damaged = watch(data, frames, ending);
            const std::string what = std::string(name) + " " + damageName(how);
            EXPECT_EQ(damaged.run.exitCode, 0) << what;
            EXPECT_FALSE(sanitizerSpoke(damaged.run.stderrText)) << what << "\n"
                                                                 << damaged.run.stderrText;
            EXPECT_EQ(traceText(damaged.run), traceText(missing.run)) << what;
            EXPECT_EQ(damaged.frames, missing.frames) << what;
        }
        writeBytes(path, original);
        // The file matters: with it in place the pictures differ (the sounds only differ in
        // their trace, and the tally's sounds are not used by these scenes).
        Observed intact = watch(data, frames, ending);
        if (std::string(name).find(".wav") == std::string::npos) {
            EXPECT_NE(intact.frames, missing.frames) << name;
        }
        if (std::string(name) == "Open-M.wav") {
            EXPECT_NE(traceText(intact.run), traceText(missing.run));
        }
    }
}

// Sets the game would divide by (a rate of 0) or index past (a collision mask with no frames, a
// digit font short of 9) load, but the game refuses to start with them, naming the file.
TEST_F(DamagedDataTest, SetsTheGameCannotAnimateOrIndexStopTheStart) {
    struct Case {
        const char* name;
        uint32_t frames;
        uint32_t rate;
    };
    for (const Case& c :
         {Case{"Dead12.spr", 2, 0}, Case{"Hit.spr", 0, 10}, Case{"Number.spr", 9, 10}}) {
        SpriteSetImage image;
        image.rate = 1;
        image.frames.assign(c.frames ? c.frames : 1, makeSpriteFrameImage(8, 8, 4, 4, 1));
        std::vector<uint8_t> bytes = encodeSpriteSet(image);
        bytes[7] = static_cast<uint8_t>(c.rate); // the writer will not write a rate of 0
        if (c.frames == 0) {
            bytes.resize(3 + 20 + 1024);
            bytes[3] = 0;
        }
        const std::string path = data + "/" + c.name;
        const std::vector<uint8_t> original = readBytes(path);
        writeBytes(path, bytes);
        SimRun run = runSim(data, "", 5);
        writeBytes(path, original);
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(run.lines.empty()) << c.name << ": the program ran";
        EXPECT_NE(run.stderrText.find(startUpFailureText), std::string::npos) << c.name;
        EXPECT_NE(
            run.stderrText.find("\"" + std::string(c.name) + "\" in " + data + " cannot be used"),
            std::string::npos)
            << run.stderrText;
    }
}

TEST_F(DamagedDataTest, LogoOfNoiseShowsNothing) {
    damage(data + "/LOGO.BMP", Damage::Garbage);
    const std::string frames = root + "/frames";
    SimRun run = runSim(data, "", 40, "--frames '" + frames + "' --every 5");
    ASSERT_EQ(run.exitCode, 0);
    int checked = 0;
    for (int tick = 5; tick <= 40; tick += 5) {
        char file[32];
        std::snprintf(file, sizeof file, "/frame-%06d.png", tick);
        std::vector<uint8_t> pixels = framePixels(frames + file);
        ASSERT_EQ(pixels.size(), 640u * 480u) << tick;
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), pixels[0]), 640 * 480) << tick;
        ++checked;
    }
    EXPECT_EQ(checked, 8);
}

} // namespace

} // namespace kavorind
