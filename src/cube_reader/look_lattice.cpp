#include "cube_reader/look_lattice.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace zel::io {

namespace {

// Per channel: the position of input x in the 3D table's index space, 0 to N - 1.
class ChannelInput {
  public:
    ChannelInput(const CubeLut& lut, std::size_t channel)
        : shaper_(lut.shaper),
          channel_(channel),
          domainMin_(lut.domainMin[channel]),
          domainSpan_(static_cast<double>(lut.domainMax[channel]) - lut.domainMin[channel]),
          tableLast_(static_cast<double>(lut.size - 1)) {}

    double tablePosition(double x) const {
        const double shaped = shaper_.present() ? throughShaper(x) : x;
        const double unit = std::clamp((shaped - domainMin_) / domainSpan_, 0.0, 1.0);
        return unit * tableLast_;
    }

  private:
    double throughShaper(double x) const {
        const std::size_t last = shaper_.size() - 1;
        const double span = static_cast<double>(shaper_.inputMax) - shaper_.inputMin;
        const double position =
            std::clamp((x - shaper_.inputMin) / span * static_cast<double>(last), 0.0,
                       static_cast<double>(last));
        const auto below = static_cast<std::size_t>(position);
        const std::size_t above = below < last ? below + 1 : last;
        const double weight = position - static_cast<double>(below);
        const double low = shaper_.rows[below * 3 + channel_];
        const double high = shaper_.rows[above * 3 + channel_];
        return low + (high - low) * weight;
    }

    const CubeShaper& shaper_;
    std::size_t channel_;
    double domainMin_;
    double domainSpan_;
    double tableLast_;
};

// One axis position split into the lower index and the weight of the next one.
struct AxisStep {
    std::size_t below;
    std::size_t above;
    double weight;
};

AxisStep splitPosition(double position, std::size_t last) {
    const auto below = static_cast<std::size_t>(position);
    const std::size_t clampedBelow = below < last ? below : last;
    return {clampedBelow, clampedBelow < last ? clampedBelow + 1 : last,
            position - static_cast<double>(clampedBelow)};
}

}  // namespace

NodeTable lookLattice(CubeLut&& lut, int gridSize) {
    const int grid = gridSize == 0 ? lut.size : gridSize;
    if (!lut.shaper.present() && grid == lut.size) {
        return std::move(lut.nodes);
    }
    const std::array<ChannelInput, 3> inputs{ChannelInput(lut, 0), ChannelInput(lut, 1),
                                             ChannelInput(lut, 2)};
    const auto tableLast = static_cast<std::size_t>(lut.size - 1);
    const auto g = static_cast<std::size_t>(grid);
    // Each channel's steps for every grid index, computed once.
    std::array<std::vector<AxisStep>, 3> steps;
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t index = 0; index < g; ++index) {
            const double x = static_cast<double>(index) / static_cast<double>(g - 1);
            steps[c].push_back(splitPosition(inputs[c].tablePosition(x), tableLast));
        }
    }
    const NodeTable& table = lut.nodes;
    NodeTable lattice(grid);
    for (std::size_t i = 0; i < g; ++i) {
        const AxisStep& r = steps[0][i];
        for (std::size_t j = 0; j < g; ++j) {
            const AxisStep& gr = steps[1][j];
            for (std::size_t k = 0; k < g; ++k) {
                const AxisStep& b = steps[2][k];
                float* out = lattice.data() + lattice.nodeIndex(i, j, k) * 4;
                for (std::size_t c = 0; c < 3; ++c) {
                    const auto at = [&](std::size_t ri, std::size_t gi, std::size_t bi) {
                        return static_cast<double>(
                            table.data()[table.nodeIndex(ri, gi, bi) * 4 + c]);
                    };
                    const double c00 =
                        at(r.below, gr.below, b.below) +
                        (at(r.above, gr.below, b.below) - at(r.below, gr.below, b.below)) *
                            r.weight;
                    const double c10 =
                        at(r.below, gr.above, b.below) +
                        (at(r.above, gr.above, b.below) - at(r.below, gr.above, b.below)) *
                            r.weight;
                    const double c01 =
                        at(r.below, gr.below, b.above) +
                        (at(r.above, gr.below, b.above) - at(r.below, gr.below, b.above)) *
                            r.weight;
                    const double c11 =
                        at(r.below, gr.above, b.above) +
                        (at(r.above, gr.above, b.above) - at(r.below, gr.above, b.above)) *
                            r.weight;
                    const double c0 = c00 + (c10 - c00) * gr.weight;
                    const double c1 = c01 + (c11 - c01) * gr.weight;
                    out[c] = static_cast<float>(c0 + (c1 - c0) * b.weight);
                }
                out[3] = 0.0f;
            }
        }
    }
    return lattice;
}

}  // namespace zel::io
