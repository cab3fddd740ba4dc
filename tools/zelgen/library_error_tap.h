#ifndef ZELGEN_LIBRARY_ERROR_TAP_H
#define ZELGEN_LIBRARY_ERROR_TAP_H

// The library writes console lines of its own: section names on standard output during an
// extended job, and one line on standard error when a job fails (its error value, or an
// exception's text), which is all a failed job tells of what went wrong. While a tap exists
// it stands in for the buffers of std::cout and std::cerr: it keeps the last complete line
// each thread wrote to std::cerr, so the tool can put the failure in plain words, and it
// passes the library's lines on to the console only when asked to (zelgen --verbose), so
// they break neither the progress bar nor a quiet run.
//
// The tool writes nothing of its own through std::cout or std::cerr while a tap exists.

#include <map>
#include <mutex>
#include <streambuf>
#include <string>
#include <thread>

namespace zelgen {

class LibraryErrorTap : public std::streambuf {
  public:
    explicit LibraryErrorTap(bool passOn = false);
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
    // Standard output's stand-in: passes bytes on or drops them.
    class Passage : public std::streambuf {
      public:
        Passage(std::streambuf* original, bool passOn, std::mutex& mutex)
            : original_(original), passOn_(passOn), mutex_(mutex) {}
        std::streambuf* original() const { return original_; }

      protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* s, std::streamsize n) override;
        int sync() override;

      private:
        std::streambuf* original_;
        bool passOn_;
        std::mutex& mutex_;
    };

    void record(const char* s, std::streamsize n);

    std::mutex mutex_;
    bool passOn_;
    std::streambuf* original_;
    Passage output_;
    std::map<std::thread::id, std::string> partial_;
    std::map<std::thread::id, std::string> last_;
    std::string lastOfAny_;
};

}  // namespace zelgen

#endif  // ZELGEN_LIBRARY_ERROR_TAP_H
