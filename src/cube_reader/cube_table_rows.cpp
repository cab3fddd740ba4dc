#include "cube_reader/cube_table_rows.h"

namespace zel::io {

CubeTableRows::CubeTableRows(NodeTable& nodes)
    : nodes_(&nodes), edge_(static_cast<std::size_t>(nodes.size())) {}

void CubeTableRows::store(const float* values) {
    if (band_.empty()) {
        band_.resize(kBand * edge_ * edge_ * 3);
    }
    float* slot = band_.data() + bandSlot_;
    slot[0] = values[0];
    slot[1] = values[1];
    slot[2] = values[2];
    if (++red_ < edge_) {
        bandSlot_ += kBand * 3;
        return;
    }
    red_ = 0;
    if (++green_ == edge_) {
        green_ = 0;
        ++blue_;
        if (blue_ - bandStart_ == kBand || blue_ == edge_) {
            copyBand();
            bandStart_ = blue_;
        }
    }
    bandSlot_ = (green_ * edge_ * kBand + (blue_ - bandStart_)) * 3;
}

void CubeTableRows::copyBand() {
    const std::size_t blues = blue_ - bandStart_;
    float* const nodes = nodes_->data();
    for (std::size_t green = 0; green < edge_; ++green) {
        for (std::size_t red = 0; red < edge_; ++red) {
            const float* from = band_.data() + (green * edge_ + red) * kBand * 3;
            float* to = nodes + ((red * edge_ + green) * edge_ + bandStart_) * 4;
            for (std::size_t b = 0; b < blues; ++b, from += 3, to += 4) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
                to[3] = 0.0f;
            }
        }
    }
}

}  // namespace zel::io
