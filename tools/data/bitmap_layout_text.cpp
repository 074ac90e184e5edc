#include "data/bitmap_layout_text.h"

#include <charconv>
#include <sstream>

namespace kavorind {

namespace {

int readNumber(const std::string& word, const std::string& value, int low, int high, int* out,
               std::string* why) {
    int number = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < low ||
        number > high) {
        *why = "\"" + word + "\" needs a number from " + std::to_string(low) + " to " +
               std::to_string(high);
        return 0;
    }
    *out = number;
    return 1;
}

int readWord(const std::string& word, BitmapLayout* layout, std::string* why) {
    size_t equals = word.find('=');
    std::string key = word.substr(0, equals);
    std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
    if (key == "rows") {
        if (value != "bottom-up" && value != "top-down") {
            *why = "\"rows\" is bottom-up or top-down, not \"" + value + "\"";
            return 0;
        }
        layout->topDown = value == "top-down";
        return 1;
    }
    if (key == "colour-count-field") {
        int field = 0;
        if (!readNumber(word, value, 0, 256, &field, why))
            return 0;
        layout->colourCountZero = field == 0;
        return 1;
    }
    if (key == "info-header")
        return readNumber(word, value, 40, 4096, &layout->infoHeaderSize, why);
    *why = "\"" + word + "\" is not one of rows=, colour-count-field=, info-header=";
    return 0;
}

} // namespace

std::string describeBitmapLayout(const BitmapLayout& layout) {
    return std::string("rows=") + (layout.topDown ? "top-down" : "bottom-up") +
           " colour-count-field=" +
           std::to_string(layout.colourCountZero ? 0 : layout.colourCount) +
           " info-header=" + std::to_string(layout.infoHeaderSize);
}

int readBitmapLayout(const std::string& text, BitmapLayout* layout, std::string* why) {
    std::istringstream words(text);
    std::string word;
    while (words >> word)
        if (!readWord(word, layout, why))
            return 0;
    return 1;
}

} // namespace kavorind
