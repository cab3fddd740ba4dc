#ifndef ZEL_IO_BODY_CONTEXT_H
#define ZEL_IO_BODY_CONTEXT_H

// The running state of one body write: how many entries and passes the camera generation
// has, how often each kind of block repeats, where the next entry and record go, and the
// slots earlier entries took so that later ones can point at the same record.

#include <cstdint>
#include <vector>

struct OutputContext {
    struct Slot {
        std::int32_t count = 0;
        std::int32_t offset = 0;
    };

    std::int32_t entryCount = 0;
    std::int32_t mode = 0;
    std::int32_t passCount = 0;
    std::int32_t entryIndex = 0;
    std::int32_t passEntryIndex = 0;
    std::int32_t dataEnd = 0;
    std::int32_t repeatSingle = 0;
    std::int32_t repeatLut = 0;
    std::int32_t repeatLut3 = 0;
    std::int32_t repeatFixedLut = 0;
    std::int32_t repeatCube = 0;
    std::vector<Slot> entrySlots;  // entryCount slots
    std::vector<Slot> blockSlots;  // 20 x 5 x 60 slots: (category, subtype, repetition)
};

// A fresh context for generation mode `mode` (0 or 2); any other mode writes nothing.
void setupOutputContext(OutputContext& context, std::int32_t mode);

#endif  // ZEL_IO_BODY_CONTEXT_H
