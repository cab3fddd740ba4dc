#include "camera/lut1d_writer.h"

#include <algorithm>
#include <cmath>

#include "camera/register_block.h"
#include "platform/job_error.h"
#include "zel/enums.h"

namespace {

constexpr zel::LutSegmentTable kSegmentTables[4] = {
    {{0, 512, 2560, 6656, 14848, 31232, 47616, 64000, 65535}, {5, 5, 8, 8, 8, 8, 8, 8}},
    {{0, 1024, 2048, 3072, 4096, 5120, 7104, 7118, 8654}, {3, 4, 4, 4, 4, 5, 1, 9}},
    {{0, 512, 2560, 6656, 14848, 31232, 47616, 64000, 65535}, {4, 4, 8, 8, 8, 8, 9, 8}},
    {{0, 512, 1024, 3072, 61440, 61696, 62976, 63232, 65535}, {7, 7, 7, 7, 7, 7, 5, 8}},
};

// The output scale that maps a full-range curve into the legal range.
constexpr double kLegalScale = 0.8563049853372434;

// Per-code layout of a 1D LUT in the camera.
struct LutLayout {
    std::uint32_t code;
    std::uint32_t pageBase;
    std::uint32_t windowStart;  // first memory window index; the window's addresses are 9xxx
    int controlBlock;
    int dataBlock;
    int headBlock;
    int tailBlock;
    double xMax;
    double yScale;
};

constexpr LutLayout kLayouts[] = {
    {zel::kCodeFirstLut, 0x0800, 0x800, zel::block::kFirstLutControl, zel::block::kFirstLutData,
     zel::block::kFirstLutHead, zel::block::kFirstLutTail, 7008.0, 7008.0},
    {zel::kCodeSecondLut, 0x0100, 0x000, zel::block::kSecondLutControl, zel::block::kSecondLutData,
     zel::block::kSecondLutHead, zel::block::kSecondLutTail, 4960.0, 8192.0},
};

const LutLayout& layoutOf(std::uint32_t code) {
    for (const LutLayout& layout : kLayouts) {
        if (layout.code == code) {
            return layout;
        }
    }
    zel::failEngine("a 1D LUT block of the look is of a kind the camera has no memory for");
}

std::uint32_t channelEnable(std::uint32_t channelMask) {
    return ((channelMask & 1u) != 0 ? 64u : 0u) + ((channelMask & 2u) != 0 ? 32u : 0u) +
           ((channelMask & 4u) != 0 ? 16u : 0u);
}

// The 70 entries of a LUT control page at `base`.
RegisterList controlPage(std::uint32_t base, const std::uint32_t (&control)[kLutControlRegisters],
                         const zel::LutSegmentTable& segments) {
    RegisterList page(kLutControlPageEntries);
    for (std::size_t i = 0; i < kLutControlRegisters; ++i) {
        page[i].setValueNumber(control[i]);
    }
    for (std::size_t b = 0; b < segments.boundaries.size(); ++b) {
        page[kLutBoundaryOffset + 2 * b].setValueNumber(segments.boundaries[b] & 0xFFu);
        page[kLutBoundaryOffset + 2 * b + 1].setValueNumber((segments.boundaries[b] >> 8) & 0xFFu);
    }
    for (std::size_t e = 0; e < segments.exponents.size(); ++e) {
        page[kLutExponentOffset + e].setValueNumber(segments.exponents[e]);
    }
    for (std::size_t i = 0; i < kLutControlPageEntries; ++i) {
        page[i].setAddressNumber(base + static_cast<std::uint32_t>(i));
    }
    return page;
}

// A sampled curve value as a 16-bit memory word: rounded half up, limited to 0..65535
// (a value that is not a number gives 0).
std::uint32_t memoryWord(double value) {
    const double rounded = value + 0.5;
    if (!(rounded >= 1.0)) {
        return 0;
    }
    if (rounded >= 65535.0) {
        return 65535;
    }
    return static_cast<std::uint32_t>(rounded);
}

// Copies the first `count` entries of `from` into `to`, no more than both hold.
void copyEntries(const RegisterList& from, RegisterList& to, std::int64_t count) {
    const std::size_t n =
        std::min({count > 0 ? static_cast<std::size_t>(count) : 0, from.size(), to.size()});
    std::copy(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(n), to.begin());
}

RegisterList* listOf(RegisterGroup& group, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < group.size()
               ? &group[static_cast<std::size_t>(index)]
               : nullptr;
}

}  // namespace

const zel::LutSegmentTable& lutSegmentTable(std::uint32_t number) {
    return kSegmentTables[number < 4 ? number : 0];
}

LutCodeFacts lutCodeFacts(std::uint32_t code) {
    const LutLayout& layout = layoutOf(code);
    return {layout.pageBase, layout.windowStart, layout.xMax, layout.yScale};
}

std::string selectLutRam(std::uint32_t (&headValues)[3], std::uint32_t (&tailValues)[2],
                         int channel, std::uint32_t channelMask, const zel::Console& console) {
    static constexpr const char* kNames[] = {"Allch_ram", "Rch_ram", "Gch_ram", "Bch_ram"};
    headValues[0] = 0x00;
    headValues[1] = 0x01;
    tailValues[0] = 0x00;
    tailValues[1] = channelEnable(channelMask);
    if (channel < 0 || channel > 3) {
        console.line(zel::Console::kOut, "Error: 1D LUT");
        return std::string();
    }
    headValues[2] = kLutRamSelect[channel];
    return kNames[channel];
}

int loadLutControl0800(RegisterList& list) {
    // The camera's own sampling of the first 1D LUT: segment table 1, all control
    // registers 0 apart from the RAM select of all channels.
    std::uint32_t control[kLutControlRegisters] = {};
    control[kLutRamSelectRegister] = kLutRamSelect[0];
    list = controlPage(0x0800, control, kSegmentTables[1]);
    return static_cast<int>(list.size());
}

void resample1dLut(const ParamTable& table, DenseCurve& dense, int channels, int rows, double span,
                   double xMax, double yScale) {
    const std::size_t channelCount = channels > 0 ? static_cast<std::size_t>(channels) : 0;
    // Rows and channels the table really holds.
    std::size_t rowCount = rows > 0 ? static_cast<std::size_t>(rows) : 0;
    const std::size_t width = table.columns > 0 ? static_cast<std::size_t>(table.columns) : 0;
    if (width == 0) {
        rowCount = 0;
    } else {
        rowCount = std::min({rowCount, table.values.size() / width,
                             static_cast<std::size_t>(table.rows > 0 ? table.rows : 0)});
    }
    dense.assign(channelCount, std::vector<double>(kDenseCodes, 0.0));
    const double step = xMax / span;
    // Rows sit at increasing codes only for a positive, finite step; otherwise no code
    // lies between two rows.
    const bool ordered = step > 0.0 && std::isfinite(step);

    for (std::size_t ch = 0; ch < channelCount && ch < width; ++ch) {
        std::vector<double>& curve = dense[ch];
        if (rowCount == 0) {
            continue;
        }
        const std::size_t last = rowCount - 1;
        auto value = [&](std::size_t row) { return yScale * table.values[row * width + ch]; };
        std::size_t segment = 0;
        for (std::size_t k = 0; k + 1 < kDenseCodes && ordered; ++k) {
            const double x = static_cast<double>(k);
            while (segment < last && !(x < static_cast<double>(segment + 1) * step)) {
                ++segment;
            }
            if (segment >= last) {
                break;  // past the last row: the remaining codes stay 0
            }
            const double xa = static_cast<double>(segment) * step;
            const double xb = static_cast<double>(segment + 1) * step;
            if (xa <= x) {
                const double t = (x - xa) / (xb - xa);
                curve[k] = (1.0 - t) * value(segment) + t * value(segment + 1);
            }
        }
        curve[kDenseCodes - 1] = value(last);
    }
}

void buildLutMemory(const EngineConfig& config, const DenseCurve& dense, std::uint32_t code,
                    int channels, std::uint32_t segmentTable, ZelSharedIniBuf& iniBuf,
                    bool shiftInput, bool addOffset, std::uint32_t channelMask, bool legalScale) {
    layoutOf(code);  // refuses a code other than 8 or 14 before any work
    const zel::LutSegmentTable& segments = lutSegmentTable(segmentTable);
    const std::size_t channelCount =
        std::min(channels > 0 ? static_cast<std::size_t>(channels) : 0, dense.size());

    // The curve as the memory sees it: scaled, offset and, with the input shift, moved
    // up by the offset with the codes below continued as a straight line.
    const double scale = legalScale ? kLegalScale : 1.0;
    const double offset = addOffset ? config.lutOffset : 0.0;
    const double shiftValue = std::clamp(config.lutOffset, 0.0, 65534.0);
    const std::size_t shift = shiftInput ? static_cast<std::size_t>(shiftValue) : 0;
    std::vector<std::vector<double>> curve(channelCount, std::vector<double>(kDenseCodes, 0.0));
    for (std::size_t c = 0; c < channelCount; ++c) {
        const std::vector<double>& source = dense[c];
        std::vector<double>& row = curve[c];
        for (std::size_t k = shift; k < kDenseCodes && k - shift < source.size(); ++k) {
            row[k] = scale * source[k - shift] + offset;
        }
        if (shiftInput) {
            const double slope = row[shift + 1] - row[shift];
            const double intercept = row[shift] - slope * static_cast<double>(shift);
            for (std::size_t k = 0; k < shift; ++k) {
                const double v = slope * static_cast<double>(k) + intercept;
                row[k] = v < 0.0 ? 0.0 : v;
            }
        }
    }

    // Per channel, the memory words: one per sample position.
    const std::vector<std::uint32_t> positions = zel::lutSamplePositions(segments);
    const std::size_t points =
        config.lutPointCount > 0 ? static_cast<std::size_t>(config.lutPointCount) : 0;
    LutMemoryWords words(channelCount);
    for (std::size_t c = 0; c < channelCount; ++c) {
        for (std::size_t i = 0; i < points && i < positions.size(); ++i) {
            words[c].push_back(memoryWord(curve[c][positions[i]]));
        }
    }
    storeLutMemory(config, words, code, segmentTable, iniBuf, shiftInput, addOffset, channelMask);
}

void storeLutMemory(const EngineConfig& config, const LutMemoryWords& words, std::uint32_t code,
                    std::uint32_t segmentTable, ZelSharedIniBuf& iniBuf, bool shiftInput,
                    bool addOffset, std::uint32_t channelMask) {
    const LutLayout& layout = layoutOf(code);
    const zel::LutSegmentTable& segments = lutSegmentTable(segmentTable);
    const std::size_t channelCount = words.size();

    // The control page.
    std::uint32_t control[kLutControlRegisters] = {};
    control[0x00] = (shiftInput ? 4u : 0u) + (addOffset ? 2u : 0u);
    control[kLutChannelEnableRegister] = channelEnable(channelMask);
    control[kLutRamSelectRegister] = kLutRamSelect[0];
    for (std::size_t r = 0x21; r <= 0x2B; r += 2) {
        control[r] = 0x02;
    }
    const RegisterList page = controlPage(layout.pageBase, control, segments);
    copyEntries(page, iniBuf.list(layout.controlBlock), static_cast<std::int64_t>(page.size()));

    // Per channel, the memory image: its words, low byte first, then "00" up to the end of
    // the memory.
    const std::size_t points =
        config.lutPointCount > 0 ? static_cast<std::size_t>(config.lutPointCount) : 0;
    RegisterList image(2 * points);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i].set("", "00");
        image[i].setAddressNumber(lutWindowAddress(layout.windowStart, i));
    }
    const std::uint32_t pageBase = layout.pageBase;

    for (std::size_t c = 0; c < channelCount; ++c) {
        for (std::size_t i = 0; i < points && i < words[c].size(); ++i) {
            const std::uint32_t word = words[c][i];
            image[2 * i].setValueNumber(word & 0xFFu);
            image[2 * i + 1].setValueNumber((word >> 8) & 0xFFu);
        }

        // The memory of this channel, framed by its head and tail registers.
        std::uint32_t headValues[3] = {0, 0, 0};
        std::uint32_t tailValues[2] = {0, 0};
        const int ram = channelCount == 1 ? 0 : static_cast<int>(c) + 1;
        const std::string name =
            selectLutRam(headValues, tailValues, ram, channelMask,
                         config.console != nullptr ? *config.console : zel::standardConsole());
        RegisterList head(3);
        head[0].setAddressNumber(pageBase + kLutChannelEnableRegister);
        head[1].setAddressNumber(pageBase + kLutAccessRegister);
        head[2].setAddressNumber(pageBase + kLutRamSelectRegister);
        RegisterList tail(2);
        tail[0].setAddressNumber(pageBase + kLutAccessRegister);
        tail[1].setAddressNumber(pageBase + kLutChannelEnableRegister);
        for (std::size_t h = 0; h < head.size(); ++h) {
            if (h < 2 || !name.empty()) {
                head[h].setValueNumber(headValues[h]);
            }
        }
        for (std::size_t t = 0; t < tail.size(); ++t) {
            tail[t].setValueNumber(tailValues[t]);
        }

        const int list = static_cast<int>(c);
        if (RegisterList* to = listOf(iniBuf.group(layout.headBlock), list)) {
            copyEntries(head, *to, config.lutHeadCount);
        }
        if (RegisterList* to = listOf(iniBuf.group(layout.dataBlock), list)) {
            copyEntries(image, *to, config.lutMemorySize);
        }
        if (RegisterList* to = listOf(iniBuf.group(layout.tailBlock), list)) {
            copyEntries(tail, *to, config.lutTailCount);
        }
    }
}

void write1dLutBlock(const EngineConfig& config, const ZelSharedParamBuf& paramBuf,
                     ZelSharedIniBuf& iniBuf, std::uint32_t instance, std::uint32_t code) {
    const LutLayout& layout = layoutOf(code);
    const bool firstLut = code == zel::kCodeFirstLut;
    const ParamHeader& header = firstLut        ? paramBuf.firstLutHeader
                                : instance == 0 ? paramBuf.secondLutHeader0
                                                : paramBuf.secondLutHeader1;
    const ParamTable& table = firstLut        ? paramBuf.firstLut
                              : instance == 0 ? paramBuf.secondLut0
                                              : paramBuf.secondLut1;
    // Only a table marked for LUT memory is written, and only one that was stored.
    if (header.size() < 7 || header[6] != 1 || table.empty()) {
        return;
    }
    const std::int32_t rows = header[0];
    const std::int32_t columns = header[1];
    const double span = static_cast<double>(header[3]) - static_cast<double>(header[2]);

    // The camera has three channel memories; a table of more channels keeps the first three.
    const int channels = std::min({static_cast<int>(columns), static_cast<int>(table.columns), 3});
    DenseCurve dense;
    resample1dLut(table, dense, channels, rows, span, layout.xMax, layout.yScale);

    const std::uint32_t select = config.lutChannelSelect;
    const std::uint32_t channelMask = ((select == 1 || select == 4) ? 1u : 0u) |
                                      ((select == 2 || select == 4) ? 2u : 0u) |
                                      ((select == 3 || select == 4) ? 4u : 0u);
    const std::uint32_t outputMode = config.lutOutputMode;
    const bool shiftInput = outputMode == 1 || outputMode == 2;
    const bool addOffset = outputMode == 1 || outputMode == 3;
    buildLutMemory(config, dense, code, channels, config.lutSegmentTable, iniBuf, shiftInput,
                   addOffset, channelMask, config.lutLegalScale != 0);
}
