#include "shell/entry.h"

int main() {
    return kavorindMain();
}
