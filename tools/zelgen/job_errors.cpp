#include "zelgen/job_errors.h"

#include <charconv>

namespace zelgen {

namespace {

struct Words {
    int value;
    const char* words;
};

constexpr Words kStatusWords[] = {
    {ZelEnum::ZEL_STATUS_NONE, "the job was not started: the generator was not made ready"},
    {ZelEnum::ZEL_STATUS_READY, "the job did not start"},
    {ZelEnum::ZEL_STATUS_RUNNING, "the job did not finish"},
    {ZelEnum::ZEL_STATUS_ERROR, "the job ended by an error"},
    {ZelEnum::ZEL_STATUS_CANCELED, "the job was cancelled"},
    {ZelEnum::ZEL_STATUS_DONE, "the job finished"},
};

constexpr Words kExceptionWords[] = {
    {ZelEnum::ZEL_EXCEPTION_LATTICE,
     "the look cannot be used: its grid size or its values are not valid; check that the "
     ".cube file is a complete 3D LUT"},
    {ZelEnum::ZEL_EXCEPTION_SETTINGS,
     "this camera does not support the chosen settings; check --camera, --source, --output "
     "and --range"},
    {ZelEnum::ZEL_EXCEPTION_ENGINE,
     "the camera processing of the look failed; check that the look's values are within the "
     "camera's range"},
    {ZelEnum::ZEL_EXCEPTION_OUTPUT,
     "the look file would exceed the room the camera gives it; this camera and look file "
     "layout cannot hold the look"},
};

constexpr char kLongChainHint[] =
    "the look file would exceed the room the camera gives it; try without --long-chain";

// The texts of the standard exceptions a job lets pass, and the driver's own line.
constexpr struct {
    const char* line;
    const char* words;
} kLineWords[] = {
    {"std::bad_alloc",
     "there was not enough memory for the job; close other programs or make fewer looks at "
     "once"},
    {"Unexpected Error", "the job failed in a way the library does not name"},
    {"Unknown exception", "the job failed in a way the library does not name"},
};

const char* find(const Words* table, std::size_t count, int value) {
    for (std::size_t i = 0; i < count; ++i) {
        if (table[i].value == value) {
            return table[i].words;
        }
    }
    return nullptr;
}

}  // namespace

std::string describeJobStatus(ZelEnum::ZEL_STATUS status) {
    const char* words =
        find(kStatusWords, sizeof kStatusWords / sizeof kStatusWords[0], static_cast<int>(status));
    return words != nullptr ? words
                            : "the job ended in a state the tool does not know (status " +
                                  std::to_string(static_cast<int>(status)) + ")";
}

std::string describeJobException(int value, bool longChain) {
    if (value == ZelEnum::ZEL_EXCEPTION_OUTPUT && longChain) {
        return kLongChainHint;
    }
    const char* words =
        find(kExceptionWords, sizeof kExceptionWords / sizeof kExceptionWords[0], value);
    return words != nullptr ? words
                            : "the job failed for a reason the tool does not know (error value " +
                                  std::to_string(value) + ")";
}

std::string describeJobError(std::string_view libraryLine, bool longChain) {
    while (!libraryLine.empty() && (libraryLine.back() == '\r' || libraryLine.back() == ' ')) {
        libraryLine.remove_suffix(1);
    }
    int value = -1;
    const char* last = libraryLine.data() + libraryLine.size();
    const auto result = std::from_chars(libraryLine.data(), last, value);
    if (!libraryLine.empty() && result.ec == std::errc() && result.ptr == last) {
        return describeJobException(value, longChain);
    }
    for (const auto& known : kLineWords) {
        if (libraryLine == known.line) {
            return known.words;
        }
    }
    if (libraryLine.empty()) {
        return "the job failed without saying why";
    }
    return "the job failed inside the library (" + std::string(libraryLine) + ")";
}

}  // namespace zelgen
