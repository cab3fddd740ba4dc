#include "camera/lut3d_decoder.h"

#include "camera/ini_buf.h"
#include "camera/lut3d_writer.h"
#include "camera/register_block.h"
#include "settings/camera_models.h"

namespace {

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw zel::DecodeError(where, what);
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
    if (list.front().addressNumber() != kCubeMemoryAccessRegister ||
        list.front().valueNumber() != value) {
        fail(name, "register " + list.front().address() + " = " + list.front().value() +
                       ", expected " + hex4(kCubeMemoryAccessRegister) + " = 0" +
                       std::to_string(value));
    }
}

}  // namespace

std::vector<std::uint32_t> cubeNodePositions(const std::vector<std::uint8_t>& control) {
    std::vector<std::uint32_t> positions;
    if (control.size() != kCubeFirstGenerationPageEntries) {
        return positions;
    }
    for (std::size_t slot = 0; slot < kCubePositionSlots; ++slot) {
        const std::size_t at = kCubePositionOffset + 4 * slot;
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
        if (entry.addressNumber() != kCubeControlBase + i) {
            fail("cube control page", "entry " + std::to_string(i) + " has address " +
                                          entry.address() + ", expected " +
                                          hex4(kCubeControlBase + static_cast<std::uint32_t>(i)));
        }
        cube.control.push_back(static_cast<std::uint8_t>(entry.valueNumber()));
    }
    if (cube.control.empty()) {
        fail("cube control page", "missing");
    }
    cube.nodePositions = cubeNodePositions(cube.control);
    expectSingle(registers.begin, 1, "cube memory begin");
    expectSingle(registers.end, 0, "cube memory end");
    if (registers.select.size() < kCubeLists || registers.data.size() < kCubeLists) {
        fail("cube memory", "holds " + std::to_string(registers.data.size()) + " of its " +
                                std::to_string(kCubeLists) + " lists");
    }

    cube.nodes.assign(g * g * g * 3, 0.0);
    for (std::size_t list = 0; list < kCubeLists; ++list) {
        const std::size_t ch = list / kCubeBanks;
        const std::size_t bank = list % kCubeBanks;
        const std::string name = "cube list " + std::to_string(list) + " (channel " +
                                 std::to_string(ch) + ", bank " + std::to_string(bank) + ")";
        const RegisterList& select = registers.select[list];
        if (select.empty() || select.front().addressNumber() != kCubeListSelectRegister ||
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
                if (!data[index].addressEmpty() &&
                    data[index].addressNumber() != cubeWindowAddress(index)) {
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
    ZelSharedIniBuf image = ZelSharedIniBuf::ofGeneration(
        cube.grid == kSecondGenerationGrid ? zel::kSecondGeneration : zel::kFirstGeneration);
    const CubeBlocks blocks{zel::block::kCubeControl, zel::block::kCubeBegin,
                            zel::block::kCubeSelect, zel::block::kCubeMemory, zel::block::kCubeEnd};
    storeCubeMemory(splitBanks(cube.nodes, cube.grid), image, blocks);
    CubeRegisters out;
    out.control.resize(cube.control.size());
    for (std::size_t i = 0; i < cube.control.size(); ++i) {
        out.control[i].setAddressNumber(kCubeControlBase + static_cast<std::uint32_t>(i));
        out.control[i].setValueNumber(cube.control[i]);
    }
    out.begin = image.list(blocks.begin);
    out.select = image.group(blocks.select);
    out.data = image.group(blocks.data);
    out.end = image.list(blocks.end);
    return out;
}
