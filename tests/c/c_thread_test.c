/* Two generators making looks on two threads at once, and a job cancelled from another
 * thread while that thread also polls its status. Built and run under ThreadSanitizer. */

#include <pthread.h>

#include "c_test_support.h"

#define GRID 9
#define LOOKS_PER_THREAD 3

struct worker {
    pthread_t thread;
    const float* lut;
    const char* camera;
    const zel_result* reference;
    int made;
    int same;
};

static void* make_looks(void* argument) {
    struct worker* worker = (struct worker*)argument;
    zel_generator* generator = NULL;
    zel_look_input input = test_input(worker->lut, GRID, worker->camera);
    int i;
    if (zel_generator_create(&generator) != ZEL_OK) {
        return NULL;
    }
    for (i = 0; i < LOOKS_PER_THREAD; ++i) {
        zel_result* result = NULL;
        if (zel_make_look(generator, &input, &result) == ZEL_OK) {
            ++worker->made;
            worker->same += same_look(result, worker->reference);
        }
        zel_result_free(result);
    }
    zel_generator_destroy(generator);
    return NULL;
}

static void* cancel_soon(void* argument) {
    zel_generator* generator = (zel_generator*)argument;
    int32_t status = zel_generator_status(generator);
    while (status != ZEL_JOB_RUNNING && status != ZEL_JOB_CANCELLED && status != ZEL_JOB_DONE) {
        status = zel_generator_status(generator);
    }
    zel_generator_cancel(generator);
    return NULL;
}

int main(void) {
    float* lut = make_test_lut(GRID);
    zel_generator* generator = NULL;
    zel_result* standard = NULL;
    zel_result* extended = NULL;
    zel_result* result = NULL;
    struct worker workers[2];
    pthread_t canceller;
    zel_look_input input;
    int i;

    CHECK(lut != NULL && zel_generator_create(&generator) == ZEL_OK);
    if (lut == NULL || generator == NULL) {
        return finish("c_thread_test");
    }
    input = test_input(lut, GRID, "CAMB-001");
    CHECK(zel_make_look(generator, &input, &standard) == ZEL_OK);
    input = test_input(lut, GRID, "CAMB-002");
    CHECK(zel_make_look(generator, &input, &extended) == ZEL_OK);

    memset(workers, 0, sizeof workers);
    for (i = 0; i < 2; ++i) {
        workers[i].lut = lut;
        workers[i].camera = i == 0 ? "CAMB-001" : "CAMB-002";
        workers[i].reference = i == 0 ? standard : extended;
        CHECK(pthread_create(&workers[i].thread, NULL, make_looks, &workers[i]) == 0);
    }
    for (i = 0; i < 2; ++i) {
        pthread_join(workers[i].thread, NULL);
        CHECK(workers[i].made == LOOKS_PER_THREAD && workers[i].same == LOOKS_PER_THREAD);
    }

    /* A cancel from another thread ends the job at its next stage end, or finds it done. */
    input = test_input(lut, GRID, "CAMB-001");
    CHECK(zel_make_look_async(generator, &input) == ZEL_OK);
    CHECK(pthread_create(&canceller, NULL, cancel_soon, generator) == 0);
    pthread_join(canceller, NULL);
    i = zel_generator_wait(generator, -1, &result);
    CHECK(i == ZEL_ERROR_CANCELLED || i == ZEL_OK);
    CHECK((i == ZEL_OK) == (result != NULL));
    zel_result_free(result);

    /* A cancel before the job function returns is never lost. */
    CHECK(zel_make_look_async(generator, &input) == ZEL_OK);
    CHECK(zel_generator_cancel(generator) == ZEL_OK);
    CHECK(zel_generator_wait(generator, -1, &result) == ZEL_ERROR_CANCELLED);

    /* Destroyed with a job running: the job is cancelled and waited for. */
    CHECK(zel_make_look_async(generator, &input) == ZEL_OK);
    zel_generator_destroy(generator);

    zel_result_free(standard);
    zel_result_free(extended);
    free(lut);
    return finish("c_thread_test");
}
