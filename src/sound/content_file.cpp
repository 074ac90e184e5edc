#include "sound/content_file.h"

#include "platform/content_path.h"

#include <fstream>

int readContentFile(const std::string& name, size_t maxBytes, std::vector<uint8_t>* out) {
    out->clear();
    std::string path = contentPath(name);
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return 0;
    std::streamoff length = file.tellg();
    if (length < 0 || static_cast<unsigned long long>(length) > maxBytes)
        return 0;
    out->resize(static_cast<size_t>(length));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(out->data()), length);
    if (!file) {
        out->clear();
        return 0;
    }
    return 1;
}
