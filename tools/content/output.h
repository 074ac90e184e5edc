#pragma once
#include "content.h"

#include <string>

namespace kavorind {

// Writes every file of the content set into dir under its own name; 1 when all were written,
// else 0 after naming the file that failed on stderr.
int writeContent(const ContentSet& content, const std::string& dir);

} // namespace kavorind
