#include "zelgen/look_job.h"

#include <chrono>
#include <cstddef>
#include <thread>

#include "zelgen/interrupt.h"
#include "zelgen/job_errors.h"

namespace zelgen {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);

bool hasEnded(ZelEnum::ZEL_STATUS status) {
    return status == ZelEnum::ZEL_STATUS_ERROR || status == ZelEnum::ZEL_STATUS_CANCELED ||
           status == ZelEnum::ZEL_STATUS_DONE;
}

// Runs the job asynchronously, drawing the bar and cancelling on Ctrl-C.
ZelEnum::ZEL_STATUS runWithProgress(ZelGenerator& generator, zel::LookJob& job, ProgressBar& bar) {
    resetRelayedJobProgress();
    generator.zel_set_callback(&relayJobProgress);
    job.start(generator);
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

// The job's console lines (section names, the error line) would break the progress bar and
// a quiet run; the tool reports the outcome in its own words instead.
void chooseConsole(ZelGenerator& generator, const JobWatch& watch) {
    if (watch.showLibraryLines) {
        generator.zel_use_standard_console();
    } else {
        generator.zel_set_console(nullptr, nullptr);
    }
}

// How a job that has ended went, in the result's words.
void describeEnd(ZelGenerator& generator, ZelEnum::ZEL_STATUS status, const zel::LookJob& job,
                 const LookJobSettings& settings, const JobWatch& watch, LookJobResult& result) {
    const bool stopped = InterruptWatch::requested() ||
                         (watch.stopRequested != nullptr && watch.stopRequested->load());
    if (status == ZelEnum::ZEL_STATUS_CANCELED || (stopped && status == ZelEnum::ZEL_STATUS_DONE)) {
        result.end = LookJobResult::End::cancelled;
        return;
    }
    if (status != ZelEnum::ZEL_STATUS_DONE) {
        result.end = LookJobResult::End::failed;
        result.failure =
            status == ZelEnum::ZEL_STATUS_ERROR
                ? describeJobError(generator.zel_get_last_error(nullptr, 0), settings.longChain)
                : describeJobStatus(status);
        return;
    }
    if (!job.takeLookFile(result.lookFile)) {
        result.end = LookJobResult::End::failed;
        result.failure = describeJobError(ZelEnum::ZEL_EXCEPTION_OUTPUT, settings.longChain);
        return;
    }
    result.cubeHeader = job.cubeHeader();
    result.end = LookJobResult::End::done;
}

const char* optionOf(zel::LookText text) {
    switch (text) {
        case zel::LookText::name:
            return "the look file name (the name given with -o)";
        case zel::LookText::note:
            return "--note";
        case zel::LookText::secondName:
            return "--second-name";
        case zel::LookText::lookText:
            return "--look-text";
        case zel::LookText::headerText:
            return "--header-text";
        case zel::LookText::headerTag:
            return "--header-tag";
    }
    return "a text";
}

}  // namespace

std::string checkTextLengths(const LookJobSettings& settings, const std::string& lookFileName) {
    const zel::CameraModel* model = zel::findCameraModel(settings.model);
    if (model == nullptr) {
        return "";  // the job names the model it does not know
    }
    const std::optional<zel::TextTooLong> tooLong =
        zel::findTextTooLong(*model, settings, lookFileName);
    if (!tooLong) {
        return "";
    }
    return std::string(optionOf(tooLong->text)) + " is " + std::to_string(tooLong->length) +
           " characters long; the look file has room for " + std::to_string(tooLong->room);
}

LookJobResult runLookJob(ZelGenerator& generator, const LookJobSettings& settings,
                         const zel::io::NodeTable& lattice, const std::string& lookFileName,
                         const JobWatch& watch, bool keepReindexedLook) {
    LookJobResult result;
    result.gridSize = lattice.size();
    if (keepReindexedLook && returnsReindexedLook(settings.source)) {
        // The job writes every float of every node; the table is read only when it is done.
        result.reindexedNodes = zel::io::NodeTable(lattice.size());
    }
    zel::LookJob job(settings, lookFileName, lattice.size(), lattice.data(),
                     result.reindexedNodes.data());
    chooseConsole(generator, watch);
    if (!job.prepare(generator)) {
        result.end = LookJobResult::End::failed;
        result.failure = "the time stamp \"" + settings.created + "\" is not a date and time";
        return result;
    }
    ZelEnum::ZEL_STATUS status;
    if (watch.bar != nullptr) {
        status = runWithProgress(generator, job, *watch.bar);
    } else {
        job.run(generator);
        status = generator.zel_get_status();
    }
    describeEnd(generator, status, job, settings, watch, result);
    return result;
}

}  // namespace zelgen
