#include "io/metadata_header_list.h"

#include "io/metadata_catalogue.h"

namespace zel::io {

void writeMetadataHeaderList(const ByteSection& list, const HeaderPartLayout& layout) {
    using namespace metadata_list;
    writeFields(list, {
                          textField(kMagicField, kMagic),
                          numberField(kListLength, layout.listLength),
                          numberField(kBlockLength, layout.blockLength),
                          numberField(kBlockCount, layout.blockCount),
                      });
    for (int k = 0; k < layout.listEntryCount; ++k) {
        const auto entry = static_cast<std::uint32_t>(k);
        const TwoByteCode tag = classTag(k / 3);
        // Offsets count from the list start: block 0 follows the list directly.
        writeFields(list.sub(kHeadLength + kEntryLength * entry, kEntryLength),
                    {
                        bytesField(kEntryTag, tag.data(), tag.size()),
                        numberField(kEntryIndex, entry % 3),
                        numberField(kEntryOffset, layout.listLength + entry * layout.blockLength),
                    });
    }
}

}  // namespace zel::io
