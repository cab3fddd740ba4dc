// The look re-indexed for the other Q-Prims gamut, returned to the host as floats so
// that it can write a .cube file for either gamut.

#include <cstddef>
#include <vector>

#include "color/conversion_stage.h"
#include "color/grid_resampler.h"
#include "platform/job_error.h"
#include "zel/enums.h"

namespace {

// Node n of the output grid stands for the code value n / (N - 1), reached by steps.
std::vector<double> reindexAxis(std::int32_t gridSize) {
    const std::size_t n = gridSize > 0 ? static_cast<std::size_t>(gridSize) : 0;
    const double step = 1.0 / static_cast<double>(gridSize - 1);
    std::vector<double> axis(n);
    for (std::size_t idx = 0; idx < n; ++idx) {
        axis[idx] = static_cast<double>(idx) * step;
    }
    return axis;
}

void reindexInto(std::uint8_t sourceEncoding, const ZelColorConverter& hostLattice, float* floatLut,
                 float* floatLutFilm, const zel::CancelCheck& cancel) {
    if (sourceEncoding != zel::kSourceQEnc3Prims3 && sourceEncoding != zel::kSourceQEnc3Film) {
        return;
    }
    // A table in Q-Prims3 is returned indexed in Q-Prims3.Film and the other way round.
    float* target = sourceEncoding == zel::kSourceQEnc3Prims3 ? floatLut : floatLutFilm;
    if (target == nullptr) {
        zel::failLattice("the output record has no float table for the look's source encoding");
    }
    zel::GamutMove move;
    move.decode = zel::decodeQEnc3;
    zel::gamutMatrix(sourceEncoding, move.matrix);

    // The nodes go straight into the host's buffer: a lattice-sized double copy in
    // between would double the job's peak memory for large grids.
    const zel::TetrahedralSampler look(hostLattice, true);
    zel::resampleGrid(
        reindexAxis(hostLattice.rows), &move, look,
        [target](std::size_t node, const double* value) {
            float* out = target + node * 4;
            out[0] = static_cast<float>(value[0]);
            out[1] = static_cast<float>(value[1]);
            out[2] = static_cast<float>(value[2]);
            out[3] = 0.0f;
        },
        cancel);
}

}  // namespace

void reindexSourceLattice(const ZelLookSettings&, std::uint8_t sourceEncoding,
                          const ZelColorConverter& hostLattice, ZelGenOutput& output,
                          const zel::CancelCheck& cancel) {
    reindexInto(sourceEncoding, hostLattice, output.floatLut, output.floatLutFilm, cancel);
}

void reindexSourceLattice(const ZelLookSettings&, std::uint8_t sourceEncoding,
                          const ZelColorConverter& hostLattice, ZelGenOutputExtended& output,
                          const zel::CancelCheck& cancel) {
    reindexInto(sourceEncoding, hostLattice, output.floatLut, output.floatLutFilm, cancel);
}
