#ifndef ZEL_TESTS_BOUNDARY_C_HOST_WORDS_H
#define ZEL_TESTS_BOUNDARY_C_HOST_WORDS_H

/* What every_public_header.c, compiled as C, answers: the C interface's words for a code
 * and the version of the headers it was compiled with. */

#ifdef __cplusplus
extern "C" {
#endif

const char* zel_boundary_c_error_words(int code);
const char* zel_boundary_c_version(void);

#ifdef __cplusplus
}
#endif

#endif /* ZEL_TESTS_BOUNDARY_C_HOST_WORDS_H */
