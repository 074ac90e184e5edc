#include "output.h"

#include "sound/wave_writer.h"

#include <cstdio>

namespace kavorind {

namespace {

int report(const std::string& name, const std::string& error) {
    std::fprintf(stderr, "kavorind-content: %s: %s\n", name.c_str(), error.c_str());
    return 0;
}

} // namespace

int writeContent(const ContentSet& content, const std::string& dir) {
    std::string error;
    for (const auto& p : content.pictures)
        if (!writeBitmap(dir + "/" + p.name, p.data, {}, &error))
            return report(p.name, error);
    for (const auto& s : content.sprites)
        if (!writeSpriteSet(dir + "/" + s.name, s.data, &error))
            return report(s.name, error);
    for (const auto& m : content.maps)
        if (!writeStageMap(dir + "/" + m.name, m.data, &error))
            return report(m.name, error);
    for (const auto& w : content.sounds)
        if (!writeWaveFile(dir + "/" + w.name, describeWave(w.data.samples, 1, w.data.sampleRate),
                           &error))
            return report(w.name, "cannot write " + dir + "/" + w.name + ": " + error);
    return 1;
}

} // namespace kavorind
