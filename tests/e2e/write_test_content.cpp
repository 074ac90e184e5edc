// kavorind-test-content DIR: writes the small test content set into DIR, for the script tests that
// need the program to start without depending on the default content.
#include "../test_content.h"

#include <cstdio>

using namespace kavorind;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavorind-test-content DIR\n");
        return 2;
    }
    return writeTestContent(argv[1]) ? 0 : 1;
}
