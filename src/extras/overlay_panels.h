#pragma once
#include "platform/video.h"

#include <string>
#include <vector>

namespace kavorind {

// The painter the platform asks at every present: the pause, the run's result, the score table
// and the replay's mark, from aroundGame's records.
void paintAroundGame(const PlatformOverlayArea& area, std::vector<PlatformOverlayBox>* boxes);

// "1ST", "2ND", "3RD", "4TH" ... "10TH".
std::string ordinalText(int rank);
// Ticks as minutes and seconds of play: "3:07".
std::string playTimeText(int ticks);

} // namespace kavorind
