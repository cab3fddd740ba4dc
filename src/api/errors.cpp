#include "zel/errors.h"

#include <cstddef>

namespace {

struct CodeWords {
    int code;
    const char* words;
};

constexpr CodeWords kStatusWords[] = {
    {ZelEnum::ZEL_STATUS_NONE, "the generator is not initialised"},
    {ZelEnum::ZEL_STATUS_READY, "the generator is ready for a job"},
    {ZelEnum::ZEL_STATUS_RUNNING, "a job is running"},
    {ZelEnum::ZEL_STATUS_ERROR, "the job ended by an error"},
    {ZelEnum::ZEL_STATUS_CANCELED, "the job was cancelled"},
    {ZelEnum::ZEL_STATUS_DONE, "the job finished"},
};

constexpr CodeWords kErrorWords[] = {
    {ZelEnum::ZEL_ERROR_NONE, "no error"},
    {ZelEnum::ZEL_EXCEPTION_LATTICE,
     "the look cannot be used (its grid size or its values are not valid)"},
    {ZelEnum::ZEL_EXCEPTION_SETTINGS,
     "the camera model or one of the chosen encodings is not supported"},
    {ZelEnum::ZEL_EXCEPTION_ENGINE, "the camera processing of the look failed"},
    {ZelEnum::ZEL_EXCEPTION_OUTPUT,
     "the look would not fit the room the camera gives it in this look file layout"},
    {ZelEnum::ZEL_ERROR_OUT_OF_MEMORY, "there was not enough memory for the job"},
    {ZelEnum::ZEL_ERROR_OUT_OF_RANGE,
     "a value of the job lies outside what the look file can hold"},
    {ZelEnum::ZEL_ERROR_LENGTH, "the job needs a buffer larger than the library can make"},
    {ZelEnum::ZEL_ERROR_UNEXPECTED, "the job failed unexpectedly"},
};

template <std::size_t N>
const char* find(const CodeWords (&table)[N], int code, const char* otherwise) {
    for (const CodeWords& entry : table) {
        if (entry.code == code) {
            return entry.words;
        }
    }
    return otherwise;
}

}  // namespace

const char* zel_status_text(ZelEnum::ZEL_STATUS status) noexcept {
    return find(kStatusWords, static_cast<int>(status), "the status is not one the library knows");
}

const char* zel_job_error_text(int code) noexcept {
    return find(kErrorWords, code, "the error code is not one the library knows");
}

// The job's words under their earlier name, for hosts built against a header that declared
// it (zel/errors.h now names it zel_job_error_text). This file does not see the C
// interface's zel_error_text, whose linkage and codes differ.
ZEL_API const char* zel_error_text(int code) noexcept;

const char* zel_error_text(int code) noexcept {
    return zel_job_error_text(code);
}
