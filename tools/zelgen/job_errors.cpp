#include "zelgen/job_errors.h"

#include "zel/errors.h"

namespace zelgen {

namespace {

// What a zelgen user can do about an error, by code; codes without advice have none.
struct Advice {
    int code;
    const char* words;
};

constexpr Advice kAdvice[] = {
    {ZelEnum::ZEL_EXCEPTION_LATTICE, "check that the .cube file is a complete 3D LUT"},
    {ZelEnum::ZEL_EXCEPTION_SETTINGS, "check --camera, --source, --output and --range"},
    {ZelEnum::ZEL_EXCEPTION_ENGINE, "check that the look's values are within the camera's range"},
    {ZelEnum::ZEL_ERROR_OUT_OF_MEMORY, "close other programs or make fewer looks at once"},
};

constexpr char kLongChainAdvice[] = "try without --long-chain";

}  // namespace

std::string describeJobStatus(ZelEnum::ZEL_STATUS status) {
    return zel_status_text(status);
}

std::string describeJobError(int code, bool longChain) {
    std::string words = zel_job_error_text(code);
    if (code == ZelEnum::ZEL_EXCEPTION_OUTPUT && longChain) {
        return words + "; " + kLongChainAdvice;
    }
    for (const Advice& advice : kAdvice) {
        if (advice.code == code) {
            return words + "; " + advice.words;
        }
    }
    return words;
}

}  // namespace zelgen
