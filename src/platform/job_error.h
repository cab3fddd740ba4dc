#ifndef ZEL_PLATFORM_JOB_ERROR_H
#define ZEL_PLATFORM_JOB_ERROR_H

// The one error a job stage throws to abort the job: the stage's error value and a
// sentence that says what went wrong. The job driver catches it, reports the value on
// the console and keeps the sentence for the host.

#include <exception>
#include <string>

#include "zel/enums.h"

namespace zel {

class JobError : public std::exception {
  public:
    JobError(ZelEnum::ZelException code, std::string sentence)
        : code_(code), sentence_(std::move(sentence)) {}

    ZelEnum::ZelException code() const noexcept { return code_; }
    const char* what() const noexcept override { return sentence_.c_str(); }

  private:
    ZelEnum::ZelException code_;
    std::string sentence_;
};

// Shorthands for the four kinds of stage failure.
[[noreturn]] inline void failLattice(const char* sentence) {
    throw JobError(ZelEnum::ZEL_EXCEPTION_LATTICE, sentence);
}
[[noreturn]] inline void failSettings(const char* sentence) {
    throw JobError(ZelEnum::ZEL_EXCEPTION_SETTINGS, sentence);
}
[[noreturn]] inline void failEngine(const char* sentence) {
    throw JobError(ZelEnum::ZEL_EXCEPTION_ENGINE, sentence);
}
[[noreturn]] inline void failOutput(const char* sentence) {
    throw JobError(ZelEnum::ZEL_EXCEPTION_OUTPUT, sentence);
}

}  // namespace zel

#endif  // ZEL_PLATFORM_JOB_ERROR_H
