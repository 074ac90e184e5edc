#pragma once
#include "content.h"

#include <string>

// Writes PNG contact sheets of the content set into dir; 1 on success.
int writePreview(const ContentSet& content, const std::string& dir);
