#include "camera/lut1d_decoder.h"

#include <string>

#include "camera/engine.h"
#include "camera/ini_buf.h"
#include "camera/register_block.h"
#include "settings/camera_models.h"

namespace {

std::string hex4(std::uint32_t value) {
    RegisterEntry entry;
    entry.setAddressNumber(value);
    return entry.address();
}

[[noreturn]] void fail(std::uint32_t code, const std::string& what) {
    throw zel::DecodeError(code == zel::kCodeFirstLut ? "first 1D LUT" : "second 1D LUT", what);
}

std::uint32_t channelEnable(std::uint32_t mask) {
    return ((mask & 1u) != 0 ? 64u : 0u) + ((mask & 2u) != 0 ? 32u : 0u) +
           ((mask & 4u) != 0 ? 16u : 0u);
}

void expectRegister(std::uint32_t code, const RegisterList& list, std::size_t index,
                    std::uint32_t address, std::uint32_t value, const std::string& name) {
    if (index >= list.size() || list[index].addressNumber() != address ||
        list[index].valueNumber() != value) {
        fail(code, name + " register " + std::to_string(index) + " is not " + hex4(address) +
                       " = " + std::to_string(value));
    }
}

// The number of the segment table the decoded one is, or -1.
int segmentTableNumber(const zel::LutSegmentTable& segments) {
    for (std::uint32_t n = 0; n < 4; ++n) {
        const zel::LutSegmentTable& known = lutSegmentTable(n);
        if (known.boundaries == segments.boundaries && known.exponents == segments.exponents) {
            return static_cast<int>(n);
        }
    }
    return -1;
}

}  // namespace

double DecodedLut1d::memoryValue(std::size_t memory, double code) const {
    if (memory >= words.size() || words[memory].empty()) {
        return 0.0;
    }
    const std::vector<std::uint32_t>& w = words[memory];
    const std::size_t n = std::min(w.size(), positions.size());
    if (n == 0 || !(code > positions[0])) {
        return n == 0 ? 0.0 : w[0];
    }
    // Positions rise; find the segment by halving.
    std::size_t lo = 0;
    std::size_t hi = n - 1;
    if (code >= positions[hi]) {
        return w[hi];
    }
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        (positions[mid] <= code ? lo : hi) = mid;
    }
    const double x0 = positions[lo];
    const double x1 = positions[hi];
    const double t = (code - x0) / (x1 - x0);
    return (1.0 - t) * w[lo] + t * w[hi];
}

bool DecodedLut1d::monotonic(std::size_t* memory, std::size_t* where) const {
    for (std::size_t m = 0; m < words.size(); ++m) {
        for (std::size_t i = 1; i < words[m].size(); ++i) {
            if (words[m][i] < words[m][i - 1]) {
                if (memory != nullptr) {
                    *memory = m;
                }
                if (where != nullptr) {
                    *where = i;
                }
                return false;
            }
        }
    }
    return true;
}

DecodedLut1d decodeLutMemory(std::uint32_t code, const LutRegisters& registers) {
    const LutCodeFacts facts = lutCodeFacts(code);
    DecodedLut1d lut;
    lut.code = code;
    if (registers.control.size() < kLutControlPageEntries) {
        fail(code, "the control page holds " + std::to_string(registers.control.size()) +
                       " of its 70 registers");
    }
    for (std::size_t i = 0; i < kLutControlPageEntries; ++i) {
        const RegisterEntry& entry = registers.control[i];
        if (entry.addressNumber() != facts.pageBase + i) {
            fail(code, "control register " + std::to_string(i) + " has address " + entry.address() +
                           ", expected " + hex4(facts.pageBase + static_cast<std::uint32_t>(i)));
        }
        lut.control.push_back(static_cast<std::uint8_t>(entry.valueNumber()));
    }
    lut.shiftInput = (lut.control[0] & 4u) != 0;
    lut.addOffset = (lut.control[0] & 2u) != 0;
    const std::uint32_t enable = lut.control[kLutChannelEnableRegister];
    lut.channelMask = ((enable & 64u) != 0 ? 1u : 0u) | ((enable & 32u) != 0 ? 2u : 0u) |
                      ((enable & 16u) != 0 ? 4u : 0u);
    for (std::size_t b = 0; b < lut.segments.boundaries.size(); ++b) {
        lut.segments.boundaries[b] =
            lut.control[kLutBoundaryOffset + 2 * b] |
            (std::uint32_t{lut.control[kLutBoundaryOffset + 2 * b + 1]} << 8);
    }
    for (std::size_t e = 0; e < lut.segments.exponents.size(); ++e) {
        lut.segments.exponents[e] = lut.control[kLutExponentOffset + e];
        if (lut.segments.exponents[e] > 16) {
            fail(code, "step exponent " + std::to_string(e) + " is " +
                           std::to_string(lut.segments.exponents[e]));
        }
    }
    for (std::size_t b = 1; b < lut.segments.boundaries.size(); ++b) {
        if (lut.segments.boundaries[b] < lut.segments.boundaries[b - 1]) {
            fail(code, "segment boundary " + std::to_string(b) + " lies below the one before");
        }
    }
    lut.positions = zel::lutSamplePositions(lut.segments);

    // The memories the block carries: one for all channels or one per channel.
    std::size_t memories = 0;
    while (memories < registers.data.size() && !registers.data[memories].empty() &&
           !(registers.data[memories].front().addressEmpty() &&
             registers.data[memories].front().valueView().empty())) {
        ++memories;
    }
    if (memories != 0 && memories != 1 && memories != 3) {
        fail(code, std::to_string(memories) + " LUT memories; the camera has one or three");
    }
    EngineConfig config;
    initEngineConfig(config, 0);
    const std::size_t points = static_cast<std::size_t>(config.lutPointCount);
    const std::size_t count = std::min(points, lut.positions.size());
    for (std::size_t m = 0; m < memories; ++m) {
        const std::string name = "memory " + std::to_string(m);
        const std::uint32_t ramSelect = kLutRamSelect[memories == 1 ? 0 : m + 1];
        const RegisterList empty;
        const RegisterList& head = m < registers.head.size() ? registers.head[m] : empty;
        const RegisterList& tail = m < registers.tail.size() ? registers.tail[m] : empty;
        expectRegister(code, head, 0, facts.pageBase + kLutChannelEnableRegister, 0,
                       name + " head");
        expectRegister(code, head, 1, facts.pageBase + kLutAccessRegister, 1, name + " head");
        expectRegister(code, head, 2, facts.pageBase + kLutRamSelectRegister, ramSelect,
                       name + " head");
        expectRegister(code, tail, 0, facts.pageBase + kLutAccessRegister, 0, name + " tail");
        expectRegister(code, tail, 1, facts.pageBase + kLutChannelEnableRegister,
                       channelEnable(lut.channelMask), name + " tail");

        const RegisterList& data = registers.data[m];
        if (data.size() < 2 * count) {
            fail(code, name + " holds " + std::to_string(data.size()) + " of its " +
                           std::to_string(2 * count) + " bytes");
        }
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (!data[i].addressEmpty() &&
                data[i].addressNumber() != lutWindowAddress(facts.windowStart, i)) {
                fail(code,
                     name + " byte " + std::to_string(i) + " has address " + data[i].address());
            }
        }
        std::vector<std::uint32_t> words(count);
        for (std::size_t i = 0; i < count; ++i) {
            words[i] = data[2 * i].valueNumber() | (data[2 * i + 1].valueNumber() << 8);
        }
        lut.words.push_back(std::move(words));
    }
    return lut;
}

LutRegisters encodeLutMemory(const DecodedLut1d& lut) {
    const LutCodeFacts facts = lutCodeFacts(lut.code);
    const bool firstLut = lut.code == zel::kCodeFirstLut;
    const int control = firstLut ? zel::block::kFirstLutControl : zel::block::kSecondLutControl;
    const int data = firstLut ? zel::block::kFirstLutData : zel::block::kSecondLutData;
    const int head = firstLut ? zel::block::kFirstLutHead : zel::block::kSecondLutHead;
    const int tail = firstLut ? zel::block::kFirstLutTail : zel::block::kSecondLutTail;
    ZelSharedIniBuf image = ZelSharedIniBuf::ofGeneration(zel::kFirstGeneration);
    if (lut.words.empty()) {
        // Only the control page: the camera's own table.
        RegisterList& page = image.list(control);
        page.assign(lut.control.size(), RegisterEntry());
        for (std::size_t i = 0; i < lut.control.size(); ++i) {
            page[i].setAddressNumber(facts.pageBase + static_cast<std::uint32_t>(i));
            page[i].setValueNumber(lut.control[i]);
        }
    } else {
        const int table = segmentTableNumber(lut.segments);
        if (table < 0) {
            fail(lut.code, "its segment table is none the writer has");
        }
        EngineConfig config;
        initEngineConfig(config, 0);
        storeLutMemory(config, lut.words, lut.code, static_cast<std::uint32_t>(table), image,
                       lut.shiftInput, lut.addOffset, lut.channelMask);
    }
    LutRegisters out;
    out.control = image.list(control);
    out.head = image.group(head);
    out.data = image.group(data);
    out.tail = image.group(tail);
    return out;
}
