#include "zelgen/interrupt.h"

#include <csignal>

namespace zelgen {

namespace {

// The only state a signal handler may safely touch.
volatile std::sig_atomic_t interruptFlag = 0;

extern "C" void onInterrupt(int) {
    interruptFlag = 1;
}

}  // namespace

InterruptWatch::InterruptWatch()
    : previousInt_(std::signal(SIGINT, onInterrupt)),
      previousTerm_(std::signal(SIGTERM, onInterrupt)) {}

InterruptWatch::~InterruptWatch() {
    std::signal(SIGINT, previousInt_ == SIG_ERR ? SIG_DFL : previousInt_);
    std::signal(SIGTERM, previousTerm_ == SIG_ERR ? SIG_DFL : previousTerm_);
}

bool InterruptWatch::requested() {
    return interruptFlag != 0;
}

}  // namespace zelgen
