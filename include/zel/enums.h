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

// Error values of the job stages: a stage that cannot go on ends the job with one of
// them. The job reports the value as a decimal line on the standard error stream (or the
// console the host set) and keeps it for ZelGenerator::zel_get_last_error.
enum ZelException : int {
    ZEL_EXCEPTION_LATTICE = 0,   // bad lattice or look input
    ZEL_EXCEPTION_SETTINGS = 1,  // unknown camera model or unsupported selector
    ZEL_EXCEPTION_ENGINE = 4,    // camera processing engine
    ZEL_EXCEPTION_OUTPUT = 5,    // output conversion (look-file body)
};

// The codes ZelGenerator::zel_get_last_error reports: a ZelException value, or one of these
// for a job that ended by a failure that is not a stage's own error value.
enum ZelJobError : int {
    ZEL_ERROR_NONE = -1,            // the last job did not fail, or no job has ended yet
    ZEL_ERROR_OUT_OF_MEMORY = 100,  // not enough memory for the job
    ZEL_ERROR_OUT_OF_RANGE = 101,   // a value or index outside what the look file allows
    ZEL_ERROR_LENGTH = 102,         // a size too large for the job's buffers
    ZEL_ERROR_UNEXPECTED = 103,     // any other failure
};

}  // namespace ZelEnum

#endif  // ZEL_ENUMS_H
