#ifndef ZELGEN_LIBRARY_ERROR_TAP_H
#define ZELGEN_LIBRARY_ERROR_TAP_H

// A failed job tells what went wrong only by one line on standard error (its error value,
// or an exception's text). While a tap exists it stands in for std::cerr's buffer: every
// byte still reaches standard error at once, and the tap keeps the last complete line each
// thread wrote, so the tool can follow the library's line with plain words.

#include <map>
#include <mutex>
#include <streambuf>
#include <string>
#include <thread>

namespace zelgen {

class LibraryErrorTap : public std::streambuf {
  public:
    LibraryErrorTap();
    ~LibraryErrorTap() override;
    LibraryErrorTap(const LibraryErrorTap&) = delete;
    LibraryErrorTap& operator=(const LibraryErrorTap&) = delete;

    // The last complete line `thread` wrote since the previous call; "" when none.
    std::string takeLastLine(std::thread::id thread);
    // The last complete line any thread wrote since the previous call of either.
    std::string takeLastLine();

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    void record(const char* s, std::streamsize n);

    std::mutex mutex_;
    std::streambuf* original_;
    std::map<std::thread::id, std::string> partial_;
    std::map<std::thread::id, std::string> last_;
    std::string lastOfAny_;
};

}  // namespace zelgen

#endif  // ZELGEN_LIBRARY_ERROR_TAP_H
