#include "color/conversion_stage.h"

#include <cmath>

#include "platform/job_error.h"
#include "zel/enums.h"

namespace {

void checkGridAndNodes(const ZelGenInput& input) {
    // A lattice needs two nodes an axis: with one, every lookup divides by zero.
    if (input.gridSize < 2 || input.nodeValues == nullptr) {
        zel::failLattice("the look needs at least two nodes an axis and its node values");
    }
}

void checkNodeValues(const ZelGenInput& input) {
    const int n = input.gridSize;
    const std::size_t nodes =
        static_cast<std::size_t>(n) * static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    for (std::size_t node = 0; node < nodes; ++node) {
        for (std::size_t ch = 0; ch < 3; ++ch) {
            if (!std::isfinite(input.nodeValues[node * 4 + ch])) {
                zel::failLattice("a node value of the look is not a finite number");
            }
        }
    }
}

}  // namespace

void validateLookInput(const ZelGenInput& input, const float* floatLut, const float* floatLutFilm) {
    checkGridAndNodes(input);
    if ((input.sourceEncoding == zel::kSourceQEnc3Prims3 && floatLut == nullptr) ||
        (input.sourceEncoding == zel::kSourceQEnc3Film && floatLutFilm == nullptr)) {
        zel::failLattice("the output record has no float table for the look's source encoding");
    }
    checkNodeValues(input);
}

void validateLookNodes(const ZelGenInput& input) {
    checkGridAndNodes(input);
    checkNodeValues(input);
}

void setConversionSizes(ConversionSizes& sizes, std::int32_t generationMode) {
    if (generationMode != zel::kFirstGeneration && generationMode != zel::kSecondGeneration) {
        return;
    }
    const bool second = generationMode == zel::kSecondGeneration;
    sizes.cubeSize = second ? 34 : 20;
    sizes.inputFirst = 0;
    sizes.inputLast = 400;
    sizes.table1dRows = 5280;
    sizes.curveSamples = 128;
    sizes.matrixRows = 3;
    sizes.table1dColumns = 3;
    sizes.cubeColumns = 3;
    sizes.matrixColumns = 1;
    sizes.referenceCount = 40;
    sizes.generationMode = generationMode;
}
