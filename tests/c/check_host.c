/* The check as a C host uses it: a look made through the C interface is sound, with and
 * without its look; one flipped byte makes it damaged; bytes that are no look file and a
 * look of another grid are refused with a reason. The report's JSON is written for the
 * comparison with zelgen check --json (check_matches_zelgen.cmake).
 *   check_host LOOK.cube OUT.zel OUT.json */

#include "c_test_support.h"

static int contains(const char* text, const char* part) {
    return text != NULL && strstr(text, part) != NULL;
}

static int write_bytes(const char* path, const void* bytes, size_t size) {
    FILE* file = fopen(path, "wb");
    int ok;
    if (file == NULL) {
        return 0;
    }
    ok = fwrite(bytes, 1, size, file) == size;
    return fclose(file) == 0 && ok;
}

static void refuses_what_is_no_check(const uint8_t* data, uint32_t size, const float* rows,
                                     int32_t grid) {
    static const uint8_t not_a_look[64] = {0};
    zel_check_result* result = (zel_check_result*)1;
    char message[256];

    CHECK(zel_check(not_a_look, sizeof not_a_look, NULL, 0, 0, &result, message, sizeof message) ==
          ZEL_ERROR_NOT_LOOK_FILE);
    CHECK(result == NULL && strlen(message) > 0);
    CHECK(zel_check(data, size, rows, grid + 1, ZEL_ORDER_RED_FASTEST, &result, message,
                    sizeof message) == ZEL_ERROR_ARGUMENT);
    CHECK(result == NULL && contains(message, "look grid"));
    CHECK(zel_check(data, size, rows, grid, 7, &result, message, sizeof message) ==
          ZEL_ERROR_ARGUMENT);
    CHECK(zel_check(NULL, 0, NULL, 0, 0, &result, NULL, 0) == ZEL_ERROR_ARGUMENT);
    CHECK(zel_check(data, size, NULL, 0, 0, NULL, NULL, 0) == ZEL_ERROR_ARGUMENT);
    /* The accessors answer a null result. */
    CHECK(zel_check_sound(NULL) == 0 && zel_check_damaged(NULL) == 0);
    CHECK(strcmp(zel_check_verdict(NULL), "") == 0 && strcmp(zel_check_json(NULL), "") == 0);
    zel_check_result_free(NULL);
}

int main(int argc, char** argv) {
    float* rows = NULL;
    int32_t grid = 0;
    char message[256];
    zel_generator* generator = NULL;
    zel_result* made = NULL;
    zel_check_result* sound = NULL;
    zel_check_result* unlooked = NULL;
    zel_check_result* damaged = NULL;
    zel_look_input input;
    const uint8_t* data;
    uint8_t* flipped;
    uint32_t size = 0;

    if (argc != 4) {
        fprintf(stderr, "usage: check_host LOOK.cube OUT.zel OUT.json\n");
        return 2;
    }
    if (zel_cube_read(argv[1], &rows, &grid, message, sizeof message) != ZEL_OK ||
        zel_generator_create(&generator) != ZEL_OK) {
        fprintf(stderr, "check_host: %s\n", message);
        return 2;
    }
    input = test_input(rows, grid, "CAMB-001");
    input.created = "2026-01-02 03:04:05";
    CHECK(zel_make_look(generator, &input, &made) == ZEL_OK);
    if (made == NULL) {
        return 1;
    }
    data = zel_result_data(made, &size);
    CHECK(write_bytes(argv[2], data, size));

    CHECK(zel_check(data, size, rows, grid, ZEL_ORDER_RED_FASTEST, &sound, message,
                    sizeof message) == ZEL_OK);
    CHECK(zel_check_sound(sound) == 1 && zel_check_damaged(sound) == 0);
    CHECK(contains(zel_check_verdict(sound), "faithfully"));
    CHECK(contains(zel_check_json(sound), "\"fidelity\""));
    CHECK(write_bytes(argv[3], zel_check_json(sound), strlen(zel_check_json(sound))));

    CHECK(zel_check(data, size, NULL, 0, 0, &unlooked, NULL, 0) == ZEL_OK);
    CHECK(zel_check_sound(unlooked) == 1 && !contains(zel_check_json(unlooked), "\"fidelity\""));

    /* A word of the last register record. */
    flipped = (uint8_t*)malloc(size);
    if (flipped != NULL) {
        memcpy(flipped, data, size);
        flipped[size - 40] ^= 0xFF;
        CHECK(zel_check(flipped, size, rows, grid, ZEL_ORDER_RED_FASTEST, &damaged, NULL, 0) ==
              ZEL_OK);
        CHECK(zel_check_sound(damaged) == 0 && zel_check_damaged(damaged) == 1);
        CHECK(contains(zel_check_verdict(damaged), "DAMAGED"));
        free(flipped);
    }

    refuses_what_is_no_check(data, size, rows, grid);

    zel_check_result_free(damaged);
    zel_check_result_free(unlooked);
    zel_check_result_free(sound);
    zel_result_free(made);
    zel_generator_destroy(generator);
    zel_cube_free(rows);
    if (failures > 0) {
        fprintf(stderr, "%d checks failed\n", failures);
        return 1;
    }
    return 0;
}
