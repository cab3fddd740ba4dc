// The library's version, from the header the build writes with the project's version.

#include "zel/version.h"

extern "C" const char* zel_version(void) {
    return ZEL_VERSION_STRING;
}
