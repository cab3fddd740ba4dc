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
//
// The C interface's return codes (zel/zel_c.h) are another set of numbers with their own
// words, zel_error_text. Earlier versions of this header named the job's words
// zel_error_text too, which kept a host from including both headers in one file; the
// library still exports that C++ function, so a host built against those versions runs
// unchanged, and a host compiled now calls zel_job_error_text.
ZEL_API const char* zel_job_error_text(int code) noexcept;

#endif  // ZEL_ERRORS_H
