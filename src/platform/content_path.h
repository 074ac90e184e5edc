#pragma once
#include <string>

namespace kavorind {

// The path to open for a content file: the name as written when such a file exists, otherwise the
// first file in the same folder whose name matches it without regard to case ("MENU-B.WAV" finds
// "Menu-b.wav"), otherwise the name itself (whose opening then fails as a missing file would).
std::string contentPath(const std::string& name);

} // namespace kavorind
