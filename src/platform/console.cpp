#include "platform/console.h"

#include <iostream>

namespace zel {

void Console::line(Stream stream, const std::string& line) const {
    // One insertion per line, so that lines of concurrent jobs do not mix.
    const std::string text = line + "\n";
    if (kind_ == Kind::Standard) {
        std::ostream& to = stream == kErr ? std::cerr : std::cout;
        to << text << std::flush;
    } else if (sink_ != nullptr) {
        sink_(user_, stream, text.data(), text.size());
    }
}

const Console& standardConsole() {
    static const Console kStandard;
    return kStandard;
}

}  // namespace zel
