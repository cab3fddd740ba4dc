/* zel_c.h compiles as C89 with pedantic warnings as errors. */

#include "zel/zel_c.h"

int zel_c89_header_check(const zel_look_input* input);

int zel_c89_header_check(const zel_look_input* input) {
    zel_progress_fn progress = 0;
    return input->struct_size == sizeof(zel_look_input) && progress == 0 ? ZEL_OK
                                                                         : ZEL_ERROR_ARGUMENT;
}
