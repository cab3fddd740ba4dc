#include "cube/cube_file.h"

#include <ios>
#include <istream>

namespace zelgen {

zel::io::CubeLut readCubeLut(const std::string& path, StopCheck stop) {
    try {
        // Pipes and process substitutions are read as their writer delivers; devices and
        // folders are refused.
        InputFile file(path, "a .cube file", zel::io::kLargestCubeFile, true, stop);
        InputFileBuffer buffer(file);
        std::istream in(&buffer);
        in.exceptions(std::ios::badbit);  // a read error or a stop reaches the caller as is
        return zel::io::parseCubeStream(in, path);
    } catch (const InputFileError& e) {
        throw zel::io::CubeParseError(path, 0, "", e.reason());
    }
}

}  // namespace zelgen
