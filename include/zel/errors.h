#ifndef ZEL_ERRORS_H
#define ZEL_ERRORS_H

// Plain words for the statuses a job reports and for the errors it can end with, the same
// words for the tool, the tests and any host.

#include "zel/enums.h"
#include "zel/export.h"

// A short description of a status, e.g. "the job ended by an error". Never null.
ZEL_API const char* zel_status_text(ZelEnum::ZEL_STATUS status) noexcept;

// What a failed job's error code (a ZelEnum::ZelException or ZelEnum::ZelJobError value)
// means, in words a user can act on. An unknown code gives a sentence that says so; never
// null.
ZEL_API const char* zel_error_text(int code) noexcept;

#endif  // ZEL_ERRORS_H
