#ifndef ZEL_CAMERA_PARAM_BUF_H
#define ZEL_CAMERA_PARAM_BUF_H

// The hand-over record between colour conversion and the camera processing engine: each
// processing block's table and a small integer header, in a slot chosen by the block's
// type code and instance.

#include <cstdint>
#include <vector>

#include "color/color_converter.h"
#include "settings/look_settings.h"

// A 2D table (matrix or 1D table): rows x columns doubles, row-major.
struct ParamTable {
    std::int32_t rows = 0;
    std::int32_t columns = 0;
    std::vector<double> values;

    bool empty() const { return values.empty(); }
    double at(std::int32_t row, std::int32_t column) const {
        return values[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                      static_cast<std::size_t>(column)];
    }
};

// A cube: size^3 nodes of three doubles, node (a, b, c) at ((a * size + b) * size + c) * 3.
struct ParamCube {
    std::int32_t size = 0;
    std::vector<double> values;

    bool empty() const { return values.empty(); }
};

using ParamHeader = std::vector<std::int32_t>;

// The numbers are the slots of the camera's parameter buffer; the slots between them are
// reserved and never filled.
struct ZelSharedParamBuf {
    ParamTable gainMatrix0;           // 0: (4, 0)
    ParamTable secondMatrix0;         // 1: (5, 0)
    ParamHeader gainMatrixHeader0;    // 2
    ParamHeader secondMatrixHeader0;  // 3
    ParamTable firstLut;              // 4: (8, 0)
    ParamHeader firstLutHeader;       // 5
    ParamCube cube0;                  // 8: (9, 0)
    ParamHeader cubeHeader0;          // 9
    ParamTable colorMatrix0;          // 10: (12, 0)
    ParamHeader colorMatrixHeader0;   // 11
    ParamTable secondLut0;            // 12: (14, 0)
    ParamHeader secondLutHeader0;     // 13
    ParamTable gainMatrix1;           // 14: (4, 1)
    ParamTable secondMatrix1;         // 15: (5, 1)
    ParamHeader gainMatrixHeader1;    // 16
    ParamHeader secondMatrixHeader1;  // 17
    ParamCube cube1;                  // 18: (9, 1); first generation: every later cube
    ParamHeader cubeHeader1;          // 19
    ParamTable colorMatrix1;          // 22: (12, 1)
    ParamHeader colorMatrixHeader1;   // 23
    ParamTable secondLut1;            // 24: (14, 1)
    ParamHeader secondLutHeader1;     // 25
    ParamCube cube2;                  // 34: second generation, instance 2 and later
    ParamHeader cubeHeader2;          // 35
};

// Copies every converter's table and header into its slot, and appends one
// (code, instance) entry per converter to settings.blockOrder.
void fillParamBuffer(ZelLookSettings& settings, const std::vector<ZelColorConverter>& converters,
                     ZelSharedParamBuf& paramBuf);

// The three copy operations of the filler. Each replaces both members: the table (left
// unchanged for a 1D table with headerOnly 1, whose header alone is stored) and the header.
// storeMatrix: a square rows x rows table from the converter's 3x3 matrix; header
// (rows, columns, useFixedTable, 0).
void storeMatrix(const std::vector<double>& source, ParamTable& table, ParamHeader& header,
                 std::int32_t rows, std::int32_t columns, std::uint8_t useFixedTable);
// store1dTable: a rows x columns table; header (rows, columns, inputFirst, inputLast,
// useFixedTable, headerOnly, writeToMemory).
void store1dTable(const ZelColorConverter& converter, ParamTable& table, ParamHeader& header,
                  std::int32_t rows, std::int32_t columns, std::int32_t inputFirst,
                  std::int32_t inputLast, std::uint8_t useFixedTable, std::uint8_t headerOnly,
                  std::uint8_t writeToMemory);
// storeCube: a size^3 cube of RGB triples; header (size, columns, 0, 0, fullCodeRange). Throws
// std::length_error for a size no cube memory can have (above 65535).
void storeCube(const std::vector<double>& source, ParamCube& cube, ParamHeader& header,
               std::int32_t size, std::int32_t columns, std::uint8_t fullCodeRange);

// Clears `order`, copies the settings' block order into it and returns it.
std::vector<BlockOrderEntry>& copyBlockOrder(const ZelLookSettings& settings,
                                             std::vector<BlockOrderEntry>& order);

#endif  // ZEL_CAMERA_PARAM_BUF_H
