#ifndef ZELGEN_INSPECT_REPORT_H
#define ZELGEN_INSPECT_REPORT_H

// What `zelgen inspect` prints: a plain-text report for people, or JSON for scripts.

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "inspect/look_file_decoder.h"

namespace zelgen {

nlohmann::json lookFileJson(const LookFileInfo& info, const std::string& path);

void printLookFileReport(const LookFileInfo& info, const std::string& path, std::ostream& out);

}  // namespace zelgen

#endif  // ZELGEN_INSPECT_REPORT_H
