// A host that uses the installed library through its umbrella header only.
#include <zel/zel.h>

#include <cstdio>

int main() {
    ZelGenerator generator;
    generator.zel_initialize();
    if (generator.zel_get_status() != ZelEnum::ZEL_STATUS_READY) {
        std::puts("generator did not initialise");
        return 1;
    }
    ZelGenInput input;
    ZelGenOutput output;
    // No look: the job must fail cleanly with the error status.
    generator.zel_exec(input, output);
    if (generator.zel_get_status() != ZelEnum::ZEL_STATUS_ERROR) {
        std::puts("an empty job did not fail");
        return 1;
    }
    std::puts("ok");
    return 0;
}
