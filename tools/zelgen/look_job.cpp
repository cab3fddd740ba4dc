#include "zelgen/look_job.h"

#include <chrono>
#include <cstddef>
#include <cstring>
#include <memory>
#include <thread>
#include <type_traits>

#include "api/look_file_image.h"
#include "zelgen/interrupt.h"
#include "zelgen/job_errors.h"

namespace zelgen {

namespace {

// The room the look file gives each text (the input fields are two bytes wider).
constexpr std::size_t kLookFileNameRoom = 128;
constexpr std::size_t kNoteRoom = 128;
constexpr std::size_t kLookTextRoom = 512;
constexpr std::size_t kHeaderTextRoom = 32;
constexpr std::size_t kHeaderTagRoom = 16;
// The second LUT name: 28 characters in a standard file and in the extended file of a
// first-generation camera body, 59 in the extended files of CAMB-002 and CAMA-001.
constexpr std::size_t kSecondNameRoom = 28;
constexpr std::size_t kSecondNameLongRoom = 59;

constexpr auto kPollInterval = std::chrono::milliseconds(20);

std::size_t secondNameRoom(const LookJobSettings& settings) {
    const bool longNames = settings.model == "CAMB-002" || settings.model == "CAMA-001";
    return settings.extendedJob && longNames ? kSecondNameLongRoom : kSecondNameRoom;
}

template <std::size_t N>
void copyText(char (&field)[N], const std::string& text) {
    const std::size_t length = text.size() < N ? text.size() : N;
    std::memcpy(field, text.data(), length);
}

void fillInput(ZelGenInput& input, const LookJobSettings& settings, const NodeTable& lattice,
               const std::string& lookFileName) {
    input.sourceEncoding = settings.source;
    input.outputCurve = settings.curve;
    input.outputRange = settings.range;
    copyText(input.modelName, settings.model);
    copyText(input.lookFileName, lookFileName);
    copyText(input.fileHeaderText, settings.texts.headerText);
    copyText(input.fileHeaderTag, settings.texts.headerTag);
    copyText(input.lookHeaderText, settings.texts.lookText);
    copyText(input.lookHeaderNote, settings.texts.note);
    // The standard job reads 28 characters of the short field, the extended job the long one.
    copyText(input.metadataName, settings.texts.secondName.substr(0, kSecondNameRoom));
    copyText(input.metadataNameLong, settings.texts.secondName);
    input.gridSize = static_cast<std::uint8_t>(lattice.size());
    input.nodeValues = lattice.data();
    input.flags = (settings.longChain ? 1u << 4 : 0u) | (settings.fullDomain ? 1u << 8 : 0u);
}

bool hasEnded(ZelEnum::ZEL_STATUS status) {
    return status == ZelEnum::ZEL_STATUS_ERROR || status == ZelEnum::ZEL_STATUS_CANCELED ||
           status == ZelEnum::ZEL_STATUS_DONE;
}

// Runs the job asynchronously, drawing the bar and cancelling on Ctrl-C.
template <typename Output>
ZelEnum::ZEL_STATUS runWithProgress(ZelGenerator& generator, ZelGenInput& input, Output& output,
                                    ProgressBar& bar) {
    resetRelayedJobProgress();
    generator.zel_set_callback(&relayJobProgress);
    generator.zel_exec_async(input, output);
    ZelEnum::ZEL_STATUS status = generator.zel_get_status();
    while (!hasEnded(status)) {
        if (InterruptWatch::requested()) {
            // Repeated each round: a cancel that arrives before the job has started is
            // cleared when it starts.
            generator.zel_cancel();
        }
        bar.show(relayedJobProgress(), 100);
        std::this_thread::sleep_for(kPollInterval);
        status = generator.zel_get_status();
    }
    generator.zel_finalize();
    bar.finish();
    return generator.zel_get_status();
}

template <typename Output>
LookJobResult runWith(ZelGenerator& generator, ZelGenInput& input, Output& output,
                      const NodeTable& lattice, const LookJobSettings& settings,
                      const JobWatch& watch) {
    LookJobResult result;
    result.gridSize = lattice.size();
    if (returnsReindexedLook(settings.source)) {
        // The job writes every float of every node; the table is read only when it is done.
        result.reindexedNodes = NodeTable(lattice.size());
        (settings.source == 0 ? output.floatLut : output.floatLutFilm) =
            result.reindexedNodes.data();
    }

    // The library's console lines (section names, the error line) would break the progress
    // bar and a quiet run; the tool reports the outcome in its own words instead.
    if (watch.showLibraryLines) {
        generator.zel_use_standard_console();
    } else {
        generator.zel_set_console(nullptr, nullptr);
    }
    generator.zel_initialize();
    if (!generator.zel_set_time_stamp(settings.created.c_str())) {
        result.end = LookJobResult::End::failed;
        result.failure = "the time stamp \"" + settings.created + "\" is not a date and time";
        return result;
    }
    ZelEnum::ZEL_STATUS status;
    if (watch.bar != nullptr) {
        status = runWithProgress(generator, input, output, *watch.bar);
    } else {
        generator.zel_exec(input, output);
        status = generator.zel_get_status();
    }
    output.floatLut = nullptr;
    output.floatLutFilm = nullptr;

    const bool stopped = InterruptWatch::requested() ||
                         (watch.stopRequested != nullptr && watch.stopRequested->load());
    if (status == ZelEnum::ZEL_STATUS_CANCELED || (stopped && status == ZelEnum::ZEL_STATUS_DONE)) {
        result.end = LookJobResult::End::cancelled;
        return result;
    }
    if (status != ZelEnum::ZEL_STATUS_DONE) {
        result.end = LookJobResult::End::failed;
        result.failure =
            status == ZelEnum::ZEL_STATUS_ERROR
                ? describeJobError(generator.zel_get_last_error(nullptr, 0), settings.longChain)
                : describeJobStatus(status);
        return result;
    }
    if (!zel::takeLookFile(output, result.lookFile)) {
        result.end = LookJobResult::End::failed;
        result.failure = describeJobError(ZelEnum::ZEL_EXCEPTION_OUTPUT, settings.longChain);
        return result;
    }
    result.cubeHeader.assign(output.cubeHeader,
                             strnlen(output.cubeHeader, sizeof output.cubeHeader));
    result.end = LookJobResult::End::done;
    return result;
}

}  // namespace

std::string checkTextLengths(const LookJobSettings& settings, const std::string& lookFileName) {
    struct Check {
        const char* what;
        const std::string& text;
        std::size_t room;
    };
    const Check checks[] = {
        {"the look file name (the name given with -o)", lookFileName, kLookFileNameRoom},
        {"--note", settings.texts.note, kNoteRoom},
        {"--second-name", settings.texts.secondName, secondNameRoom(settings)},
        {"--look-text", settings.texts.lookText, kLookTextRoom},
        {"--header-text", settings.texts.headerText, kHeaderTextRoom},
        {"--header-tag", settings.texts.headerTag, kHeaderTagRoom},
    };
    for (const Check& check : checks) {
        if (check.text.size() > check.room) {
            return std::string(check.what) + " is " + std::to_string(check.text.size()) +
                   " characters long; the look file has room for " + std::to_string(check.room);
        }
    }
    return "";
}

LookJobResult runLookJob(ZelGenerator& generator, const LookJobSettings& settings,
                         const NodeTable& lattice, const std::string& lookFileName,
                         const JobWatch& watch) {
    ZelGenInput input;
    fillInput(input, settings, lattice, lookFileName);
    if (settings.extendedJob) {
        auto output = std::make_unique<ZelGenOutputExtended>();
        return runWith(generator, input, *output, lattice, settings, watch);
    }
    auto output = std::make_unique<ZelGenOutput>();
    return runWith(generator, input, *output, lattice, settings, watch);
}

}  // namespace zelgen
