#include "shell/entry.h"

using namespace kavorind;

int main(int argc, char** argv) {
    return kavorindMain(argc, argv);
}
