#include "camera/matrix_decoder.h"

#include <string>

#include "camera/ini_buf.h"
#include "camera/matrix_writer.h"
#include "camera/param_buf.h"
#include "camera/register_block.h"
#include "zel/enums.h"

namespace {

constexpr std::size_t kCoefficients = 9;
constexpr std::size_t kPageEntries = 37;
constexpr std::uint32_t kLatchOffset = 0x24;
constexpr std::uint32_t kRegisterRange = 1u << 19;

[[noreturn]] void fail(std::uint32_t base, const std::string& what) {
    RegisterEntry name;
    name.setAddressNumber(base);
    throw MatrixDecodeError("matrix page " + name.address() + ": " + what);
}

// Where each page lives in a register image, to run the writer on it.
struct PageSlot {
    std::uint32_t base;
    std::uint32_t typeCode;
    int block;
};
constexpr PageSlot kPages[] = {
    {0x0200, zel::kCodeColorMatrix, zel::block::kSecondPathColorMatrix},
    {0x0280, zel::kCodeGainMatrix, zel::block::matrixPage(0, zel::block::kMatrixSlotGain)},
    {0x0700, zel::kCodeSecondMatrix, zel::block::matrixPage(0, zel::block::kMatrixSlotSecond)},
};

}  // namespace

DecodedMatrix decodeMatrixPage(const RegisterList& page, std::uint32_t base) {
    if (page.size() < kPageEntries) {
        fail(base, "holds " + std::to_string(page.size()) + " of its 37 registers");
    }
    for (std::size_t i = 0; i < 4 * kCoefficients; ++i) {
        if (page[i].addressNumber() != base + i) {
            fail(base, "register " + std::to_string(i) + " has address " + page[i].address());
        }
    }
    if (page[36].addressNumber() != base + kLatchOffset || page[36].valueNumber() != 1) {
        fail(base, "its latch register is not set");
    }
    DecodedMatrix matrix{};
    for (std::size_t k = 0; k < kCoefficients; ++k) {
        std::uint32_t word = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            word |= page[4 * k + j].valueNumber() << (8 * j);
        }
        if (word >= kRegisterRange) {
            fail(base, "coefficient " + std::to_string(k) + " does not fit the 19-bit register");
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
    ZelSharedIniBuf image("CAMB-001");
    writeMatrixBlock(paramBuf, 0, slot->typeCode, image, false);
    return image.list(slot->block);
}
