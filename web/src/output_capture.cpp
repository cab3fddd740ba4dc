#include "output_capture.h"

namespace zelweb {

OutputCapture::OutputCapture(std::ostream& stream)
    : stream_(stream), previous_(stream.rdbuf(captured_.rdbuf())) {}

OutputCapture::~OutputCapture() {
    stream_.rdbuf(previous_);
}

}  // namespace zelweb
