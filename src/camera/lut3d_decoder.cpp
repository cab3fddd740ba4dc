#include "camera/lut3d_decoder.h"

#include "camera/ini_buf.h"
#include "camera/lut3d_writer.h"
#include "camera/register_block.h"

namespace {

constexpr std::uint32_t kControlBase = 0x0400;
constexpr std::uint32_t kMemoryAccessRegister = 0x0409;
constexpr std::uint32_t kListSelectRegister = 0x040A;
constexpr std::uint32_t kDataWindow = 0xA000;
constexpr std::size_t kLists = 24;
constexpr std::size_t kBanks = 8;
// The first-generation page: 108 registers, node positions in 20 slots of four registers
// from "041C".
constexpr std::size_t kFirstGenerationPageEntries = 108;
constexpr std::size_t kPositionOffset = 0x1C;
constexpr std::size_t kPositionSlots = 20;

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw CubeDecodeError(where + ": " + what);
}

std::string hex4(std::uint32_t value) {
    RegisterEntry entry;
    entry.setAddressNumber(value);
    return entry.address();
}

void expectSingle(const RegisterList& list, std::uint32_t value, const char* name) {
    if (list.empty() || list.front().addressEmpty()) {
        fail(name, "missing");
    }
    if (list.front().addressNumber() != kMemoryAccessRegister ||
        list.front().valueNumber() != value) {
        fail(name, "register " + list.front().address() + " = " + list.front().value() +
                       ", expected 0409 = 0" + std::to_string(value));
    }
}

}  // namespace

std::vector<std::uint32_t> cubeNodePositions(const std::vector<std::uint8_t>& control) {
    std::vector<std::uint32_t> positions;
    if (control.size() != kFirstGenerationPageEntries) {
        return positions;
    }
    for (std::size_t slot = 0; slot < kPositionSlots; ++slot) {
        const std::size_t at = kPositionOffset + 4 * slot;
        const std::uint32_t position = control[at] | (std::uint32_t{control[at + 1]} << 8);
        if (!positions.empty() && position <= positions.back()) {
            break;
        }
        positions.push_back(position);
    }
    return positions;
}

DecodedCube decodeCubeMemory(const CubeRegisters& registers, int grid) {
    if (grid < 2 || grid % 2 != 0) {
        fail("cube memory",
             "a grid of " + std::to_string(grid) + " nodes cannot be split in banks");
    }
    const auto g = static_cast<std::size_t>(grid);
    const std::size_t h = g / 2;
    const std::size_t words = h * h * h;

    DecodedCube cube;
    cube.grid = grid;
    for (std::size_t i = 0; i < registers.control.size(); ++i) {
        const RegisterEntry& entry = registers.control[i];
        if (entry.addressNumber() != kControlBase + i) {
            fail("cube control page", "entry " + std::to_string(i) + " has address " +
                                          entry.address() + ", expected " +
                                          hex4(kControlBase + static_cast<std::uint32_t>(i)));
        }
        cube.control.push_back(static_cast<std::uint8_t>(entry.valueNumber()));
    }
    if (cube.control.empty()) {
        fail("cube control page", "missing");
    }
    cube.nodePositions = cubeNodePositions(cube.control);
    expectSingle(registers.begin, 1, "cube memory begin");
    expectSingle(registers.end, 0, "cube memory end");
    if (registers.select.size() < kLists || registers.data.size() < kLists) {
        fail("cube memory", "holds " + std::to_string(registers.data.size()) + " of its " +
                                std::to_string(kLists) + " lists");
    }

    cube.nodes.assign(g * g * g * 3, 0.0);
    for (std::size_t list = 0; list < kLists; ++list) {
        const std::size_t ch = list / kBanks;
        const std::size_t bank = list % kBanks;
        const std::string name = "cube list " + std::to_string(list) + " (channel " +
                                 std::to_string(ch) + ", bank " + std::to_string(bank) + ")";
        const RegisterList& select = registers.select[list];
        if (select.empty() || select.front().addressNumber() != kListSelectRegister ||
            select.front().valueNumber() != 16 * ch + bank) {
            fail(name, "its select register does not name it");
        }
        const RegisterList& data = registers.data[list];
        if (data.size() < 2 * words) {
            fail(name, "holds " + std::to_string(data.size()) + " of its " +
                           std::to_string(2 * words) + " bytes");
        }
        const std::size_t xParity = bank & 1u;
        const std::size_t yParity = (bank >> 1) & 1u;
        const std::size_t zParity = (bank >> 2) & 1u;
        for (std::size_t i = 0; i < words; ++i) {
            for (std::size_t byte = 0; byte < 2; ++byte) {
                const std::size_t index = 2 * i + byte;
                const std::uint32_t window =
                    index < 8191 ? static_cast<std::uint32_t>(index) : 8191u;
                if (!data[index].addressEmpty() &&
                    data[index].addressNumber() != (kDataWindow | (window & 0xFFFu))) {
                    fail(name,
                         "byte " + std::to_string(index) + " has address " + data[index].address());
                }
            }
            const std::uint32_t word =
                data[2 * i].valueNumber() | (data[2 * i + 1].valueNumber() << 8);
            const std::size_t x = 2 * (i % h) + xParity;
            const std::size_t y = 2 * ((i / h) % h) + yParity;
            const std::size_t z = 2 * (i / (h * h)) + zParity;
            cube.nodes[(x + g * (y + g * z)) * 3 + ch] = word * kCubeWordStep;
        }
    }
    return cube;
}

CubeRegisters encodeCubeMemory(const DecodedCube& cube) {
    // A register image of the generation whose grid this is gives the lists their sizes.
    ZelSharedIniBuf image(cube.grid == kSecondGenerationGrid ? "CAMB-002" : "CAMB-001");
    const CubeBlocks blocks{zel::block::kCubeControl, zel::block::kCubeBegin,
                            zel::block::kCubeSelect, zel::block::kCubeMemory, zel::block::kCubeEnd};
    storeCubeMemory(splitBanks(cube.nodes, cube.grid), image, blocks);
    CubeRegisters out;
    out.control.resize(cube.control.size());
    for (std::size_t i = 0; i < cube.control.size(); ++i) {
        out.control[i].setAddressNumber(kControlBase + static_cast<std::uint32_t>(i));
        out.control[i].setValueNumber(cube.control[i]);
    }
    out.begin = image.list(blocks.begin);
    out.select = image.group(blocks.select);
    out.data = image.group(blocks.data);
    out.end = image.list(blocks.end);
    return out;
}
