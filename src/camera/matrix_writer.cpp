#include "camera/matrix_writer.h"

#include <cmath>
#include <string>

#include "camera/register_block.h"
#include "camera/register_value.h"
#include "platform/job_error.h"
#include "zel/enums.h"

namespace {

// Where each matrix block lives: its register page and its slots for instance 0 and for
// every other instance.
struct MatrixPage {
    std::uint32_t typeCode;
    std::uint32_t base;
    ParamTable ZelSharedParamBuf::*table0;
    ParamTable ZelSharedParamBuf::*tableOther;
    int block0;
    int blockOther;
};

constexpr MatrixPage kMatrixPages[] = {
    {zel::kCodeGainMatrix, kGainMatrixBase, &ZelSharedParamBuf::gainMatrix0,
     &ZelSharedParamBuf::gainMatrix1, zel::block::matrixPage(0, zel::block::kMatrixSlotGain),
     zel::block::matrixPage(1, zel::block::kMatrixSlotGain)},
    {zel::kCodeSecondMatrix, kSecondMatrixBase, &ZelSharedParamBuf::secondMatrix0,
     &ZelSharedParamBuf::secondMatrix1, zel::block::matrixPage(0, zel::block::kMatrixSlotSecond),
     zel::block::matrixPage(1, zel::block::kMatrixSlotSecond)},
    {zel::kCodeColorMatrix, kColorMatrixBase, &ZelSharedParamBuf::colorMatrix0,
     &ZelSharedParamBuf::colorMatrix1, zel::block::kSecondPathColorMatrix,
     zel::block::kSecondPathColorMatrix + 1},
};

bool holdsMatrix(const ParamTable& table) {
    return table.rows >= 3 && table.columns >= 3 &&
           table.values.size() >=
               static_cast<std::size_t>(table.rows) * static_cast<std::size_t>(table.columns);
}

// Round half away from zero.
double roundHalfAway(double value) {
    if (value > 0.0) {
        return std::trunc(value + 0.5);
    }
    if (value < 0.0) {
        return std::trunc(value - 0.5);
    }
    return value;
}

}  // namespace

QuantizedMatrix& quantizeMatrix(QuantizedMatrix& destination, const ParamTable& matrix,
                                int fractionBits, int totalBits, bool normalizeRows) {
    const double scale = std::ldexp(1.0, fractionBits);
    // The largest and smallest value of a two's-complement register of totalBits bits.
    const double limit = std::ldexp(1.0, totalBits - 1);
    for (int r = 0; r < 3; ++r) {
        double rounded[3];
        double sum = 0.0;
        for (int c = 0; c < 3; ++c) {
            double q = scale * matrix.at(r, c);
            if (std::isnan(q)) {
                // A coefficient that is not a number has no register value; it passes
                // nothing through.
                q = 0.0;
            } else if (q > limit - 1.0) {
                q = limit - 1.0;
            } else if (q < -limit) {
                q = -limit;
            }
            rounded[c] = roundHalfAway(q);
            sum += rounded[c];
        }
        const double k = normalizeRows && sum != 0.0 ? scale / sum : 1.0;
        double rowSum = 0.0;
        for (int c = 0; c < 3; ++c) {
            destination[r][c] = std::trunc(rounded[c] * k);
            rowSum += destination[r][c];
        }
        if (normalizeRows && rowSum != scale) {
            // The diagonal takes up what truncation lost, so the row keeps unit gain.
            double others = 0.0;
            for (int c = 0; c < 3; ++c) {
                if (c != r) {
                    others += destination[r][c];
                }
            }
            destination[r][r] = scale - others;
        }
    }
    return destination;
}

void writeMatrixBlock(const ZelSharedParamBuf& paramBuf, std::uint32_t instance,
                      std::uint32_t typeCode, ZelSharedIniBuf& iniBuf, bool normalizeRows) {
    const MatrixPage* page = nullptr;
    for (const MatrixPage& candidate : kMatrixPages) {
        if (candidate.typeCode == typeCode) {
            page = &candidate;
        }
    }
    if (page == nullptr) {
        zel::failEngine("a matrix block of the look is of a kind the camera has no page for");
    }
    const ParamTable& table = paramBuf.*(instance == 0 ? page->table0 : page->tableOther);
    if (!holdsMatrix(table)) {
        return;
    }
    RegisterList& block = iniBuf.list(instance == 0 ? page->block0 : page->blockOther);

    QuantizedMatrix quantized{};
    quantizeMatrix(quantized, table, kMatrixFractionBits, kMatrixRegisterBits, normalizeRows);

    for (std::size_t k = 0; k < kMatrixCoefficients; ++k) {
        const double q = quantized[k / 3][k % 3];
        // The value is an integer inside the 19-bit register range.
        const std::string digits =
            formatRegisterValue(static_cast<std::int64_t>(q), 8, true, kMatrixRegisterBits);
        for (std::size_t j = 0; j < kMatrixBytesPerCoefficient; ++j) {
            const std::size_t entry = k * kMatrixBytesPerCoefficient + j;
            if (entry >= block.size()) {
                return;
            }
            // Byte j is the j-th pair of digits counted from the end.
            const std::string_view byte(digits.data() + digits.size() - 2 * (j + 1), 2);
            block[entry].setAddressNumber(page->base + static_cast<std::uint32_t>(entry));
            block[entry].setValue(byte);
        }
    }
    const std::size_t latch = kMatrixCoefficients * kMatrixBytesPerCoefficient;
    if (latch < block.size()) {
        block[latch].setAddressNumber(page->base + kMatrixLatchOffset);
        block[latch].setValue("01");
    }
}
