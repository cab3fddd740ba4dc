#include "zelgen/inspect_command.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "inspect/inspect_report.h"
#include "inspect/look_file_decoder.h"
#include "zelgen/exit_status.h"
#include "zelgen/input_file.h"

namespace zelgen {

int runInspect(const std::string& path, bool json) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeLookFile(path);
    } catch (const InputFileError& e) {
        std::cerr << "zelgen: " << e.what() << std::endl;
        return kExitFailed;
    }
    try {
        const LookFileInfo info = decodeLookFile(bytes);
        if (json) {
            std::cout << lookFileJson(info, path)
                             .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                      << std::endl;
        } else {
            printLookFileReport(info, path, std::cout);
        }
        if (info.problems.empty()) {
            return kExitSuccess;
        }
        // The report shows every problem; standard error says why the exit status is 1.
        std::cerr << "zelgen: " << path << ": the look file is damaged: " << info.problems.front();
        if (info.problems.size() > 1) {
            std::cerr << " (and " << info.problems.size() - 1 << " more problem"
                      << (info.problems.size() > 2 ? "s" : "") << ", listed in the report)";
        }
        std::cerr << std::endl;
        return kExitFailed;
    } catch (const zel::DecodeError& e) {
        std::cerr << "zelgen: " << path << ": " << e.what() << std::endl;
        return kExitFailed;
    }
}

}  // namespace zelgen
