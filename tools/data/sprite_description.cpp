#include "data/sprite_description.h"

#include "assets/asset_limits.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>

namespace kavorind {

namespace {

using nlohmann::json;

int refuse(std::string* why, const std::string& field, const std::string& reason) {
    *why = field + ": " + reason;
    return 0;
}

// A whole number in low..high held by the member `name` of the object; the field is named path.
int readInteger(const json& object, const char* name, const std::string& path, int64_t low,
                int64_t high, int64_t* out, std::string* why) {
    auto found = object.find(name);
    if (found == object.end())
        return refuse(why, path, "missing");
    std::string range =
        "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    if (!found->is_number_integer())
        return refuse(why, path, "needs " + range);
    if (found->is_number_unsigned()) {
        uint64_t value = found->get<uint64_t>();
        if (value > static_cast<uint64_t>(high))
            return refuse(why, path, "needs " + range);
        *out = static_cast<int64_t>(value);
    } else
        *out = found->get<int64_t>();
    if (*out < low || *out > high)
        return refuse(why, path, "needs " + range);
    return 1;
}

template <typename Number>
int readField(const json& object, const char* name, const std::string& path, int64_t low,
              int64_t high, Number* out, std::string* why) {
    int64_t value = 0;
    if (!readInteger(object, name, path, low, high, &value, why))
        return 0;
    *out = static_cast<Number>(value);
    return 1;
}

int readColour(const json& entry, const std::string& path, PaletteEntry* colour, std::string* why) {
    if (!entry.is_array() || entry.size() != 3)
        return refuse(why, path, "needs [red, green, blue]");
    uint8_t parts[3] = {};
    for (size_t i = 0; i < 3; ++i) {
        if (!entry[i].is_number_unsigned() || entry[i].get<uint64_t>() > 255)
            return refuse(why, path, "each of red, green, blue needs a whole number from 0 to 255");
        parts[i] = static_cast<uint8_t>(entry[i].get<uint64_t>());
    }
    *colour = {parts[0], parts[1], parts[2], 0};
    return 1;
}

int readPalette(const json& root, SpriteDescription* description, std::string* why) {
    auto palette = root.find("palette");
    if (palette == root.end())
        return refuse(why, "palette", "missing");
    if (!palette->is_array() || palette->empty() || palette->size() > 256)
        return refuse(why, "palette", "needs a list of 1 to 256 colours [red, green, blue]");
    for (size_t i = 0; i < palette->size(); ++i)
        if (!readColour((*palette)[i], "palette[" + std::to_string(i) + "]",
                        &description->palette[i], why))
            return 0;
    return 1;
}

int readFrame(const json& entry, const std::string& path, SheetFrame* frame, std::string* why) {
    if (!entry.is_object())
        return refuse(why, path, "needs an object with x, y, width, height, hotX, hotY");
    constexpr int64_t side = maxPictureSide;
    constexpr int64_t low = std::numeric_limits<int32_t>::min();
    constexpr int64_t high = std::numeric_limits<int32_t>::max();
    return readField(entry, "x", path + ".x", 0, side - 1, &frame->x, why) &&
           readField(entry, "y", path + ".y", 0, side - 1, &frame->y, why) &&
           readField(entry, "width", path + ".width", 0, side, &frame->width, why) &&
           readField(entry, "height", path + ".height", 0, side, &frame->height, why) &&
           readField(entry, "hotX", path + ".hotX", low, high, &frame->hotX, why) &&
           readField(entry, "hotY", path + ".hotY", low, high, &frame->hotY, why);
}

int readFrames(const json& root, SpriteDescription* description, std::string* why) {
    auto frames = root.find("frames");
    if (frames == root.end())
        return refuse(why, "frames", "missing");
    if (!frames->is_array() || frames->empty() || frames->size() > maxSpriteFrames)
        return refuse(why, "frames", "needs a list of 1 to 65536 frames");
    description->frames.resize(frames->size());
    for (size_t i = 0; i < frames->size(); ++i)
        if (!readFrame((*frames)[i], "frames[" + std::to_string(i) + "]", &description->frames[i],
                       why))
            return 0;
    return 1;
}

} // namespace

std::string writeSpriteDescription(const SpriteDescription& description) {
    std::string text = "{\n  \"image\": " + json(description.image).dump() +
                       ",\n  \"rate\": " + std::to_string(description.rate) +
                       ",\n  \"key\": " + std::to_string(description.key) + ",\n  \"palette\": [";
    for (size_t i = 0; i < description.palette.size(); ++i) {
        const PaletteEntry& colour = description.palette[i];
        text += (i ? ",\n    " : "\n    ") +
                json::array({colour.red, colour.green, colour.blue}).dump();
    }
    text += "\n  ],\n  \"frames\": [";
    for (size_t i = 0; i < description.frames.size(); ++i) {
        const SheetFrame& frame = description.frames[i];
        nlohmann::ordered_json entry = {{"x", frame.x},         {"y", frame.y},
                                        {"width", frame.width}, {"height", frame.height},
                                        {"hotX", frame.hotX},   {"hotY", frame.hotY}};
        text += (i ? ",\n    " : "\n    ") + entry.dump();
    }
    text += "\n  ]\n}\n";
    return text;
}

int readSpriteDescription(const std::string& text, SpriteDescription* description,
                          std::string* why) {
    *description = SpriteDescription{};
    json root = json::parse(text, nullptr, false);
    if (root.is_discarded())
        return refuse(why, "JSON", "not valid JSON (a missing comma, quote or bracket?)");
    if (!root.is_object())
        return refuse(why, "JSON", "needs an object with image, rate, key, palette and frames");
    auto image = root.find("image");
    if (image == root.end())
        return refuse(why, "image", "missing");
    if (!image->is_string() || image->get_ref<const std::string&>().empty())
        return refuse(why, "image", "needs the sheet's file name, such as \"Enemy0.png\"");
    description->image = image->get<std::string>();
    constexpr int64_t anyU32 = std::numeric_limits<uint32_t>::max();
    return readField(root, "rate", "rate", 1, anyU32, &description->rate, why) &&
           readField(root, "key", "key", 0, anyU32, &description->key, why) &&
           readPalette(root, description, why) && readFrames(root, description, why);
}

} // namespace kavorind
