#ifndef ZELGEN_INTERRUPT_H
#define ZELGEN_INTERRUPT_H

// Ctrl-C (and a polite kill) while the tool runs: the handler only raises a flag; the main
// thread sees it, cancels the running jobs and leaves no partial file behind.

namespace zelgen {

// Installs the handlers for SIGINT and SIGTERM for its lifetime.
class InterruptWatch {
  public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // True once an interrupt has arrived.
    static bool requested();

  private:
    using Handler = void (*)(int);
    Handler previousInt_ = nullptr;
    Handler previousTerm_ = nullptr;
};

}  // namespace zelgen

#endif  // ZELGEN_INTERRUPT_H
