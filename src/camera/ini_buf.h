#ifndef ZEL_CAMERA_INI_BUF_H
#define ZEL_CAMERA_INI_BUF_H

// The camera register image of one job: 76 register blocks, numbered 0 to 75, sized per
// camera model so that later stages overwrite entries in place by index.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "camera/register_entry.h"

class ZelSharedIniBuf {
  public:
    static constexpr int kBlockCount = 76;

    enum class BlockKind : std::uint8_t {
        List,    // a register list
        Group,   // a list of register lists (per channel, or per cube bank and channel)
        Single,  // one register entry, held as a list of at most one entry
        Header,  // a copy of a parameter-buffer header
    };

    // Creates the blocks with the entry counts of `model`; a model it does not know
    // leaves every block empty.
    explicit ZelSharedIniBuf(std::string model);

    // The register image of the first camera model of the model table with generation
    // `mode`, for a decoder that stores what it read as the writer does; every block empty
    // when no model has that generation.
    static ZelSharedIniBuf ofGeneration(std::int32_t mode);

    static BlockKind kindOf(int block);

    // Accessors by block number; each throws std::out_of_range when the block number is
    // outside 0 to 75 or the block is of another kind.
    RegisterList& list(int block);
    const RegisterList& list(int block) const;
    RegisterGroup& group(int block);
    const RegisterGroup& group(int block) const;
    std::vector<std::int32_t>& header(int block);
    const std::vector<std::int32_t>& header(int block) const;

  private:
    std::array<RegisterList, kBlockCount> lists_;
    std::array<RegisterGroup, kBlockCount> groups_;
    std::array<std::vector<std::int32_t>, kBlockCount> headers_;
};

#endif  // ZEL_CAMERA_INI_BUF_H
