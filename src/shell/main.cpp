#include "platform/page_bridge.h"
#include "platform/system_places.h"
#include "shell/entry.h"

#include <cstdio>
#include <exception>
#include <new>

using namespace kavorind;

int main(int argc, char** argv) {
    // The game reports its failures as exit codes; what the standard library may still throw
    // (memory running out) ends the program with a message rather than an abort.
    platformProgramStarts();
    try {
        return platformProgramEnds(kavorindMain(argc, argv));
    } catch (const std::bad_alloc&) {
        std::fputs("kavorind: out of memory\n", stderr);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kavorind: %s\n", failure.what());
    }
    return platformProgramEnds(1);
}
