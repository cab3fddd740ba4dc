/* A C host that uses an installed library through its C interface only: the version it
 * was compiled against is the one it loads, and a small look is made with a fixed time
 * stamp. Prints "ok VERSION". */
#include <zel/zel_c.h>

#include <stdio.h>
#include <string.h>

#define N 2

int main(void) {
    float lut[N * N * N * 3];
    zel_look_input input;
    zel_generator* generator = NULL;
    zel_result* result = NULL;
    uint32_t size = 0;
    int i;

    if (strcmp(zel_version(), ZEL_VERSION_STRING) != 0) {
        printf("compiled against zel %s, loaded %s\n", ZEL_VERSION_STRING, zel_version());
        return 1;
    }
    for (i = 0; i < N * N * N; ++i) { /* red fastest: the identity look */
        lut[3 * i] = (float)(i % N);
        lut[3 * i + 1] = (float)(i / N % N);
        lut[3 * i + 2] = (float)(i / (N * N));
    }
    memset(&input, 0, sizeof input);
    input.struct_size = sizeof input;
    input.grid_size = N;
    input.lut = lut;
    input.camera = "CAMB-001";
    input.name = "Host.zel";
    input.created = "2026-01-02 03:04:05";
    if (zel_generator_create(&generator) != ZEL_OK) {
        puts("no generator");
        return 1;
    }
    if (zel_make_look(generator, &input, &result) != ZEL_OK) {
        printf("the look failed: %s\n", zel_generator_message(generator));
        zel_generator_destroy(generator);
        return 1;
    }
    zel_result_data(result, &size);
    zel_result_free(result);
    zel_generator_destroy(generator);
    if (size == 0) {
        puts("an empty look file");
        return 1;
    }
    printf("ok %s\n", zel_version());
    return 0;
}
