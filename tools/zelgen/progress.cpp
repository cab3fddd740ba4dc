#include "zelgen/progress.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace zelgen {

namespace {

// Written by the job's thread in its callback, read by the main thread that draws the bar.
std::atomic<int> reportedProgress{0};
static_assert(std::atomic<int>::is_always_lock_free, "the callback must never block");

constexpr int kBarWidth = 30;

}  // namespace

void relayJobProgress(int percent, ZelEnum::ZEL_STATUS) {
    reportedProgress.store(percent, std::memory_order_relaxed);
}

int relayedJobProgress() {
    return reportedProgress.load(std::memory_order_relaxed);
}

void resetRelayedJobProgress() {
    reportedProgress.store(0, std::memory_order_relaxed);
}

ProgressBar::ProgressBar(bool wanted, std::string label)
    : active_(wanted && ::isatty(STDERR_FILENO) == 1), label_(std::move(label)) {}

ProgressBar::~ProgressBar() {
    finish();
}

void ProgressBar::show(int done, int total) {
    if (!active_ || done == lastDone_ || total <= 0) {
        return;
    }
    lastDone_ = done;
    const int clamped = done < 0 ? 0 : (done > total ? total : done);
    const int filled = clamped * kBarWidth / total;
    std::string bar = "\r" + label_ + " [";
    bar.append(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
    bar += "] ";
    bar += total == 100 ? std::to_string(clamped) + "%"
                        : std::to_string(clamped) + "/" + std::to_string(total) + " files";
    std::fputs(bar.c_str(), stderr);
    std::fflush(stderr);
}

void ProgressBar::finish() {
    if (!active_) {
        return;
    }
    // Blank the line so that messages after the bar start on a clean line.
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    active_ = false;
}

}  // namespace zelgen
