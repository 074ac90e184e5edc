#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// What became of one content file on its way into the browser package.
struct PackedFile {
    std::string name;
    uint64_t bytesBefore = 0;
    uint64_t bytesAfter = 0;
    int madeAdpcm = 0;
    long samples = 0;      // of a wave made ADPCM: its samples per channel
    long addedSamples = 0; // the silence the last block adds beyond them (0 for whole blocks)
    double signalToNoiseDb = 0;
};

// The file as the browser package carries it: a PCM wave as IMA ADPCM (*packed says how far it
// stays from the original), anything else as it is. 1 on success, else 0 with the reason in *why.
int packContentFile(std::span<const uint8_t> file, std::vector<uint8_t>* out, PackedFile* packed,
                    std::string* why);
// Writes every file of the content folder from into the folder to (made when missing), packed.
// One line per file goes to *report. 1 when every file was written, else 0 with the reason in
// *why.
int packContentFolder(const std::string& from, const std::string& to,
                      std::vector<PackedFile>* report, std::string* why);

} // namespace kavorind
