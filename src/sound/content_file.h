#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reads a whole content file. A name that does not exist as written is looked up in its folder
// without regard to case ("MENU-B.WAV" finds "Menu-b.wav"). 0 when there is no such readable file
// or it is larger than maxBytes.
int readContentFile(const std::string& name, size_t maxBytes, std::vector<uint8_t>* out);
