/* A C host that includes every public header a C compiler reads in one file. The others
 * (zel.h and what it includes) are C++ only; every_public_header_test.cpp includes them
 * all. */

#include "zel/export.h"
#include "zel/version.h"
#include "zel/zel_c.h"

#include "boundary/c_host_words.h"

const char* zel_boundary_c_error_words(int code) {
    return zel_error_text((int32_t)code);
}

const char* zel_boundary_c_version(void) {
    return ZEL_VERSION_STRING;
}
