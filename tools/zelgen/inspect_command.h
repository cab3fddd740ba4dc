#ifndef ZELGEN_INSPECT_COMMAND_H
#define ZELGEN_INSPECT_COMMAND_H

// `zelgen inspect`: what a look file holds, as a report or as JSON.

#include <string>

namespace zelgen {

int runInspect(const std::string& path, bool json);

}  // namespace zelgen

#endif  // ZELGEN_INSPECT_COMMAND_H
