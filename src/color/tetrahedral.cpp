#include "color/tetrahedral.h"

namespace zel {

TetrahedralSampler::TetrahedralSampler(const ZelColorConverter& lattice, bool manyLookups) {
    const std::int32_t n = lattice.rows;
    if (n < 1) {
        return;
    }
    const std::size_t size = static_cast<std::size_t>(n);
    std::size_t nodeWidth = 3;
    if (lattice.hostNodes != nullptr) {
        hostNodes_ = lattice.hostNodes;
        nodeWidth = 4;
    } else if (lattice.cube.size() >= size * size * size * 3) {
        nodes_ = lattice.cube.data();
    } else {
        // A cube that was never sized to its edge length is treated as having no nodes
        // rather than read past its end.
        return;
    }
    lastIndex_ = n - 1;
    last_ = static_cast<double>(n - 1);
    step_ = 1.0 / last_;
    stride_[0] = size * size * nodeWidth;
    stride_[1] = size * nodeWidth;
    stride_[2] = nodeWidth;
    if (manyLookups) {
        cellStart_.resize(size);
        for (std::size_t b = 0; b < size; ++b) {
            cellStart_[b] = static_cast<double>(b) / last_;
        }
    }
}

}  // namespace zel

std::vector<double>& sampleTetrahedral(std::vector<double>& result, std::array<double, 3> point,
                                       const ZelColorConverter& lattice) {
    result.resize(3);
    zel::TetrahedralSampler(lattice).sample(point.data(), result.data());
    return result;
}

void sampleTetrahedral(const ZelColorConverter& lattice, const double point[3], double out[3]) {
    zel::TetrahedralSampler(lattice).sample(point, out);
}
