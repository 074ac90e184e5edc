#pragma once
#include <string>

namespace kavorind {

// What tells one set of content files from another, so that scores made with other pictures, maps
// and sounds are kept apart: 16 lower-case hex digits of a 64-bit FNV-1a over every regular file in
// the folder whose name ends, in any case, in .bmp, .pal, .spr, .map or .wav, taken in the order of
// their lower-cased names, each as its lower-cased name, a 0 byte, its size as 8 bytes
// little-endian and its bytes. A file that cannot be read counts as its name and the size
// 0xFFFFFFFFFFFFFFFF.
std::string contentFingerprint(const std::string& folder);

} // namespace kavorind
