#include "io/metadata_header_list.h"

#include "io/metadata_catalogue.h"

namespace zel::io {

void writeMetadataHeaderList(const ByteSection& list, const HeaderPartLayout& layout) {
    writeFields(list, {
                          textField(0, 4, "MDHL"),
                          numberField(4, 4, layout.listLength),
                          numberField(8, 2, layout.blockLength),
                          numberField(10, 2, layout.blockCount),
                      });
    for (int k = 0; k < layout.listEntryCount; ++k) {
        const auto entry = static_cast<std::uint32_t>(k);
        const TwoByteCode tag = classTag(k / 3);
        // Offsets count from the list start: block 0 follows the list directly.
        writeFields(list.sub(12 + 8 * entry, 8),
                    {
                        numberField(0, 1, tag[0]),
                        numberField(1, 1, tag[1]),
                        numberField(2, 2, entry % 3),
                        numberField(4, 4, layout.listLength + entry * layout.blockLength),
                    });
    }
}

}  // namespace zel::io
