#ifndef ZEL_ENUMS_H
#define ZEL_ENUMS_H

namespace ZelEnum {

// Status of a generator's job, as zel_get_status() and the progress callback report it.
enum ZEL_STATUS : int {
    ZEL_STATUS_NONE = 0,      // constructed, not yet initialised
    ZEL_STATUS_READY = 1,     // initialised, no job has reported yet
    ZEL_STATUS_RUNNING = 2,   // a job is running
    ZEL_STATUS_ERROR = 3,     // the job ended by an error
    ZEL_STATUS_CANCELED = 4,  // the job stopped on a cancel request
    ZEL_STATUS_DONE = 5,      // the job finished all stages
};

// Error values a job stage throws to abort the job. The job reports the value as a
// decimal line on the standard error stream.
enum ZelException : int {
    ZEL_EXCEPTION_LATTICE = 0,   // bad lattice or look input
    ZEL_EXCEPTION_SETTINGS = 1,  // unknown camera model or unsupported selector
    ZEL_EXCEPTION_ENGINE = 4,    // camera processing engine
    ZEL_EXCEPTION_OUTPUT = 5,    // output conversion (look-file body)
};

}  // namespace ZelEnum

#endif  // ZEL_ENUMS_H
