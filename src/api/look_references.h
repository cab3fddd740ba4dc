#ifndef ZEL_API_LOOK_REFERENCES_H
#define ZEL_API_LOOK_REFERENCES_H

// The look files the library makes from a look with the settings a look file's headers
// name: the references the check compares a file with (readback/look_verification.h).

#include <vector>

#include "readback/look_verification.h"

namespace zel {

// One look file per option set the layout allows (long chain, full domain), until one is
// `wanted`; an option set the library refuses gives none. Jobs print nothing.
std::vector<LookFileBytes> referenceLookFiles(const LookFacts& facts, const LookNodes& look,
                                              const ReferenceWanted& wanted = nullptr);

}  // namespace zel

#endif  // ZEL_API_LOOK_REFERENCES_H
