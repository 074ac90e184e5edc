#include "platform/page_bridge.h"
#include "shell/entry.h"

using namespace kavorind;

int main(int argc, char** argv) {
    return platformProgramEnds(kavorindMain(argc, argv));
}
