#include "zelgen/job_errors.h"

#include <charconv>

#include "zel/enums.h"

namespace zelgen {

namespace {

struct ErrorWords {
    int value;
    const char* words;
};

constexpr ErrorWords kJobErrors[] = {
    {ZelEnum::ZEL_EXCEPTION_LATTICE,
     "the look cannot be used (its grid size or its values are not valid)"},
    {ZelEnum::ZEL_EXCEPTION_SETTINGS,
     "the camera model or one of the chosen encodings is not supported"},
    {ZelEnum::ZEL_EXCEPTION_ENGINE, "the camera processing of the look failed"},
    {ZelEnum::ZEL_EXCEPTION_OUTPUT,
     "the look file would exceed the room the camera gives it (try without --long-chain)"},
};

}  // namespace

std::string describeJobError(std::string_view libraryLine) {
    while (!libraryLine.empty() && (libraryLine.back() == '\r' || libraryLine.back() == ' ')) {
        libraryLine.remove_suffix(1);
    }
    int value = -1;
    const char* last = libraryLine.data() + libraryLine.size();
    const auto result = std::from_chars(libraryLine.data(), last, value);
    if (!libraryLine.empty() && result.ec == std::errc() && result.ptr == last) {
        for (const ErrorWords& known : kJobErrors) {
            if (known.value == value) {
                return known.words;
            }
        }
        return "the job failed with error " + std::to_string(value);
    }
    if (libraryLine == "std::bad_alloc") {
        return "there was not enough memory for the job";
    }
    if (libraryLine.empty()) {
        return "the job failed";
    }
    return "the job failed (" + std::string(libraryLine) + ")";
}

}  // namespace zelgen
