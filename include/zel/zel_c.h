#ifndef ZEL_ZEL_C_H
#define ZEL_ZEL_C_H

/* The C interface of the zel library: make camera look files from any language that can
 * call C. It is exported from the same shared library as the C++ interface (zel.dll,
 * libzel.so) and needs nothing else: include this header, link the library.
 *
 * Binary interface guarantees
 * - Every function has C linkage and an undecorated name; the names are listed, and
 *   checked, with the library's exports. On 64-bit Windows there is one calling
 *   convention, so a zel.dll built with MinGW-w64 serves a host built with MSVC (and the
 *   other way round); elsewhere the platform's C calling convention applies.
 * - No C++ type and no exception crosses: every function catches everything and answers
 *   with a code (ZEL_OK or a ZEL_ERROR_... value), a null pointer or a status.
 * - Only fixed-width integers (int32_t, uint32_t, uint8_t), float, char and pointers
 *   cross. The one structure, zel_look_input, holds them under the natural alignment of
 *   the platform with no padding; its first member states the size the host compiled
 *   against, so that later versions can add members at its end.
 * - Handles (zel_generator, zel_result) are opaque. Memory the library hands out (a
 *   result, a .cube read into a buffer of the library's) is freed by the library's own
 *   free function, never by the host's free(); memory the host passes in stays the
 *   host's, and the library keeps no pointer into it after a call returns.
 * - Text is NUL-terminated 8-bit text; a file path is passed to the C runtime as it is
 *   (the system's narrow encoding).
 *
 * Threads: different generators may be used from different threads at the same time. One
 * generator runs one job at a time; its functions may be called from any thread, and
 * zel_generator_cancel and zel_generator_status even while another thread waits for its
 * job. A call that would start a second job while one is running or not yet collected
 * answers ZEL_ERROR_BUSY instead of blocking. */

#include <stdint.h>

#include "zel/export.h"
#include "zel/version.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Return codes. zel_error_text gives each in words. */
enum {
    ZEL_OK = 0,
    ZEL_ERROR_ARGUMENT = 1,         /* a null pointer, an unknown value, a text too long */
    ZEL_ERROR_BUSY = 2,             /* the generator already has a job */
    ZEL_ERROR_NO_JOB = 3,           /* no asynchronous job to wait for */
    ZEL_ERROR_TIMEOUT = 4,          /* the job is still running */
    ZEL_ERROR_CANCELLED = 5,        /* the job stopped on a cancel request */
    ZEL_ERROR_JOB_FAILED = 6,       /* the library could not make the look file */
    ZEL_ERROR_FILE = 7,             /* a file cannot be opened */
    ZEL_ERROR_CUBE = 8,             /* a .cube file cannot be read as a 3D LUT */
    ZEL_ERROR_BUFFER_TOO_SMALL = 9, /* the caller's buffer cannot hold the result */
    ZEL_ERROR_NO_MEMORY = 10,       /* memory ran out */
    ZEL_ERROR_THREAD = 11,          /* the job's thread could not be started */
    ZEL_ERROR_INTERNAL = 12,        /* an unexpected fault inside the library */
    ZEL_ERROR_NOT_LOOK_FILE = 13    /* the bytes are not a look file that can be read */
};

/* Job status, as zel_generator_status and the progress callback report it. */
enum {
    ZEL_JOB_NONE = 0,      /* no job has run on the generator yet */
    ZEL_JOB_READY = 1,     /* a job has started and not yet reported */
    ZEL_JOB_RUNNING = 2,   /* a job is running */
    ZEL_JOB_FAILED = 3,    /* the job ended by an error */
    ZEL_JOB_CANCELLED = 4, /* the job stopped on a cancel request */
    ZEL_JOB_DONE = 5       /* the job made its look file */
};

/* The encoding the look was graded for (zel_look_input.source). */
enum {
    ZEL_SOURCE_QENC3 = 0,      /* Q-Enc3 with Q-Prims3 */
    ZEL_SOURCE_QENC3_FILM = 1, /* Q-Enc3 with Q-Prims3.Film */
    ZEL_SOURCE_ACESCC = 2,
    ZEL_SOURCE_ACESCCT = 3
};

/* What the camera records (zel_look_input.output and .range). */
enum { ZEL_OUTPUT_REC709 = 0, ZEL_OUTPUT_PQ = 1, ZEL_OUTPUT_HLG = 2 };
enum { ZEL_RANGE_FULL = 0, ZEL_RANGE_LEGAL = 1 };

/* The look file's layout (zel_look_input.job): by camera means extended for CAMB-002 and
 * standard for the others. */
enum { ZEL_LAYOUT_BY_CAMERA = 0, ZEL_LAYOUT_STANDARD = 1, ZEL_LAYOUT_EXTENDED = 2 };

/* The order of a LUT's N^3 rows of red, green and blue (zel_look_input.order).
 * Red fastest is the order of a .cube file's data lines: row r + N * (g + N * b) holds the
 * look's output for the input (r, g, b) / (N - 1). Blue fastest: row b + N * (g + N * r). */
enum { ZEL_ORDER_RED_FASTEST = 0, ZEL_ORDER_BLUE_FASTEST = 1 };

/* Option bits (zel_look_input.options). */
#define ZEL_OPTION_LONG_CHAIN 1u  /* the camera's longer processing chain */
#define ZEL_OPTION_FULL_DOMAIN 2u /* cubes span the full code range (standard layout only) */

/* One look to make. Zero-fill it, set struct_size to sizeof(zel_look_input), then the
 * LUT and the camera; zero means Q-Enc3, Rec.709, full range, layout by camera, red
 * fastest, stamped with the local time. The library copies everything it needs before the
 * job function returns. */
typedef struct zel_look_input {
    uint32_t struct_size; /* sizeof(zel_look_input) as the host compiled it */
    int32_t grid_size;    /* N: the LUT has N x N x N rows, 2 to 255 */
    const float* lut;     /* N^3 rows of three finite floats, in `order` */
    int32_t order;        /* ZEL_ORDER_... */
    int32_t source;       /* ZEL_SOURCE_... */
    int32_t output;       /* ZEL_OUTPUT_... */
    int32_t range;        /* ZEL_RANGE_... */
    int32_t job;          /* ZEL_LAYOUT_... */
    uint32_t options;     /* ZEL_OPTION_... bits */
    const char* camera;   /* "CAMB-001", "CAMB-002" or "CAMA-001" */
    /* Texts the look file carries; null or "" for none. A text longer than the room the
     * look file gives it is refused: name 128 bytes, note 128, second_name 28 (59 in the
     * extended files of CAMB-002 and CAMA-001), look_text 512, header_text 32,
     * header_tag 16. */
    const char* name;        /* the look file's name, e.g. "Day_Ext.zel"; names the look */
    const char* note;        /* look header note; its start also names the look's LUT */
    const char* second_name; /* second LUT name of the metadata */
    const char* look_text;   /* free text of the look header */
    const char* header_text; /* text of the file header */
    const char* header_tag;  /* tag of the file header */
    /* The look file's time stamp, "YYYY-MM-DD HH:MM:SS"; null or "" for the local time of
     * the job. A host compiled before this member existed passes a smaller struct_size and
     * gets the local time. */
    const char* created;
} zel_look_input;

typedef struct zel_generator zel_generator;
typedef struct zel_result zel_result;
typedef struct zel_check_result zel_check_result;

/* Progress of a job: `progress` in percent (the last report is 99) and the status
 * (ZEL_JOB_RUNNING, then ZEL_JOB_DONE at the end). Called on the job's thread while the
 * generator holds its lock: it must return promptly, must not throw or jump out, and may
 * call only zel_generator_status and zel_generator_cancel. */
typedef void (*zel_progress_fn)(void* user, int32_t progress, int32_t status);

/* Plain words for a return code; never null, valid for the life of the process. */
ZEL_API const char* zel_error_text(int32_t code);

/* A generator runs one job at a time. zel_generator_destroy cancels a running job and
 * waits for it; it accepts null. */
ZEL_API int32_t zel_generator_create(zel_generator** generator);
ZEL_API void zel_generator_destroy(zel_generator* generator);

/* The progress callback of the jobs started after this call (null for none), with the
 * pointer it gets as `user`. Synchronous jobs call it too, on the caller's thread. */
ZEL_API int32_t zel_generator_set_progress(zel_generator* generator, zel_progress_fn progress,
                                           void* user);

/* A ZEL_JOB_... value; ZEL_JOB_NONE for a null generator. */
ZEL_API int32_t zel_generator_status(zel_generator* generator);

/* Asks the running job to stop at its next stage end; its job function or
 * zel_generator_wait then answers ZEL_ERROR_CANCELLED. A cancel while no job runs has no
 * effect on the next job. */
ZEL_API int32_t zel_generator_cancel(zel_generator* generator);

/* The reason for the last code other than ZEL_OK that a job function or
 * zel_generator_wait of this generator answered, in words; "" when there is none. Valid
 * until the next job function or zel_generator_wait call on the generator. */
ZEL_API const char* zel_generator_message(zel_generator* generator);

/* Makes a look file on the calling thread. On ZEL_OK, *result holds it (free it with
 * zel_result_free); otherwise *result is null. Jobs of this interface print nothing on
 * the console: how a job ended is in the return code and zel_generator_message. */
ZEL_API int32_t zel_make_look(zel_generator* generator, const zel_look_input* input,
                              zel_result** result);

/* Starts making a look file on a thread of the generator's and returns at once. Every
 * asynchronous job is collected with zel_generator_wait before the next job. */
ZEL_API int32_t zel_make_look_async(zel_generator* generator, const zel_look_input* input);

/* Waits up to timeout_ms milliseconds (a negative value: without limit) for the
 * asynchronous job. ZEL_ERROR_TIMEOUT: still running, wait again. Any other code ends the
 * job: ZEL_OK with *result as in zel_make_look, or the job's failure. */
ZEL_API int32_t zel_generator_wait(zel_generator* generator, int32_t timeout_ms,
                                   zel_result** result);

/* A made look: the whole look file, the three header lines of a .cube text, and for
 * Q-Enc3 sources the look re-indexed for the other Q-Enc3 gamut (N^3 rows of three
 * floats in the input's order; null with a count of 0 for the ACES sources). The pointers
 * live as long as the result. */
ZEL_API const uint8_t* zel_result_data(const zel_result* result, uint32_t* size);
ZEL_API const char* zel_result_cube_header(const zel_result* result);
ZEL_API const float* zel_result_reindexed(const zel_result* result, uint32_t* float_count);
ZEL_API int32_t zel_result_grid_size(const zel_result* result);
ZEL_API void zel_result_free(zel_result* result);

/* Reads a .cube file as zelgen reads it into N^3 rows of red, green and blue, red fastest
 * (ZEL_ORDER_RED_FASTEST): titles, comments and blank lines anywhere, any blanks between
 * numbers, CR LF, keywords in any letter case, the unit domain spelled out. A 1D shaper
 * before the 3D table (LUT_1D_SIZE, LUT_1D_INPUT_RANGE, DOMAIN_MIN/MAX) is applied as
 * zelgen applies it: the rows are the look sampled onto a grid of the 3D table's size, so
 * a host makes the look file zelgen makes. The grid is 2 to 255 and the file holds all its
 * rows. On failure `message` (when not null) receives the file, the line and the reason,
 * cut to message_capacity bytes with its NUL; nothing is printed. ZEL_ERROR_FILE: the file
 * cannot be opened or read; ZEL_ERROR_CUBE: it cannot become a look (a 1D LUT alone, another
 * input domain without a shaper, a bad number or keyword, rows missing or too many).
 *
 * zel_cube_read allocates the rows; free them with zel_cube_free. zel_cube_read_into
 * fills the caller's buffer of `capacity` floats; when it is too small (a null buffer of
 * capacity 0 asks) the answer is ZEL_ERROR_BUFFER_TOO_SMALL with *grid_size set, and
 * 3 * N^3 floats are needed. */
ZEL_API int32_t zel_cube_read(const char* path, float** rows, int32_t* grid_size, char* message,
                              uint32_t message_capacity);
ZEL_API int32_t zel_cube_read_into(const char* path, float* rows, uint32_t capacity,
                                   int32_t* grid_size, char* message, uint32_t message_capacity);
ZEL_API void zel_cube_free(float* rows);

/* Will the camera show the look? Checks a look file's bytes as `zelgen check` does: every
 * block is decoded and the file is compared with the look file the library makes again with
 * the settings its headers name. With the source look (look_rows: N^3 rows of red, green and
 * blue in `order`, N = grid_size the look grid the file names, as zelgen make's --grid) every
 * word is compared and how closely the camera renders the look is measured; with look_rows
 * null (grid_size and order are then ignored) the words of the look itself cannot be told
 * from damaged ones and the report says so.
 *
 * On ZEL_OK, *result holds the report (free it with zel_check_result_free); otherwise
 * *result is null and `message` (when not null) receives the reason, cut to
 * message_capacity bytes with its NUL. ZEL_ERROR_NOT_LOOK_FILE: the bytes cannot be walked
 * as a look file; ZEL_ERROR_ARGUMENT: a null pointer, a grid other than the file's, an
 * unknown order or a value that is not finite. */
ZEL_API int32_t zel_check(const uint8_t* look_file, uint32_t size, const float* look_rows,
                          int32_t grid_size, int32_t order, zel_check_result** result,
                          char* message, uint32_t message_capacity);

/* 1 when the file is sound (neither damaged nor without colour blocks nor, with the look,
 * outside the limits: zelgen check exits with 0), else 0; 0 for a null result. */
ZEL_API int32_t zel_check_sound(const zel_check_result* result);
/* 1 when the file differs from what the library writes, else 0. */
ZEL_API int32_t zel_check_damaged(const zel_check_result* result);
/* The one verdict in words, and the whole report as the JSON text of `zelgen check --json`;
 * valid as long as the result, "" for a null result. */
ZEL_API const char* zel_check_verdict(const zel_check_result* result);
ZEL_API const char* zel_check_json(const zel_check_result* result);
ZEL_API void zel_check_result_free(zel_check_result* result);

#ifdef __cplusplus
}
#endif

#endif /* ZEL_ZEL_C_H */
