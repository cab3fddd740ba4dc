#ifndef ZEL_PLATFORM_JOB_CANCEL_H
#define ZEL_PLATFORM_JOB_CANCEL_H

// A cancel request seen inside a long stage. Stages end with a cancel check of their own;
// the loops that take long on large grids (a plane of nodes at a time) look at the request
// too, so that a cancel lands within a few milliseconds at any grid size. A stage that
// finds it throws JobCancelled, which the job driver turns into the cancelled end.

#include <atomic>

namespace zel {

struct JobCancelled {};

class CancelCheck {
  public:
    CancelCheck() = default;
    explicit CancelCheck(const std::atomic<bool>* requested) : requested_(requested) {}

    // Throws JobCancelled when a cancel has been requested.
    void operator()() const {
        if (requested_ != nullptr && requested_->load(std::memory_order_relaxed)) {
            throw JobCancelled{};
        }
    }

  private:
    const std::atomic<bool>* requested_ = nullptr;
};

}  // namespace zel

#endif  // ZEL_PLATFORM_JOB_CANCEL_H
