#include "camera/matrix_decoder.h"

#include <string>

#include "camera/ini_buf.h"
#include "camera/matrix_writer.h"
#include "camera/param_buf.h"
#include "camera/register_block.h"
#include "settings/camera_models.h"
#include "zel/enums.h"

namespace {

constexpr std::uint32_t kRegisterRange = 1u << kMatrixRegisterBits;

[[noreturn]] void fail(std::uint32_t base, const std::string& what) {
    RegisterEntry name;
    name.setAddressNumber(base);
    throw zel::DecodeError("matrix page " + name.address(), what);
}

// Where each page lives in a register image, to run the writer on it.
struct PageSlot {
    std::uint32_t base;
    std::uint32_t typeCode;
    int block;
};
constexpr PageSlot kPages[] = {
    {kColorMatrixBase, zel::kCodeColorMatrix, zel::block::kSecondPathColorMatrix},
    {kGainMatrixBase, zel::kCodeGainMatrix, zel::block::matrixPage(0, zel::block::kMatrixSlotGain)},
    {kSecondMatrixBase, zel::kCodeSecondMatrix,
     zel::block::matrixPage(0, zel::block::kMatrixSlotSecond)},
};

}  // namespace

DecodedMatrix decodeMatrixPage(const RegisterList& page, std::uint32_t base) {
    if (page.size() < kMatrixPageEntries) {
        fail(base, "holds " + std::to_string(page.size()) + " of its " +
                       std::to_string(kMatrixPageEntries) + " registers");
    }
    for (std::size_t i = 0; i < kMatrixBytesPerCoefficient * kMatrixCoefficients; ++i) {
        if (page[i].addressNumber() != base + i) {
            fail(base, "register " + std::to_string(i) + " has address " + page[i].address());
        }
    }
    const RegisterEntry& latch = page[kMatrixCoefficients * kMatrixBytesPerCoefficient];
    if (latch.addressNumber() != base + kMatrixLatchOffset || latch.valueNumber() != 1) {
        fail(base, "its latch register is not set");
    }
    DecodedMatrix matrix{};
    for (std::size_t k = 0; k < kMatrixCoefficients; ++k) {
        std::uint32_t word = 0;
        for (std::size_t j = 0; j < kMatrixBytesPerCoefficient; ++j) {
            word |= page[kMatrixBytesPerCoefficient * k + j].valueNumber() << (8 * j);
        }
        if (word >= kRegisterRange) {
            fail(base, "coefficient " + std::to_string(k) + " does not fit the " +
                           std::to_string(kMatrixRegisterBits) + "-bit register");
        }
        // Two's complement of 19 bits.
        const std::int64_t value = word >= kRegisterRange / 2
                                       ? static_cast<std::int64_t>(word) - kRegisterRange
                                       : static_cast<std::int64_t>(word);
        matrix[k / 3][k % 3] = static_cast<double>(value) * kMatrixStep;
    }
    return matrix;
}

RegisterList encodeMatrixPage(const DecodedMatrix& matrix, std::uint32_t base) {
    const PageSlot* slot = nullptr;
    for (const PageSlot& candidate : kPages) {
        if (candidate.base == base) {
            slot = &candidate;
        }
    }
    if (slot == nullptr) {
        fail(base, "no matrix block is written there");
    }
    ZelSharedParamBuf paramBuf;
    ParamTable table;
    table.rows = 3;
    table.columns = 3;
    for (const auto& row : matrix) {
        table.values.insert(table.values.end(), row.begin(), row.end());
    }
    (slot->typeCode == zel::kCodeColorMatrix  ? paramBuf.colorMatrix0
     : slot->typeCode == zel::kCodeGainMatrix ? paramBuf.gainMatrix0
                                              : paramBuf.secondMatrix0) = table;
    ZelSharedIniBuf image = ZelSharedIniBuf::ofGeneration(zel::kFirstGeneration);
    writeMatrixBlock(paramBuf, 0, slot->typeCode, image, false);
    return image.list(slot->block);
}
