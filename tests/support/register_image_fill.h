#ifndef ZEL_TESTS_SUPPORT_REGISTER_IMAGE_FILL_H
#define ZEL_TESTS_SUPPORT_REGISTER_IMAGE_FILL_H

// Fills the blocks of a register image that the camera writers would write (cube memories,
// 1D LUT memories, colour matrices), so the body writer sees a plausibly full image without
// running the engine. Addresses run up from a per-block base; values are the entry index.

#include <cstdint>

#include "camera/ini_buf.h"

namespace zel::testing {

inline void fillList(RegisterList& list, std::uint32_t base) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i].setAddressNumber((base + static_cast<std::uint32_t>(i)) & 0xFFFFu);
        list[i].setValueNumber(static_cast<std::uint32_t>(i) & 0xFFu);
    }
}

// Fills every list and group list that nothing has written yet (first address empty) and
// gives the first 1D LUT a one-channel header, so block 8 runs its four parts.
inline void fillUnwrittenBlocks(ZelSharedIniBuf& iniBuf) {
    for (int block = 0; block < ZelSharedIniBuf::kBlockCount; ++block) {
        const auto base = static_cast<std::uint32_t>(0x1000 + 0x100 * block);
        switch (ZelSharedIniBuf::kindOf(block)) {
            case ZelSharedIniBuf::BlockKind::List:
            case ZelSharedIniBuf::BlockKind::Single: {
                RegisterList& list = iniBuf.list(block);
                if (!list.empty() && list.front().addressEmpty()) {
                    fillList(list, base);
                }
                break;
            }
            case ZelSharedIniBuf::BlockKind::Group:
                for (RegisterList& list : iniBuf.group(block)) {
                    if (!list.empty() && list.front().addressEmpty()) {
                        fillList(list, 0xA000);
                    }
                }
                break;
            case ZelSharedIniBuf::BlockKind::Header:
                break;
        }
    }
    iniBuf.header(34) = {1024, 1, 0, 1023, 0, 0, 1};
}

}  // namespace zel::testing

#endif  // ZEL_TESTS_SUPPORT_REGISTER_IMAGE_FILL_H
