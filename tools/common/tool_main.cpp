#include "common/tool_main.h"

#include "platform/system_places.h"

#include <cstdio>
#include <exception>
#include <new>

namespace kavorind {

int runTool(const char* program, int (*toolMain)(int, char**), int argc, char** argv) {
    platformProgramStarts();
    try {
        return toolMain(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: out of memory\n", program);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", program, failure.what());
    }
    return 1;
}

} // namespace kavorind
