/* A C host: reads a .cube file, makes a look file on the generator's thread while it
 * shows the progress, and writes the file.
 *
 *   zel_c_look_host LOOK.cube OUT.zel CAMERA
 *
 * The look is named after OUT.zel's file name, as zelgen names it. */

#include <stdio.h>
#include <string.h>

#include "zel/zel_c.h"

static void show_progress(void* user, int32_t progress, int32_t status) {
    (void)user;
    (void)status;
    fprintf(stderr, "\r%3d%%", (int)progress);
}

static const char* file_name_of(const char* path) {
    const char* slash = strrchr(path, '/');
    const char* backslash = strrchr(path, '\\');
    if (backslash != NULL && (slash == NULL || backslash > slash)) {
        slash = backslash;
    }
    return slash != NULL ? slash + 1 : path;
}

int main(int argc, char** argv) {
    char message[256];
    float* rows = NULL;
    int32_t grid_size = 0;
    zel_generator* generator = NULL;
    zel_result* result = NULL;
    zel_look_input input;
    const uint8_t* data;
    uint32_t size = 0;
    int32_t code;
    FILE* out;

    if (argc != 4) {
        fprintf(stderr, "usage: zel_c_look_host LOOK.cube OUT.zel CAMERA\n");
        return 2;
    }
    code = zel_cube_read(argv[1], &rows, &grid_size, message, sizeof message);
    if (code != ZEL_OK) {
        fprintf(stderr, "%s: %s (%s)\n", argv[1], message, zel_error_text(code));
        return 1;
    }
    memset(&input, 0, sizeof input);
    input.struct_size = sizeof input;
    input.grid_size = grid_size;
    input.lut = rows;
    input.camera = argv[3];
    input.name = file_name_of(argv[2]);

    code = zel_generator_create(&generator);
    if (code == ZEL_OK) {
        zel_generator_set_progress(generator, show_progress, NULL);
        code = zel_make_look_async(generator, &input);
    }
    zel_cube_free(rows); /* the job has its own copy */
    if (code == ZEL_OK) {
        code = zel_generator_wait(generator, -1, &result);
    }
    fprintf(stderr, "\n");
    if (code != ZEL_OK) {
        fprintf(stderr, "%s: %s\n", zel_error_text(code),
                generator != NULL ? zel_generator_message(generator) : "");
        zel_generator_destroy(generator);
        return 1;
    }
    data = zel_result_data(result, &size);
    out = fopen(argv[2], "wb");
    code = out != NULL && fwrite(data, 1, size, out) == size;
    if (out != NULL && fclose(out) != 0) {
        code = 0;
    }
    zel_result_free(result);
    zel_generator_destroy(generator);
    if (!code) {
        fprintf(stderr, "%s: cannot write the file\n", argv[2]);
        return 1;
    }
    return 0;
}
