// A host that uses the installed library through its umbrella header only.
#include <zel/zel.h>

#include <cstdio>
#include <cstring>

int main() {
    if (std::strcmp(zel_version(), ZEL_VERSION_STRING) != 0) {
        std::printf("compiled against zel %s, loaded %s\n", ZEL_VERSION_STRING, zel_version());
        return 1;
    }
    ZelGenerator generator;
    generator.zel_initialize();
    if (!generator.zel_set_time_stamp("2026-01-02 03:04:05") ||
        generator.zel_set_time_stamp("2026-13-02 03:04:05")) {
        std::puts("the time stamp is not checked");
        return 1;
    }
    if (generator.zel_get_status() != ZelEnum::ZEL_STATUS_READY) {
        std::puts("generator did not initialise");
        return 1;
    }
    ZelGenInput input;
    ZelGenOutput output;
    // No look: the job must fail cleanly with the error status (its console line is not
    // wanted here).
    generator.zel_set_console(nullptr, nullptr);
    generator.zel_exec(input, output);
    if (generator.zel_get_status() != ZelEnum::ZEL_STATUS_ERROR) {
        std::puts("an empty job did not fail");
        return 1;
    }
    std::printf("ok %s\n", zel_version());
    return 0;
}
