#include "shell/entry.h"

using namespace kavorind;

int main() {
    return kavorindMain();
}
