#include "api/check_look.h"

#include "api/look_references.h"

namespace zel {

CheckOutcome checkLook(const std::uint8_t* bytes, std::size_t size, const LookNodes* look) {
    return checkLookFile(bytes, size, look, referenceLookFiles);
}

}  // namespace zel
