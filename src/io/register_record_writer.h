#ifndef ZEL_IO_REGISTER_RECORD_WRITER_H
#define ZEL_IO_REGISTER_RECORD_WRITER_H

// One register record of the body's data area: the register addresses and values of
// one entry, framed by two-letter markers and padded to 16 bytes.

#include <cstddef>
#include <cstdint>

#include "camera/register_entry.h"

namespace zel::body {

// The data area behind the entry table. Offsets are counted from the start of the entry
// table, so `bytes[0]` lies at offset `start` (the table's length) and a record may end
// no later than `start + capacity`.
struct DataArea {
    std::uint8_t* bytes;
    std::size_t capacity;
    std::int32_t start;
};

// Register count of a register list: 0 when it is empty or its first address is empty
// (nothing wrote it), else its entry count.
std::size_t registerCount(const RegisterList& list);

// Writes one record of `count` registers at `dataEnd`: with addresses ("SA", address low
// and high byte per register, "EA", "SD", one value byte per register, "ED") or values
// only ("SR", one value byte per register, "ER"), zero-padded to a multiple of 16 bytes.
// Returns the padded length; a record of no registers writes nothing and returns 0.
// Throws the output error, writing nothing, when `dataEnd` lies inside the entry table or
// the record would pass the end of the data area.
std::int32_t writeRegisterRecord(const RegisterEntry* registers, std::size_t count,
                                 const DataArea& data, std::int32_t dataEnd, bool valuesOnly);

}  // namespace zel::body

#endif  // ZEL_IO_REGISTER_RECORD_WRITER_H
