#ifndef ZEL_REGMAPS_REGISTER_TABLES_H
#define ZEL_REGMAPS_REGISTER_TABLES_H

// The camera's default register tables, held as data: register pages (runs of consecutive
// addresses, "00" unless listed otherwise), 3x3 matrix pages and the luma/chroma pages.
// Each loader resizes the destination list to the table's entry count, assigns every
// entry in address order and returns the count.

#include <array>
#include <cstddef>
#include <cstdint>

#include "camera/register_entry.h"

namespace zel::regmaps {

// A read-only view of a constant array.
template <typename T>
struct ConstSpan {
    const T* data = nullptr;
    std::size_t size = 0;

    constexpr ConstSpan() = default;
    template <std::size_t N>
    constexpr ConstSpan(const T (&array)[N]) : data(array), size(N) {}
    constexpr const T* begin() const { return data; }
    constexpr const T* end() const { return data + size; }
};

// Consecutive register addresses, first to last inclusive.
struct AddressRun {
    std::uint16_t first;
    std::uint16_t last;
};

// A register whose value is not "00".
struct RegisterValue {
    std::uint16_t address;
    std::uint8_t value;
};

// A register page: the addresses of its runs in order, each "00" unless `values` names it;
// `overrides` then replaces values, so a variant can be written as its base plus changes.
struct RegisterPage {
    const char* name;
    ConstSpan<AddressRun> runs;
    ConstSpan<RegisterValue> values;
    ConstSpan<RegisterValue> overrides;
};

// A 3x3 matrix page: nine coefficients in row-major order, each a 19-bit two's-complement
// number with 16 fractional bits stored in four registers from base + 4k, least
// significant byte first (the fourth byte is "00"); base + 0x24 latches the page ("01").
struct MatrixPage {
    const char* name;
    std::uint16_t base;
    std::array<std::uint32_t, 9> coefficients;
};

// The registers of a luma/chroma page: its addresses and fixed values, the two registers
// that carry the output range, and where its nine coefficient words start.
struct LumaChromaLayout {
    RegisterPage page;
    std::array<std::uint16_t, 2> rangeRegisters;
    std::array<std::array<std::uint8_t, 2>, 2> rangeValues;  // [range][register]
    std::uint16_t firstWord;
};

// Nine coefficient words: luma R, G, B, then Cr R, G, B, then Cb R, G, B; each a 12-bit
// two's-complement number with 11 fractional bits (2048 is 1.0).
struct LumaChromaCoefficients {
    const char* name;
    std::array<std::uint16_t, 9> words;
};

std::size_t pageEntryCount(const RegisterPage& page);
// The value a page gives an address ("00" for any address it does not name).
std::uint8_t pageValue(const RegisterPage& page, std::uint16_t address);

std::size_t loadRegisterPage(const RegisterPage& page, RegisterList& list);
std::size_t loadMatrixPage(const MatrixPage& matrix, RegisterList& list);
// `range` 0 is full, 1 legal.
std::size_t loadLumaChromaPage(const LumaChromaLayout& layout,
                               const LumaChromaCoefficients& coefficients, int range,
                               RegisterList& list);

// Pages the generations share.
extern const RegisterPage kTable0086;
extern const RegisterPage kTable0043;
extern const RegisterPage kLutControl0180;

// LUT control pages 0100: first generation by source (log encodings, ACEScc, ACEScct),
// and the one second-generation page with its 32-bit segment boundaries at 0150.
extern const RegisterPage kLutControl0100Log;
extern const RegisterPage kLutControl0100AcesCc;
extern const RegisterPage kLutControl0100AcesCct;
extern const RegisterPage kLutControl0100Second;

// LUT control pages 0A00 of the second generation.
extern const RegisterPage kLutControl0A00AcesCc;
extern const RegisterPage kLutControl0A00AcesCct;
extern const RegisterPage kLutControl0A00Log;

// Colour matrices 0200 and gain pages 0240 and 0280.
extern const MatrixPage kMatrix0200Identity;
extern const MatrixPage kMatrix0200M1;
extern const MatrixPage kMatrix0200M2;
extern const MatrixPage kGain0240Identity;
extern const MatrixPage kGain0240Legal;  // 0.856308, the legal-range scale
extern const MatrixPage kGain0280For1134644;
extern const MatrixPage kGain0280For1236954;
extern const MatrixPage kGain0280For1102371;

// Luma/chroma pages 00C0.
extern const LumaChromaLayout kLumaChromaFirst;
extern const LumaChromaLayout kLumaChromaSecond;
extern const LumaChromaCoefficients kLumaChromaRec709;
extern const LumaChromaCoefficients kLumaChromaRec2020First;
extern const LumaChromaCoefficients kLumaChromaRec2020Second;

}  // namespace zel::regmaps

#endif  // ZEL_REGMAPS_REGISTER_TABLES_H
