#include "camera/param_buf.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// Far above any camera grid, and small enough that size^3 x 3 cannot overflow.
constexpr std::size_t kMaxCubeSize = 65535;

std::size_t toSize(std::int32_t value) {
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

// A table slot of the record and its header; empty when the block is not kept.
struct TableSlot {
    ParamTable* table = nullptr;
    ParamHeader* header = nullptr;
};

TableSlot matrixSlot(ZelSharedParamBuf& p, std::uint32_t code, bool first, bool second) {
    switch (code) {
        case zel::kCodeGainMatrix:
            return first ? TableSlot{&p.gainMatrix0, &p.gainMatrixHeader0}
                         : TableSlot{&p.gainMatrix1, &p.gainMatrixHeader1};
        case zel::kCodeSecondMatrix:
            return first ? TableSlot{&p.secondMatrix0, &p.secondMatrixHeader0}
                         : TableSlot{&p.secondMatrix1, &p.secondMatrixHeader1};
        case zel::kCodeColorMatrix:
            // The second-generation camera has no colour matrix page of its own.
            if (second) {
                return {};
            }
            return first ? TableSlot{&p.colorMatrix0, &p.colorMatrixHeader0}
                         : TableSlot{&p.colorMatrix1, &p.colorMatrixHeader1};
        default:
            return {};
    }
}

TableSlot lutSlot(ZelSharedParamBuf& p, std::uint32_t code, bool first, bool second) {
    if (code == zel::kCodeFirstLut && first) {
        return {&p.firstLut, &p.firstLutHeader};
    }
    // The second-generation camera has no second 1D LUT.
    if (code == zel::kCodeSecondLut && !second) {
        return first ? TableSlot{&p.secondLut0, &p.secondLutHeader0}
                     : TableSlot{&p.secondLut1, &p.secondLutHeader1};
    }
    return {};
}

// The first generation has two cube slots: every cube after the first shares the second
// one, the last of them winning. The second generation has a third slot for the rest.
std::pair<ParamCube*, ParamHeader*> cubeSlot(ZelSharedParamBuf& p, std::uint32_t instance,
                                             bool second) {
    if (instance == 0) {
        return {&p.cube0, &p.cubeHeader0};
    }
    if (instance == 1 || !second) {
        return {&p.cube1, &p.cubeHeader1};
    }
    return {&p.cube2, &p.cubeHeader2};
}

}  // namespace

void storeMatrix(const std::vector<double>& source, ParamTable& table, ParamHeader& header,
                 std::int32_t rows, std::int32_t columns, std::uint8_t useFixedTable) {
    // The converter holds its matrix as 3x3 row-major; a square table of another size
    // takes what exists of it and zeros elsewhere.
    const std::size_t n = toSize(rows);
    ParamTable built;
    built.rows = static_cast<std::int32_t>(n);
    built.columns = static_cast<std::int32_t>(n);
    built.values.assign(n * n, 0.0);
    for (std::size_t r = 0; r < n && r < 3; ++r) {
        for (std::size_t c = 0; c < n && c < 3; ++c) {
            if (r * 3 + c < source.size()) {
                built.values[r * n + c] = source[r * 3 + c];
            }
        }
    }
    table = std::move(built);
    header = ParamHeader{rows, columns, useFixedTable, 0};
}

void store1dTable(const ZelColorConverter& converter, ParamTable& table, ParamHeader& header,
                  std::int32_t rows, std::int32_t columns, std::int32_t inputFirst,
                  std::int32_t inputLast, std::uint8_t useFixedTable, std::uint8_t headerOnly,
                  std::uint8_t writeToMemory) {
    if (headerOnly != 1) {
        // The converter's rows are `converter.columns` wide; copy what both hold.
        const std::size_t n = toSize(rows);
        const std::size_t width = toSize(columns);
        const std::size_t sourceWidth = toSize(converter.columns);
        ParamTable built;
        built.rows = static_cast<std::int32_t>(n);
        built.columns = static_cast<std::int32_t>(width);
        built.values.assign(n * width, 0.0);
        for (std::size_t r = 0; r < n; ++r) {
            for (std::size_t c = 0; c < width && c < sourceWidth; ++c) {
                const std::size_t from = r * sourceWidth + c;
                if (from < converter.table1d.size()) {
                    built.values[r * width + c] = converter.table1d[from];
                }
            }
        }
        table = std::move(built);
    }
    header =
        ParamHeader{rows, columns, inputFirst, inputLast, useFixedTable, headerOnly, writeToMemory};
}

void storeCube(const std::vector<double>& source, ParamCube& cube, ParamHeader& header,
               std::int32_t size, std::int32_t columns, std::uint8_t fullCodeRange) {
    const std::size_t n = toSize(size);
    if (n > kMaxCubeSize) {
        throw std::length_error("cube grid size out of range");
    }
    ParamCube built;
    built.size = static_cast<std::int32_t>(n);
    built.values.assign(n * n * n * 3, 0.0);
    const std::size_t copied =
        source.size() < built.values.size() ? source.size() : built.values.size();
    std::copy(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(copied),
              built.values.begin());
    cube = std::move(built);
    header = ParamHeader{size, columns, 0, 0, fullCodeRange};
}

void fillParamBuffer(ZelLookSettings& settings, const std::vector<ZelColorConverter>& converters,
                     ZelSharedParamBuf& paramBuf) {
    const bool second = settings.generationMode == zel::kSecondGeneration;
    for (const ZelColorConverter& converter : converters) {
        settings.blockOrder.push_back({converter.typeCode, converter.instance});
        const bool first = converter.instance == 0;
        if (converter.kind == zel::kKindMatrix) {
            const TableSlot slot = matrixSlot(paramBuf, converter.typeCode, first, second);
            if (slot.table != nullptr) {
                storeMatrix(converter.matrixTable, *slot.table, *slot.header, converter.rows,
                            converter.columns, converter.useFixedTable);
            }
        } else if (converter.kind == zel::kKind1d) {
            const TableSlot slot = lutSlot(paramBuf, converter.typeCode, first, second);
            if (slot.table != nullptr) {
                store1dTable(converter, *slot.table, *slot.header, converter.rows,
                             converter.columns, converter.inputFirst, converter.inputLast,
                             converter.useFixedTable, converter.headerOnly,
                             converter.writeToMemory);
            }
        } else if (converter.kind == zel::kKindCube) {
            const auto slot = cubeSlot(paramBuf, converter.instance, second);
            storeCube(converter.cube, *slot.first, *slot.second, converter.rows, converter.columns,
                      converter.fullCodeRange);
        }
    }
}

std::vector<BlockOrderEntry>& copyBlockOrder(const ZelLookSettings& settings,
                                             std::vector<BlockOrderEntry>& order) {
    order.clear();
    order.assign(settings.blockOrder.begin(), settings.blockOrder.end());
    return order;
}
