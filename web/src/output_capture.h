#ifndef ZEL_WEB_OUTPUT_CAPTURE_H
#define ZEL_WEB_OUTPUT_CAPTURE_H

// What a report prints on the standard streams, kept for the page instead: the reports of
// check and preview are zelgen's own, printed as zelgen prints them.

#include <iostream>
#include <sstream>
#include <string>

namespace zelweb {

class OutputCapture {
  public:
    explicit OutputCapture(std::ostream& stream);
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    std::string text() const { return captured_.str(); }

  private:
    std::ostream& stream_;
    std::ostringstream captured_;
    std::streambuf* previous_;
};

}  // namespace zelweb

#endif  // ZEL_WEB_OUTPUT_CAPTURE_H
