/* The C interface as a C host uses it: refusals, synchronous and asynchronous jobs with
 * progress and cancel, the room of a text by layout, .cube reading. */

#include <stddef.h>

#include "c_test_support.h"

#define GRID 9

static int contains(const char* text, const char* part) {
    return text != NULL && strstr(text, part) != NULL;
}

/* Refusals the Python module does not reach: the structure's size, the handles, the
 * order of a wait. The module's tests cover the refused values. */
static void refuses_bad_calls(zel_generator* generator, const float* lut) {
    zel_result* result = (zel_result*)1;
    zel_look_input input = test_input(lut, GRID, "CAMB-001");
    int code;

    input.struct_size = 8;
    CHECK(zel_make_look(generator, &input, &result) == ZEL_ERROR_ARGUMENT);
    CHECK(result == NULL && contains(zel_generator_message(generator), "struct_size"));
    CHECK(zel_generator_wait(generator, 0, &result) == ZEL_ERROR_NO_JOB);
    CHECK(zel_make_look(NULL, &input, &result) == ZEL_ERROR_ARGUMENT);
    CHECK(zel_generator_create(NULL) == ZEL_ERROR_ARGUMENT);
    for (code = ZEL_OK; code <= ZEL_ERROR_NOT_LOOK_FILE; ++code) {
        CHECK(strlen(zel_error_text(code)) > 0);
    }
    CHECK(contains(zel_error_text(-1), "unknown"));
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
    uint32_t count = 0;
    int i;

    memset(&log, 0, sizeof log);
    log.generator = generator;
    CHECK(zel_make_look(generator, &input, &sync_result) == ZEL_OK);
    CHECK(zel_generator_status(generator) == ZEL_JOB_DONE);
    CHECK(zel_result_grid_size(sync_result) == GRID);
    CHECK(contains(zel_result_cube_header(sync_result), "LUT_3D_SIZE 9"));
    CHECK(zel_result_reindexed(sync_result, &count) != NULL && count == 3 * GRID * GRID * GRID);
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

    /* Cancelled from inside its first progress report: the next report is the last, with
     * the end status. */
    memset(&log, 0, sizeof log);
    log.generator = generator;
    log.cancel_at_first = 1;
    CHECK(zel_make_look_async(generator, &input) == ZEL_OK);
    CHECK(zel_generator_wait(generator, -1, &async_result) == ZEL_ERROR_CANCELLED);
    CHECK(async_result == NULL);
    CHECK(log.calls == 2 && log.status[1] == ZEL_JOB_CANCELLED);
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

/* The rows of a grid-2 look whose node (r, g, b) holds `scale` * (r, g, b), red fastest. */
static int rows_are_identity(const float* rows, float scale) {
    int row;
    for (row = 0; row < 8; ++row) {
        if (rows[3 * row] != scale * (float)(row & 1) ||
            rows[3 * row + 1] != scale * (float)((row >> 1) & 1) ||
            rows[3 * row + 2] != scale * (float)((row >> 2) & 1)) {
            return 0;
        }
    }
    return 1;
}

/* zelgen's reader: the dialects grading applications write, a 1D shaper applied, the line
 * and the reason of a refusal in the message. */
static void reads_cube_files(void) {
    const char* path = "c_interface_test_look.cube";
    const char* good =
        "TITLE \"Two\"\nLUT_3D_SIZE 2\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n"
        "0 0 1\n1 0 1\n0 1 1\n1 1 1\n";
    const char* dialects =
        "# exported\r\nTITLE \"Two\"\r\nlut_3d_size 2\r\nDOMAIN_MIN 0 0 0\r\n"
        "DOMAIN_MAX 1.0 1.0 1.0\r\n\r\n0  0  0\r\n1\t0\t0\r\n0 1 0\r\n1 1 0  \r\n"
        "# halfway\r\n0 0 1\r\n1 0 1\r\n+0 1 1\r\n1 1 1";
    /* A shaper that halves every input before an identity table. */
    const char* shaper =
        "LUT_1D_SIZE 2\nLUT_3D_SIZE 2\n0 0 0\n0.5 0.5 0.5\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n"
        "0 0 1\n1 0 1\n0 1 1\n1 1 1\n";
    char message[256];
    float* rows = NULL;
    float buffer[24];
    int32_t size = 0;

    CHECK(write_text(path, good));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_OK);
    CHECK(size == 2 && rows != NULL && rows_are_identity(rows, 1.0f) && message[0] == '\0');
    zel_cube_free(rows);
    size = 0;
    CHECK(zel_cube_read_into(path, NULL, 0, &size, NULL, 0) == ZEL_ERROR_BUFFER_TOO_SMALL);
    CHECK(size == 2);
    CHECK(zel_cube_read_into(path, buffer, 24, &size, NULL, 0) == ZEL_OK);
    CHECK(rows_are_identity(buffer, 1.0f));

    CHECK(write_text(path, dialects));
    CHECK(zel_cube_read_into(path, buffer, 24, &size, message, sizeof message) == ZEL_OK);
    CHECK(size == 2 && rows_are_identity(buffer, 1.0f));

    CHECK(write_text(path, shaper));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_OK);
    CHECK(size == 2 && rows != NULL && rows_are_identity(rows, 0.5f));
    zel_cube_free(rows);

    CHECK(write_text(path, "LUT_3D_SIZE 2\n0 0 0\n1 0 0\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    CHECK(rows == NULL && contains(message, "line 3") && contains(message, "2 of 8"));
    CHECK(write_text(path, "LUT_3D_SIZE 2\n0 0 0\n1 0 x\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    CHECK(contains(message, path) && contains(message, "line 3") &&
          contains(message, "'x' is not a number"));
    CHECK(write_text(path, "LUT_1D_SIZE 2\n0 0 0\n1 1 1\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    CHECK(contains(message, "only a 1D LUT"));
    CHECK(write_text(path, "LUT_3D_SIZE 2\nDOMAIN_MIN 0 0 0\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    CHECK(write_text(path, "LUT_3D_SIZE 1\n0 0 0\n"));
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_CUBE);
    CHECK(contains(message, "line 1") && contains(message, "2 to 255"));
    /* The message is cut to the room given, NUL included. */
    CHECK(zel_cube_read(path, &rows, &size, message, 5) == ZEL_ERROR_CUBE);
    CHECK(strlen(message) == 4);
    remove(path);
    CHECK(zel_cube_read(path, &rows, &size, message, sizeof message) == ZEL_ERROR_FILE);
    CHECK(zel_cube_read(NULL, &rows, &size, NULL, 0) == ZEL_ERROR_ARGUMENT);
}

/* The host sets the time stamp (then the same look gives the same bytes); a host compiled
 * before `created` existed passes the smaller struct_size and gets the local time; a time
 * that does not exist is refused. The library's version is the one this was compiled
 * against. */
static void stamps_the_time_the_host_sets(zel_generator* generator, const float* lut) {
    static const uint8_t stamp[TIME_STAMP_LENGTH] = {0xE8, 0x07, 2, 29, 23, 59, 58, 0};
    zel_look_input input = test_input(lut, GRID, "CAMB-002");
    zel_result* first = NULL;
    zel_result* second = NULL;
    zel_result* old_host = NULL;
    uint32_t size = 0, second_size = 0;
    const uint8_t* data;

    CHECK(strcmp(zel_version(), ZEL_VERSION_STRING) == 0);
    input.created = "2024-02-29 23:59:58";
    CHECK(zel_make_look(generator, &input, &first) == ZEL_OK);
    CHECK(zel_make_look(generator, &input, &second) == ZEL_OK);
    if (first != NULL && second != NULL) {
        data = zel_result_data(first, &size);
        CHECK(memcmp(data + TIME_STAMP_OFFSET, stamp, TIME_STAMP_LENGTH) == 0);
        CHECK(memcmp(data, zel_result_data(second, &second_size), size) == 0);
        CHECK(size == second_size);
    }
    zel_result_free(second);
    second = NULL;
    /* The members before `created` alone; what lies after them is not read. */
    input.created = "not a time";
    input.struct_size = (uint32_t)offsetof(zel_look_input, created);
    CHECK(zel_make_look(generator, &input, &old_host) == ZEL_OK);
    CHECK(old_host != NULL && first != NULL && same_look(first, old_host));
    input.struct_size = sizeof input;
    CHECK(zel_make_look(generator, &input, &second) == ZEL_ERROR_ARGUMENT);
    CHECK(contains(zel_generator_message(generator), "created"));
    input.created = "2023-02-29 12:00:00";
    CHECK(zel_make_look(generator, &input, &second) == ZEL_ERROR_ARGUMENT);
    zel_result_free(first);
    zel_result_free(old_host);
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
    refuses_bad_calls(generator, lut);
    runs_asynchronous_jobs(generator, lut);
    makes_the_extended_layout(generator, lut);
    stamps_the_time_the_host_sets(generator, lut);
    reads_cube_files();
    zel_generator_destroy(generator);
    zel_generator_destroy(NULL);
    free(lut);
    return finish("c_interface_test");
}
