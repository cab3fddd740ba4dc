#include "regmaps/register_tables.h"

namespace zel::regmaps {

namespace {

// Index of `address` in the page's address order, or the entry count when the page does
// not hold it.
std::size_t indexOf(const RegisterPage& page, std::uint16_t address) {
    std::size_t index = 0;
    for (const AddressRun& run : page.runs) {
        if (address >= run.first && address <= run.last) {
            return index + static_cast<std::size_t>(address - run.first);
        }
        index += static_cast<std::size_t>(run.last - run.first) + 1;
    }
    return index;
}

void applyValues(const RegisterPage& page, ConstSpan<RegisterValue> values, RegisterList& list) {
    for (const RegisterValue& value : values) {
        const std::size_t index = indexOf(page, value.address);
        if (index < list.size()) {
            list[index].setValueNumber(value.value);
        }
    }
}

constexpr std::array<std::uint32_t, 9> diagonal(std::uint32_t coefficient) {
    return {coefficient, 0, 0, 0, coefficient, 0, 0, 0, coefficient};
}

// --- Pages shared by both generations ------------------------------------------------

constexpr AddressRun kRuns0086[] = {{0x0086, 0x0097}};
constexpr RegisterValue kValues0086[] = {
    {0x0087, 0x08}, {0x008A, 0x51}, {0x008B, 0x0C}, {0x008D, 0x08}, {0x008E, 0x89}, {0x008F, 0x1E},
    {0x0090, 0x57}, {0x0091, 0x1C}, {0x0093, 0x08}, {0x0094, 0x83}, {0x0095, 0x0E},
};

constexpr AddressRun kRuns0043[] = {{0x0043, 0x0046}};
constexpr RegisterValue kValues0043[] = {{0x0044, 0x01}, {0x0045, 0x01}};

// LUT control page of the LUT memory 0183: segment table 1 (boundaries 0, 1024, 2048,
// 3072, 4096, 5120, 7104, 7118, 8654 at 01AC; exponents 3, 4, 4, 4, 4, 5, 1, 9 at 01BE).
constexpr AddressRun kRuns0180[] = {{0x0180, 0x01C5}};
constexpr RegisterValue kValues0180[] = {
    {0x0180, 0x06}, {0x0183, 0x70}, {0x018F, 0x03}, {0x01A1, 0x02}, {0x01A3, 0x02}, {0x01A5, 0x02},
    {0x01A7, 0x02}, {0x01A9, 0x02}, {0x01AB, 0x02}, {0x01AF, 0x04}, {0x01B1, 0x08}, {0x01B3, 0x0C},
    {0x01B5, 0x10}, {0x01B7, 0x14}, {0x01B8, 0xC0}, {0x01B9, 0x1B}, {0x01BA, 0xCE}, {0x01BB, 0x1B},
    {0x01BC, 0xCE}, {0x01BD, 0x21}, {0x01BE, 0x03}, {0x01BF, 0x04}, {0x01C0, 0x04}, {0x01C1, 0x04},
    {0x01C2, 0x04}, {0x01C3, 0x05}, {0x01C4, 0x01}, {0x01C5, 0x09},
};

// --- LUT control pages 0100 ----------------------------------------------------------
// First generation: control registers 0100-012B, nine 16-bit segment boundaries at
// 012C-013D, eight step exponents at 013E-0145.

constexpr AddressRun kRuns0100First[] = {{0x0100, 0x0145}};

// Log encodings: segment table 0 (boundaries 0, 512, 2560, 6656, 14848, 31232, 47616,
// 64000, 65535; exponents 5, 5, 8, 8, 8, 8, 8, 8), 327 sample positions.
constexpr RegisterValue kValues0100Log[] = {
    {0x0100, 0x04}, {0x0103, 0x70}, {0x010F, 0x03}, {0x0121, 0x02}, {0x0123, 0x02}, {0x0125, 0x02},
    {0x012F, 0x02}, {0x0131, 0x0A}, {0x0133, 0x1A}, {0x0135, 0x3A}, {0x0137, 0x7A}, {0x0139, 0xBA},
    {0x013B, 0xFA}, {0x013C, 0xFF}, {0x013D, 0xFF}, {0x013E, 0x05}, {0x013F, 0x05}, {0x0140, 0x08},
    {0x0141, 0x08}, {0x0142, 0x08}, {0x0143, 0x08}, {0x0144, 0x08}, {0x0145, 0x08},
};

// ACEScc: boundaries 0, 512, 1024, 3072, 63488, 63744, 64512, 64768, 65535; exponents
// 4, 4, 3, 9, 7, 7, 4, 4; 511 sample positions.
constexpr RegisterValue kValues0100AcesCc[] = {
    {0x0100, 0x06}, {0x0103, 0x70}, {0x010F, 0x03}, {0x0121, 0x02}, {0x0123, 0x02}, {0x0125, 0x02},
    {0x0127, 0x02}, {0x0129, 0x02}, {0x012B, 0x02}, {0x012F, 0x02}, {0x0131, 0x04}, {0x0133, 0x0C},
    {0x0135, 0xF8}, {0x0137, 0xF9}, {0x0139, 0xFC}, {0x013B, 0xFD}, {0x013C, 0xFF}, {0x013D, 0xFF},
    {0x013E, 0x04}, {0x013F, 0x04}, {0x0140, 0x03}, {0x0141, 0x09}, {0x0142, 0x07}, {0x0143, 0x07},
    {0x0144, 0x04}, {0x0145, 0x04},
};

// ACEScct: the ACEScc boundaries with exponents 4, 3, 5, 8, 6, 6, 6, 6; 429 positions.
constexpr RegisterValue kOverrides0100AcesCct[] = {
    {0x013F, 0x03}, {0x0140, 0x05}, {0x0141, 0x08}, {0x0142, 0x06},
    {0x0143, 0x06}, {0x0144, 0x06}, {0x0145, 0x06},
};

// Second generation: 012C-013D are absent; the nine boundaries are 32-bit words at
// 0150-0173 (0, 512, 1024, 3072, 4096, 6144, 8192, 65536, 262143) and the exponents
// 2, 2, 4, 5, 5, 5, 7, 13 stay at 013E-0145; 1017 sample positions.
constexpr AddressRun kRuns0100Second[] = {{0x0100, 0x012B}, {0x013E, 0x0145}, {0x0150, 0x0173}};
constexpr RegisterValue kValues0100Second[] = {
    {0x0100, 0x06}, {0x0103, 0x70}, {0x010F, 0x03}, {0x0121, 0x02}, {0x0123, 0x02}, {0x0125, 0x02},
    {0x0127, 0x02}, {0x0129, 0x02}, {0x012B, 0x02}, {0x013E, 0x02}, {0x013F, 0x02}, {0x0140, 0x04},
    {0x0141, 0x05}, {0x0142, 0x05}, {0x0143, 0x05}, {0x0144, 0x07}, {0x0145, 0x0D}, {0x0155, 0x02},
    {0x0159, 0x04}, {0x015D, 0x0C}, {0x0161, 0x10}, {0x0165, 0x18}, {0x0169, 0x20}, {0x016E, 0x01},
    {0x0170, 0xFF}, {0x0171, 0xFF}, {0x0172, 0x03},
};

// --- LUT control pages 0A00 (second generation) --------------------------------------

constexpr AddressRun kRuns0A00[] = {{0x0A00, 0x0A45}};
constexpr RegisterValue kValues0A00[] = {
    {0x0A0F, 0x03}, {0x0A2F, 0x02}, {0x0A31, 0x0A}, {0x0A33, 0x1A}, {0x0A35, 0x3A}, {0x0A37, 0x7A},
    {0x0A39, 0xBA}, {0x0A3B, 0xFA}, {0x0A3C, 0xFF}, {0x0A3D, 0xFF}, {0x0A3E, 0x04}, {0x0A3F, 0x04},
    {0x0A40, 0x08}, {0x0A41, 0x08}, {0x0A42, 0x08}, {0x0A43, 0x08}, {0x0A44, 0x09}, {0x0A45, 0x08},
};
constexpr RegisterValue kOverrides0A00AcesCc[] = {
    {0x0A21, 0x02}, {0x0A23, 0x02}, {0x0A25, 0x02}, {0x0A27, 0x02}, {0x0A29, 0x02}, {0x0A2B, 0x02},
};
constexpr RegisterValue kOverrides0A00AcesCct[] = {
    {0x0A00, 0x06}, {0x0A26, 0xE3}, {0x0A27, 0x02}, {0x0A28, 0xE3},
    {0x0A29, 0x02}, {0x0A2A, 0xE3}, {0x0A2B, 0x02},
};
constexpr RegisterValue kOverrides0A00Log[] = {
    {0x0A00, 0x06}, {0x0A26, 0x47}, {0x0A27, 0x03}, {0x0A28, 0x47},
    {0x0A29, 0x03}, {0x0A2A, 0x47}, {0x0A2B, 0x03},
};

// --- Luma/chroma pages 00C0 ----------------------------------------------------------

constexpr AddressRun kRunsLumaFirst[] = {{0x00C0, 0x00C2}, {0x00C7, 0x00DB}};
constexpr RegisterValue kValuesLumaFirst[] = {{0x00C1, 0x02}};
constexpr AddressRun kRunsLumaSecond[] = {{0x00C0, 0x00C0}, {0x00D8, 0x00EB}};

}  // namespace

const RegisterPage kTable0086{"0086", kRuns0086, kValues0086, {}};
const RegisterPage kTable0043{"0043", kRuns0043, kValues0043, {}};
const RegisterPage kLutControl0180{"0180", kRuns0180, kValues0180, {}};

const RegisterPage kLutControl0100Log{"0100 log", kRuns0100First, kValues0100Log, {}};
const RegisterPage kLutControl0100AcesCc{"0100 ACEScc", kRuns0100First, kValues0100AcesCc, {}};
const RegisterPage kLutControl0100AcesCct{"0100 ACEScct", kRuns0100First, kValues0100AcesCc,
                                          kOverrides0100AcesCct};
const RegisterPage kLutControl0100Second{
    "0100 second generation", kRuns0100Second, kValues0100Second, {}};

const RegisterPage kLutControl0A00AcesCc{"0A00 ACEScc", kRuns0A00, kValues0A00,
                                         kOverrides0A00AcesCc};
const RegisterPage kLutControl0A00AcesCct{"0A00 ACEScct", kRuns0A00, kValues0A00,
                                          kOverrides0A00AcesCct};
const RegisterPage kLutControl0A00Log{"0A00 log", kRuns0A00, kValues0A00, kOverrides0A00Log};

const MatrixPage kMatrix0200Identity{"0200 identity", 0x0200, diagonal(0x10000)};
// Rows (0.9345245, 0.1436462, -0.0781555), (-0.0505219, 1.2616119, -0.2110901),
// (-0.0245056, -0.0306702, 1.0551758).
const MatrixPage kMatrix0200M1{
    "0200 M1",
    0x0200,
    {0xEF3D, 0x24C6, 0x7EBFE, 0x7F311, 0x142F9, 0x7C9F6, 0x7F9BA, 0x7F826, 0x10E20}};
// Rows (1.1518402, -0.1177063, -0.0341339), (-0.0405273, 1.2066193, -0.1660919),
// (-0.0123138, 0.0072479, 1.0050659).
const MatrixPage kMatrix0200M2{
    "0200 M2",
    0x0200,
    {0x126DF, 0x7E1DE, 0x7F743, 0x7F5A0, 0x134E5, 0x7D57B, 0x7FCD9, 0x001DB, 0x1014C}};
const MatrixPage kGain0240Identity{"0240 identity", 0x0240, diagonal(0x10000)};
const MatrixPage kGain0240Legal{"0240 0.856308", 0x0240, diagonal(0xDB37)};
const MatrixPage kGain0280For1134644{"0280 1.134644", 0x0280, diagonal(0x12278)};
const MatrixPage kGain0280For1236954{"0280 1.236954", 0x0280, diagonal(0x13CA9)};
const MatrixPage kGain0280For1102371{"0280 1.102371", 0x0280, diagonal(0x11A35)};

const LumaChromaLayout kLumaChromaFirst{
    {"00C0 first generation", kRunsLumaFirst, kValuesLumaFirst, {}},
    {0x00C0, 0x00C9},
    {{{0x08, 0x00}, {0x0A, 0x01}}},
    0x00CA,
};
const LumaChromaLayout kLumaChromaSecond{
    {"00C0 second generation", kRunsLumaSecond, {}, {}},
    {0x00C0, 0x00D9},
    {{{0x00, 0x00}, {0x01, 0x01}}},
    0x00DA,
};
const LumaChromaCoefficients kLumaChromaRec709{
    "Rec.709", {435, 1465, 148, 1047, 3145, 4000, 3856, 3289, 1047}};
const LumaChromaCoefficients kLumaChromaRec2020First{
    "Rec.2020 first generation", {538, 1389, 121, 1048, 3133, 4012, 3804, 3341, 1048}};
const LumaChromaCoefficients kLumaChromaRec2020Second{
    "Rec.2020 second generation", {538, 1389, 121, 1024, 3154, 4014, 3810, 3358, 1024}};

std::size_t pageEntryCount(const RegisterPage& page) {
    std::size_t count = 0;
    for (const AddressRun& run : page.runs) {
        count += static_cast<std::size_t>(run.last - run.first) + 1;
    }
    return count;
}

std::uint8_t pageValue(const RegisterPage& page, std::uint16_t address) {
    std::uint8_t result = 0;
    for (const RegisterValue& value : page.values) {
        if (value.address == address) {
            result = value.value;
        }
    }
    for (const RegisterValue& value : page.overrides) {
        if (value.address == address) {
            result = value.value;
        }
    }
    return result;
}

std::size_t loadRegisterPage(const RegisterPage& page, RegisterList& list) {
    list.resize(pageEntryCount(page));
    std::size_t index = 0;
    for (const AddressRun& run : page.runs) {
        for (std::uint32_t address = run.first; address <= run.last; ++address) {
            list[index].setAddressNumber(address);
            list[index].setValueNumber(0);
            ++index;
        }
    }
    applyValues(page, page.values, list);
    applyValues(page, page.overrides, list);
    return list.size();
}

std::size_t loadMatrixPage(const MatrixPage& matrix, RegisterList& list) {
    constexpr std::size_t kCount = 37;
    list.resize(kCount);
    for (std::size_t k = 0; k < 9; ++k) {
        const std::uint32_t coefficient = matrix.coefficients[k];
        for (std::size_t byte = 0; byte < 4; ++byte) {
            const std::size_t index = 4 * k + byte;
            list[index].setAddressNumber(matrix.base + static_cast<std::uint32_t>(index));
            list[index].setValueNumber(byte < 3 ? (coefficient >> (8 * byte)) & 0xFFu : 0u);
        }
    }
    list[36].setAddressNumber(matrix.base + 0x24u);
    list[36].setValueNumber(1);
    return kCount;
}

std::size_t loadLumaChromaPage(const LumaChromaLayout& layout,
                               const LumaChromaCoefficients& coefficients, int range,
                               RegisterList& list) {
    const std::size_t count = loadRegisterPage(layout.page, list);
    const auto rangeIndex = static_cast<std::size_t>(range == 1 ? 1 : 0);
    for (std::size_t r = 0; r < 2; ++r) {
        const std::size_t index = indexOf(layout.page, layout.rangeRegisters[r]);
        if (index < list.size()) {
            list[index].setValueNumber(layout.rangeValues[rangeIndex][r]);
        }
    }
    for (std::size_t w = 0; w < coefficients.words.size(); ++w) {
        const auto low = static_cast<std::uint16_t>(layout.firstWord + 2 * w);
        const std::size_t index = indexOf(layout.page, low);
        if (index + 1 < list.size()) {
            list[index].setValueNumber(coefficients.words[w] & 0xFFu);
            list[index + 1].setValueNumber(static_cast<std::uint32_t>(coefficients.words[w]) >> 8);
        }
    }
    return count;
}

}  // namespace zel::regmaps
