#ifndef ZEL_READBACK_LOOK_CHECK_H
#define ZEL_READBACK_LOOK_CHECK_H

// Will the camera show the look? What the check finds in a look file: its blocks and their
// damage (the file against the look files the library makes again), with the source look
// how closely the camera renders it, and the one verdict every host gives (zelgen check,
// the fidelity line of zelgen make, the Python module, the C interface).

#include <cstddef>
#include <cstdint>
#include <string>

#include "readback/block_checks.h"
#include "readback/look_fidelity.h"
#include "readback/look_verification.h"

namespace zel {

struct CheckOutcome {
    BlockReport report;
    FidelityReport fidelity;
    bool measured = false;           // the fidelity was measured
    bool lookWordsVerified = false;  // every word was compared with the source look's
    std::string verdict;
    bool sound = false;  // neither damaged nor empty nor outside the limits
};

// `look` null: without the source look; else the look at the grid the file names.
// `makeReferences` makes the library's look files to compare with. Throws DecodeError
// when the file cannot be walked.
CheckOutcome checkLookFile(const std::uint8_t* bytes, std::size_t size, const LookNodes* look,
                           const ReferenceMaker& makeReferences);

// The report as JSON text, the same for every host.
std::string checkJson(const CheckOutcome& outcome);

}  // namespace zel

#endif  // ZEL_READBACK_LOOK_CHECK_H
