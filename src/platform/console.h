#ifndef ZEL_PLATFORM_CONSOLE_H
#define ZEL_PLATFORM_CONSOLE_H

// Where a job's console lines go: the standard output and error streams (the default),
// a host's sink, or nowhere. A job takes its generator's console when it starts, so a
// change while a job runs applies to the next job.

#include <cstddef>
#include <string>

namespace zel {

// stream: 1 for the output stream, 2 for the error stream. `text` holds one whole line
// with its newline and is not NUL-terminated.
using ConsoleSink = void (*)(void* user, int stream, const char* text, std::size_t length);

class Console {
  public:
    enum Stream : int { kOut = 1, kErr = 2 };

    // The standard streams.
    Console() = default;
    // A host's sink; a null sink drops every line.
    Console(ConsoleSink sink, void* user) : kind_(Kind::Sink), sink_(sink), user_(user) {}

    // Writes one line (`line` without its newline) and flushes it.
    void line(Stream stream, const std::string& line) const;

  private:
    enum class Kind { Standard, Sink };
    Kind kind_ = Kind::Standard;
    ConsoleSink sink_ = nullptr;
    void* user_ = nullptr;
};

// The standard streams, for code that runs outside a generator's job.
const Console& standardConsole();

}  // namespace zel

#endif  // ZEL_PLATFORM_CONSOLE_H
