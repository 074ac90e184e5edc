#pragma once
#include "content.h"

#include <string>

namespace kavorind {

// Writes PNG contact sheets of the content set into dir; 1 on success.
int writePreview(const ContentSet& content, const std::string& dir);

} // namespace kavorind
