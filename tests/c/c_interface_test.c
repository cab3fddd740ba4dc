/* The C interface as a C host uses it: refusals, both row orders, synchronous and
 * asynchronous jobs with progress and cancel, both look-file layouts, .cube reading. */

#include <math.h>

#include "c_test_support.h"

#define GRID 9

static int contains(const char* text, const char* part) {
    return text != NULL && strstr(text, part) != NULL;
}

static void refuses_bad_input(zel_generator* generator, const float* lut) {
    char long_note[200];
    float bad[3 * GRID * GRID * GRID];
    zel_result* result = (zel_result*)1;
    zel_look_input input = test_input(lut, GRID, "CAMB-001");
    int code;

    input.struct_size = 8;
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);
    CHECK(result == NULL);

    input = test_input(lut, GRID, "CAMX-009");
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);
    CHECK(contains(zel_generator_message(generator), "CAMX-009"));

    input = test_input(lut, GRID, "CAMB-001");
    memset(long_note, 'n', sizeof long_note - 1);
    long_note[129] = '\0';
    input.note = long_note;
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);
    CHECK(contains(zel_generator_message(generator), "note is 129 bytes"));

    input = test_input(lut, 1, "CAMB-001");
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);
    input = test_input(lut, GRID, "CAMB-001");
    input.source = 4;
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);
    input = test_input(lut, GRID, "CAMB-002");
    input.options = ZEL_OPTION_FULL_DOMAIN;
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);

    memcpy(bad, lut, sizeof bad);
    bad[100] = (float)NAN;
    input = test_input(bad, GRID, "CAMB-001");
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);
    CHECK(contains(zel_generator_message(generator), "finite"));

    CHECK(zel_generator_wait(generator, 0, &result) == ZEL_ERROR_NO_JOB);
    CHECK(zel_make_look(NULL, &input, &result) == ZEL_ERROR_ARGUMENT);
    CHECK(zel_generator_create(NULL) == ZEL_ERROR_ARGUMENT);
    for (code = ZEL_OK; code <= ZEL_ERROR_INTERNAL; ++code) {
        CHECK(strlen(zel_error_text(code)) > 0);
    }
    CHECK(contains(zel_error_text(-1), "unknown"));
}

/* The same look given red fastest and blue fastest makes the same file, and comes back
 * re-indexed in the order it was given. */
static void reads_both_row_orders(zel_generator* generator, const float* lut) {
    float blue_fastest[3 * GRID * GRID * GRID];
    zel_result* red_result = NULL;
    zel_result* blue_result = NULL;
    zel_look_input input = test_input(lut, GRID, "CAMB-001");
    int r, g, b, c;
    uint32_t size = 0, count = 0, blue_count = 0;
    const uint8_t* data;
    const float* red_reindexed;
    const float* blue_reindexed;

    for (r = 0; r < GRID; ++r) {
        for (g = 0; g < GRID; ++g) {
            for (b = 0; b < GRID; ++b) {
                memcpy(blue_fastest + 3 * (b + GRID * (g + GRID * r)),
                       lut + 3 * (r + GRID * (g + GRID * b)), 3 * sizeof(float));
            }
        }
    }
    CHECK(zel_make_look(generator, &input, &red_result) == ZEL_OK);
    input.lut = blue_fastest;
    input.order = ZEL_ORDER_BLUE_FASTEST;
    CHECK(zel_make_look(generator, &input, &blue_result) == ZEL_OK);
    CHECK(zel_generator_status(generator) == ZEL_JOB_DONE);
    if (red_result == NULL || blue_result == NULL) {
        return;
    }
    CHECK(same_look(red_result, blue_result));
    data = zel_result_data(red_result, &size);
    CHECK(size > 2752 && memcmp(data, "QKDF", 4) == 0);
    CHECK(contains(zel_result_cube_header(red_result), "LUT_3D_SIZE 9"));
    CHECK(zel_result_grid_size(red_result) == GRID);

    red_reindexed = zel_result_reindexed(red_result, &count);
    blue_reindexed = zel_result_reindexed(blue_result, &blue_count);
    CHECK(count == 3 * GRID * GRID * GRID && blue_count == count);
    if (red_reindexed != NULL && blue_reindexed != NULL) {
        int moved = 0;
        for (r = 0; r < GRID; ++r) {
            for (g = 0; g < GRID; ++g) {
                for (b = 0; b < GRID; ++b) {
                    for (c = 0; c < 3; ++c) {
                        const float red = red_reindexed[3 * (r + GRID * (g + GRID * b)) + c];
                        CHECK(red == blue_reindexed[3 * (b + GRID * (g + GRID * r)) + c]);
                        moved += red != lut[3 * (r + GRID * (g + GRID * b)) + c];
                    }
                }
            }
        }
        CHECK(moved > 0);
    }
    zel_result_free(red_result);
    zel_result_free(blue_result);
}

struct progress_log {
    zel_generator* generator;
    int cancel_at_first;
    int calls;
    int progress[16];
    int status[16];
};

static void record_progress(void* user, int32_t progress, int32_t status) {
    struct progress_log* log = (struct progress_log*)user;
    if (log->calls < 16) {
        log->progress[log->calls] = progress;
        log->status[log->calls] = status;
    }
    ++log->calls;
    if (log->cancel_at_first) {
        zel_generator_cancel(log->generator);
    }
}

static void runs_asynchronous_jobs(zel_generator* generator, const float* lut) {
    struct progress_log log;
    zel_result* sync_result = NULL;
    zel_result* async_result = NULL;
    zel_look_input input = test_input(lut, GRID, "CAMB-001");
    int i;

    memset(&log, 0, sizeof log);
    log.generator = generator;
    CHECK(zel_make_look(generator, &input, &sync_result) == ZEL_OK);
    CHECK(zel_generator_set_progress(generator, record_progress, &log) == ZEL_OK);
    CHECK(zel_make_look_async(generator, &input) == ZEL_OK);
    CHECK(zel_make_look_async(generator, &input) == ZEL_ERROR_BUSY);
    CHECK(zel_make_look(generator, &input, &async_result) == ZEL_ERROR_BUSY);
    CHECK(zel_generator_wait(generator, -1, &async_result) == ZEL_OK);
    CHECK(async_result != NULL && sync_result != NULL && same_look(sync_result, async_result));
    CHECK(log.calls == 8);
    for (i = 0; i < 7 && i < log.calls; ++i) {
        CHECK(log.status[i] == ZEL_JOB_RUNNING);
        CHECK(i == 0 || log.progress[i] > log.progress[i - 1]);
    }
    CHECK(log.progress[7] == 99 && log.status[7] == ZEL_JOB_DONE);
    zel_result_free(sync_result);
    zel_result_free(async_result);

    /* Cancelled from inside its first progress report: nothing more is reported. */
    memset(&log, 0, sizeof log);
    log.generator = generator;
    log.cancel_at_first = 1;
    CHECK(zel_make_look_async(generator, &input) == ZEL_OK);
    CHECK(zel_generator_wait(generator, -1, &async_result) == ZEL_ERROR_CANCELLED);
    CHECK(async_result == NULL);
    CHECK(log.calls == 1);
    CHECK(zel_generator_status(generator) == ZEL_JOB_CANCELLED);
    CHECK(zel_generator_wait(generator, -1, &async_result) == ZEL_ERROR_NO_JOB);
    CHECK(zel_generator_set_progress(generator, NULL, NULL) == ZEL_OK);
}

static void makes_the_extended_layout(zel_generator* generator, const float* lut) {
    zel_result* standard = NULL;
    zel_result* extended = NULL;
    zel_look_input input = test_input(lut, GRID, "CAMA-001");
    uint32_t standard_size = 0, extended_size = 0;

    input.second_name = "A second name longer than twenty-eight bytes";
    input.job = ZEL_LAYOUT_EXTENDED;
    CHECK(zel_make_look(generator, &input, &extended) == ZEL_OK);
    input.job = ZEL_LAYOUT_STANDARD;
    CHECK(zel_make_look(generator, &input, &standard) == ZEL_ERROR_ARGUMENT);
    CHECK(contains(zel_generator_message(generator), "second_name"));
    input.second_name = "Short";
    CHECK(zel_make_look(generator, &input, &standard) == ZEL_OK);
    zel_result_data(standard, &standard_size);
    zel_result_data(extended, &extended_size);
    CHECK(extended_size > 9920 && standard_size > 2752 && extended_size != standard_size);
    zel_result_free(standard);
    zel_result_free(extended);
}

static int write_text(const char* path, const char* text) {
    FILE* file = fopen(path, "wb");
    if (file == NULL) {
        return 0;
    }
    fputs(text, file);
    return fclose(file) == 0;
}

static void reads_cube_files(void) {
    const char* path = "c_interface_test_look.cube";
    const char* good =
        "TITLE \"Two\"\nLUT_3D_SIZE 2\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n"
        "0 0 1\n1 0 1\n0 1 1\n1 1 1\n";
    char message[64];
    float* rows = NULL;
    float buffer[24];
    int32_t size = 0;

    CHECK(write_text(path, good));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_OK);
    CHECK(size == 2 && rows != NULL && rows[3] == 1.0f && rows[23] == 1.0f);
    zel_cube_free(rows);
    size = 0;
    CHECK(zel_cube_read_into(path, NULL, 0, &size, NULL, 0) == ZEL_ERROR_BUFFER_TOO_SMALL);
    CHECK(size == 2);
    CHECK(zel_cube_read_into(path, buffer, 24, &size, NULL, 0) == ZEL_OK);
    CHECK(buffer[18] == 0.0f && buffer[21] == 1.0f);

    CHECK(write_text(path, "LUT_3D_SIZE 2\n0 0 0\n1 0 0\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    CHECK(rows == NULL && contains(message, "holds 2 rows"));
    CHECK(write_text(path, "LUT_3D_SIZE 2\nDOMAIN_MIN 0 0 0\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    CHECK(write_text(path, "LUT_3D_SIZE 1\n0 0 0\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    /* The message is cut to the room given, NUL included. */
    CHECK(zel_cube_read(path, &rows, &size, message, 5) == ZEL_ERROR_CUBE);
    CHECK(strlen(message) == 4);
    remove(path);
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_FILE);
    CHECK(zel_cube_read(NULL, &rows, &size, NULL, 0) == ZEL_ERROR_ARGUMENT);
}

int main(void) {
    zel_generator* generator = NULL;
    float* lut = make_test_lut(GRID);

    CHECK(lut != NULL);
    CHECK(zel_generator_create(&generator) == ZEL_OK);
    if (lut == NULL || generator == NULL) {
        return finish("c_interface_test");
    }
    CHECK(zel_generator_status(generator) == ZEL_JOB_NONE);
    refuses_bad_input(generator, lut);
    reads_both_row_orders(generator, lut);
    runs_asynchronous_jobs(generator, lut);
    makes_the_extended_layout(generator, lut);
    reads_cube_files();
    zel_generator_destroy(generator);
    zel_generator_destroy(NULL);
    free(lut);
    return finish("c_interface_test");
}
