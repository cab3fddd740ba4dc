#ifndef ZEL_C_TEST_SUPPORT_H
#define ZEL_C_TEST_SUPPORT_H

/* Checks and looks shared by the C programs that test the C interface. */

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zel/zel_c.h"

static int failures = 0;

#define CHECK(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                                   \
        }                                                                                 \
    } while (0)

/* Where a look file keeps its creation time: 8 bytes at offset 180. */
#define TIME_STAMP_OFFSET 180
#define TIME_STAMP_LENGTH 8

/* N^3 rows of a warm, contrasty look, red fastest as a .cube file lists them. */
static inline float* make_test_lut(int n) {
    float* rows = (float*)malloc(sizeof(float) * 3 * (size_t)n * n * n);
    int r, g, b;
    if (rows == NULL) {
        return NULL;
    }
    for (b = 0; b < n; ++b) {
        for (g = 0; g < n; ++g) {
            for (r = 0; r < n; ++r) {
                float* row = rows + 3 * (r + n * (g + n * b));
                const float x = (float)r / (float)(n - 1);
                const float y = (float)g / (float)(n - 1);
                const float z = (float)b / (float)(n - 1);
                row[0] = 0.02f + 0.9f * x * (1.1f - 0.1f * x);
                row[1] = 0.01f + 0.95f * y * y + 0.02f * x;
                row[2] = 0.05f + 0.8f * z - 0.03f * x;
            }
        }
    }
    return rows;
}

static inline zel_look_input test_input(const float* lut, int n, const char* camera) {
    zel_look_input input;
    memset(&input, 0, sizeof input);
    input.struct_size = sizeof input;
    input.grid_size = n;
    input.lut = lut;
    input.camera = camera;
    input.name = "Warm.zel";
    input.note = "Warm contrast";
    return input;
}

/* Whether two look files are equal apart from their time stamps. */
static inline int same_look(const zel_result* a, const zel_result* b) {
    uint32_t size_a = 0, size_b = 0;
    const uint8_t* data_a = zel_result_data(a, &size_a);
    const uint8_t* data_b = zel_result_data(b, &size_b);
    if (size_a != size_b || size_a < TIME_STAMP_OFFSET + TIME_STAMP_LENGTH) {
        return 0;
    }
    return memcmp(data_a, data_b, TIME_STAMP_OFFSET) == 0 &&
           memcmp(data_a + TIME_STAMP_OFFSET + TIME_STAMP_LENGTH,
                  data_b + TIME_STAMP_OFFSET + TIME_STAMP_LENGTH,
                  size_a - TIME_STAMP_OFFSET - TIME_STAMP_LENGTH) == 0;
}

static inline int finish(const char* program) {
    if (failures != 0) {
        fprintf(stderr, "%s: %d check(s) failed\n", program, failures);
        return 1;
    }
    printf("%s: all checks passed\n", program);
    return 0;
}

#endif /* ZEL_C_TEST_SUPPORT_H */
