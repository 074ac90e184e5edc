#pragma once
#include <string>

// The path of a content file in the working directory: the name as written when such a file exists,
// otherwise the first file whose name matches it without regard to case, otherwise the name itself
// (whose load then fails as a missing file would).
std::string contentPath(const std::string& name);
