#ifndef ZEL_COLOR_COLOR_CONVERTER_H
#define ZEL_COLOR_COLOR_CONVERTER_H

// One numeric processing block of the camera chain: a 3D cube of RGB triples, a 1D
// table of per-channel values, or a 3x3 matrix, with its block identity (type code and
// instance) and the flag bytes that tell the camera stages how to load it.
//
// Tables are stored flat and contiguous: the cube as N^3 nodes of three doubles with
// node (i, j, k) (i red, k blue) at ((i * N + j) * N + k) * 3, the 1D table row-major
// (rows x columns), the matrix row-major (3 x 3). Copies are deep.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Block kinds.
namespace zel {
constexpr std::int32_t kKindNone = 0;
constexpr std::int32_t kKind1d = 1;
constexpr std::int32_t kKindCube = 2;
constexpr std::int32_t kKindMatrix = 3;

// Block type codes.
constexpr std::uint32_t kCodeGainMatrix = 4;
constexpr std::uint32_t kCodeSecondMatrix = 5;
constexpr std::uint32_t kCodeFirstLut = 8;
constexpr std::uint32_t kCodeCube = 9;
constexpr std::uint32_t kCodeColorMatrix = 12;
constexpr std::uint32_t kCodeSecondLut = 14;
}  // namespace zel

class ZelColorConverter {
  public:
    ZelColorConverter() = default;

    // Sizes and zero-fills the table of `kind`: 1 a rows x columns table, 2 a cube of
    // rows^3 nodes of three values, 3 a 3x3 matrix (rows 3, columns 1 whatever was
    // passed). Any other kind throws the lattice error after storing the sizes.
    void initLattice(std::int32_t kind, std::int32_t rows, std::int32_t columns);
    // Fills the table of the current kind from a flat array in its storage order
    // (1D: row-major with `columns` values a row; cube: node-major with `columns` values
    // a node; matrix: row-major 3x3). Throws the lattice error for kind 0.
    void loadFlatTable(const std::vector<double>& values);
    // Fills the cube from the host's node table: four floats a node, blue fastest, the
    // fourth float of each node not read.
    void loadNodeValues(const float* nodeValues);
    // Makes this an N-node cube that reads the host's node table (laid out as above) in
    // place instead of holding a copy: a 255-grid look would otherwise cost 400 MB of
    // doubles. Lookups give the same values, every float being exact as a double. The
    // table must outlive every use of the cube; `cube` stays empty.
    void viewNodeValues(std::int32_t gridSize, const float* nodeValues);

    // Node (i, j, k) of a cube: three channel values.
    double* node(std::int32_t i, std::int32_t j, std::int32_t k) {
        return &cube[nodeOffset(i, j, k)];
    }
    const double* node(std::int32_t i, std::int32_t j, std::int32_t k) const {
        return &cube[nodeOffset(i, j, k)];
    }
    double& table(std::int32_t row, std::int32_t column) {
        return table1d[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                       static_cast<std::size_t>(column)];
    }
    double table(std::int32_t row, std::int32_t column) const {
        return table1d[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                       static_cast<std::size_t>(column)];
    }
    double& matrix(std::int32_t row, std::int32_t column) {
        return matrixTable[static_cast<std::size_t>(row * 3 + column)];
    }
    double matrix(std::int32_t row, std::int32_t column) const {
        return matrixTable[static_cast<std::size_t>(row * 3 + column)];
    }

    std::vector<double> table1d;       // kind 1: rows x columns
    std::vector<double> matrixTable;   // kind 3: 3 x 3
    std::vector<double> cube;          // kind 2: rows^3 nodes x 3
    const float* hostNodes = nullptr;  // kind 2 viewing the host's table: rows^3 nodes x 4
    std::int32_t rows = 0;             // cube: N; 1D: rows; matrix: 3
    std::int32_t columns = 0;
    std::string name = "nothing";
    std::int32_t kind = zel::kKindNone;
    double domainOffset = 0.0;  // a code value x maps to grid coordinate (x + offset) * scale
    double domainScale = 0.0;
    std::int32_t inputFirst = 0;  // 1D: first input code of the span
    std::int32_t inputLast = 0;   // 1D: last input code of the span
    std::uint32_t typeCode = 0;
    std::uint32_t instance = 0;
    std::uint8_t useFixedTable = 0;  // first 1D LUT: the camera loads its fixed table instead
    std::uint8_t headerOnly = 0;     // 1D: only the header is stored
    std::uint8_t writeToMemory = 0;  // 1D: written to LUT memory
    std::uint8_t fullCodeRange = 0;  // cube: spans code values 0 to 1 directly

  private:
    std::size_t nodeOffset(std::int32_t i, std::int32_t j, std::int32_t k) const {
        const auto n = static_cast<std::size_t>(rows);
        return ((static_cast<std::size_t>(i) * n + static_cast<std::size_t>(j)) * n +
                static_cast<std::size_t>(k)) *
               3;
    }
};

// Tetrahedral interpolation of a cube at `point` (normalised code values, red first).
// Points outside [0, 1] extrapolate below 0 from the first cell and clamp above 1 to
// the edge; a non-number offset gives 0.0. Writes three values to `result` (resized to
// 3) and returns it.
std::vector<double>& sampleTetrahedral(std::vector<double>& result, std::array<double, 3> point,
                                       const ZelColorConverter& lattice);

// Allocation-free form of the same lookup.
void sampleTetrahedral(const ZelColorConverter& lattice, const double point[3], double out[3]);

#endif  // ZEL_COLOR_COLOR_CONVERTER_H
