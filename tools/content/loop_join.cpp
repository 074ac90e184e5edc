#include "loop_join.h"

#include "content.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kavorind {

namespace {

// A silent stretch counts as one step of the lowest bit, so that its level is finite.
double rmsDb(const int16_t* first, size_t count) {
    double sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += static_cast<double>(first[i]) * first[i];
    double rms = count ? std::sqrt(sum / static_cast<double>(count)) : 0;
    return 20 * std::log10(std::max(rms, 1.0) / 32768.0);
}

int percentileStep(const std::vector<int16_t>& samples, double fraction) {
    if (samples.size() < 2)
        return 0;
    std::vector<int> steps(samples.size() - 1);
    for (size_t i = 0; i + 1 < samples.size(); ++i)
        steps[i] = std::abs(samples[i + 1] - samples[i]);
    size_t at = static_cast<size_t>(fraction * static_cast<double>(steps.size() - 1));
    std::nth_element(steps.begin(), steps.begin() + static_cast<ptrdiff_t>(at), steps.end());
    return steps[at];
}

std::string decibels(double db) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dB", db);
    return text;
}

} // namespace

LoopJoin measureLoopJoin(const std::vector<int16_t>& samples, int sampleRate) {
    LoopJoin join;
    if (samples.empty())
        return join;
    size_t window = std::min(samples.size(), static_cast<size_t>(sampleRate / 10));
    join.endDb = rmsDb(samples.data() + samples.size() - window, window);
    join.startDb = rmsDb(samples.data(), window);
    join.joinStep = std::abs(samples.back() - samples.front());
    join.usualStep = percentileStep(samples, 0.99);
    return join;
}

int checkLoop(const std::vector<int16_t>& samples, int sampleRate, std::string* why) {
    if (samples.empty() || samples.size() % adpcmBlockSamples) {
        *why = "loop of " + std::to_string(samples.size()) + " samples is not a whole number of " +
               std::to_string(adpcmBlockSamples) + "-sample blocks";
        return 0;
    }
    LoopJoin join = measureLoopJoin(samples, sampleRate);
    if (std::fabs(join.endDb - join.startDb) > 3.0) {
        *why = "loop ends at " + decibels(join.endDb) + " but starts at " + decibels(join.startDb);
        return 0;
    }
    if (join.joinStep > join.usualStep) {
        *why = "loop clicks at its join: a step of " + std::to_string(join.joinStep) +
               " where the clip's steps stay within " + std::to_string(join.usualStep);
        return 0;
    }
    return 1;
}

int checkLoopingSounds(const ContentSet& content) {
    int ok = 1;
    for (const auto& s : content.sounds) {
        std::string why;
        if (s.data.looping && !checkLoop(s.data.samples, s.data.sampleRate, &why)) {
            std::fprintf(stderr, "kavorind-content: %s: %s\n", s.name.c_str(), why.c_str());
            ok = 0;
        }
    }
    return ok;
}

} // namespace kavorind
