#include "color/color_converter.h"

#include "platform/job_error.h"
#include "zel/enums.h"

namespace {

std::size_t toSize(std::int32_t value) {
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

}  // namespace

void ZelColorConverter::initLattice(std::int32_t newKind, std::int32_t newRows,
                                    std::int32_t newColumns) {
    rows = newRows;
    kind = newKind;
    columns = newColumns;
    switch (kind) {
        case zel::kKind1d:
            table1d.assign(toSize(rows) * toSize(columns), 0.0);
            break;
        case zel::kKindCube: {
            const std::size_t n = toSize(rows);
            cube.assign(n * n * n * 3, 0.0);
            break;
        }
        case zel::kKindMatrix:
            rows = 3;
            columns = 1;
            matrixTable.assign(9, 0.0);
            break;
        default:
            zel::failLattice("a processing block is of a kind the library does not know");
    }
}

void ZelColorConverter::loadFlatTable(const std::vector<double>& values) {
    switch (kind) {
        case zel::kKind1d:
            for (std::size_t i = 0; i < table1d.size() && i < values.size(); ++i) {
                table1d[i] = values[i];
            }
            break;
        case zel::kKindCube: {
            // The flat array carries `columns` values a node; the cube keeps three.
            const std::size_t n = toSize(rows);
            const std::size_t stride = toSize(columns);
            for (std::size_t node = 0; node < n * n * n; ++node) {
                for (std::size_t ch = 0; ch < 3 && ch < stride; ++ch) {
                    const std::size_t from = node * stride + ch;
                    if (from < values.size()) {
                        cube[node * 3 + ch] = values[from];
                    }
                }
            }
            break;
        }
        case zel::kKindMatrix:
            for (std::size_t i = 0; i < 9 && i < values.size(); ++i) {
                matrixTable[i] = values[i];
            }
            break;
        default:
            zel::failLattice("a processing block is of a kind the library does not know");
    }
}

void ZelColorConverter::loadNodeValues(const float* nodeValues) {
    const std::size_t n = toSize(rows);
    const std::size_t nodes = n * n * n;
    for (std::size_t node = 0; node < nodes; ++node) {
        for (std::size_t ch = 0; ch < 3; ++ch) {
            cube[node * 3 + ch] = static_cast<double>(nodeValues[node * 4 + ch]);
        }
    }
}

void ZelColorConverter::viewNodeValues(std::int32_t gridSize, const float* nodeValues) {
    kind = zel::kKindCube;
    rows = gridSize;
    columns = 3;
    cube.clear();
    hostNodes = nodeValues;
}
