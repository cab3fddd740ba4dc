#include "io/body_context.h"

void setupOutputContext(OutputContext& context, std::int32_t mode) {
    context = OutputContext();
    if (mode != 0 && mode != 2) {
        return;
    }
    context.entryCount = mode == 2 ? 512 : 256;
    context.mode = mode;
    context.passCount = mode == 2 ? 3 : 0;
    context.repeatSingle = 1;
    context.repeatLut = 4;
    context.repeatLut3 = 10;
    context.repeatFixedLut = 1;
    context.repeatCube = 51;
    context.entrySlots.assign(static_cast<std::size_t>(context.entryCount), {});
    context.blockSlots.assign(20 * 5 * 60, {});
}
