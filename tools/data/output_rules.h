#pragma once
#include "common/output_place.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// What the tool refuses to write, decided before anything is written: an author's own files are
// never replaced by what is made from them.

// 1 when what an import made is the kind of file OUT's extension names: a bitmap for .bmp or
// .pal, a sprite set for .spr, a stage map for .map, a wave for .wav.
int madeFitsName(std::span<const uint8_t> made, const std::string& out);
// The first input that names the same file as the output (the same file on disk, or the same
// place); empty when none does.
std::string inputNamedBy(const std::string& output, const std::vector<std::string>& inputs);
// The names that appear more than once, each once, in the order first repeated.
std::vector<std::string> repeatedNames(const std::vector<std::string>& names);

} // namespace kavorind
