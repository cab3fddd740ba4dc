#include "formats/look_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "cube/cube_file.h"
#include "cube_reader/look_lattice.h"
#if defined(ZELGEN_HAVE_OCIO)
#include "formats/ocio_look_reader.h"
#endif

namespace zelgen {

namespace {

// OpenColorIO reads a whole file into memory, several times its size, before it can say
// anything about it; a file larger than any look table is refused before it is handed on.
// A 3D table of 129 points an axis fits in every text form.
constexpr std::uintmax_t kLargestTransformFile = std::uintmax_t{256} << 20;

const char kWithoutOcio[] = "and this zelgen was built without it (build option ZEL_WITH_OCIO)";

std::string kindOf(const std::string& path) {
    std::string kind = std::filesystem::path(path).extension().string();
    std::transform(kind.begin(), kind.end(), kind.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return kind;
}

bool isKnownKind(const std::string& kind) {
    const std::vector<std::string>& kinds = readableLookKinds();
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

std::string kindList() {
    std::string list;
    for (const std::string& known : readableLookKinds()) {
        list += (list.empty() ? "" : " ") + known;
    }
    return list;
}

void checkKind(const std::string& path) {
    if (!isKnownKind(kindOf(path))) {
        throw zel::io::CubeParseError(
            path, 0, "",
            "a " + kindOf(path) + " file is not a look zelgen reads; it reads " + kindList());
    }
}

// A file of no known kind is read as .cube text, as pipes and process substitutions
// (which have no name ending) are; one that is not names the kinds that are read.
LookRead readAsCube(const std::string& path, int gridSize, StopCheck stop) {
    const std::string kind = kindOf(path);
    try {
        return {zel::io::lookLattice(readCubeLut(path, stop), gridSize), ""};
    } catch (const zel::io::CubeParseError& e) {
        if (kind.empty() || kind == ".cube") {
            throw;
        }
        throw zel::io::CubeParseError(e.fileName(), e.lineNumber(), e.lineText(),
                                      "a " + kind + " file is not a look zelgen reads (it reads " +
                                          kindList() + "), and read as .cube: " + e.reason());
    }
}

// Only a regular file of a bounded size is handed on: a folder, a FIFO or a device would
// make the reader wait or read without end.
void checkReadable(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        throw zel::io::CubeParseError(path, 0, "", "cannot open the file (it does not exist)");
    }
    if (std::filesystem::is_directory(status)) {
        throw zel::io::CubeParseError(path, 0, "", "this is a folder, not a look file");
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw zel::io::CubeParseError(path, 0, "", "this is not a regular file");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        throw zel::io::CubeParseError(path, 0, "",
                                      "cannot read the file (" + error.message() + ")");
    }
    if (size > kLargestTransformFile) {
        throw zel::io::CubeParseError(path, 0, "",
                                      "the file is " + std::to_string(size >> 20) +
                                          " MB, larger than any look table (at most " +
                                          std::to_string(kLargestTransformFile >> 20) +
                                          " MB are read)");
    }
}

}  // namespace

const std::vector<std::string>& readableLookKinds() {
    static const std::vector<std::string> kinds{".cube",  ".3dl",   ".clf", ".ctf", ".csp",
                                                ".spi3d", ".spi1d", ".cc",  ".ccc", ".cdl"};
    return kinds;
}

LookRead readLook(const LookRequest& request) {
    const bool single = !request.chain && !request.config.used() && request.files.size() == 1;
    const std::string kind = single ? kindOf(request.files[0]) : "";
    if (single && (kind == ".cube" || !isKnownKind(kind))) {
        try {
            return readAsCube(request.files[0], request.gridSize, request.stop);
        } catch (const zel::io::CubeParseError& e) {
            // A valid .cube file of another dialect is a transform OpenColorIO evaluates.
            if (e.scope() != zel::io::CubeParseError::Scope::otherDialect || kind != ".cube") {
                throw;
            }
            if (openColorIoVersion().empty()) {
                throw zel::io::CubeParseError(
                    e.fileName(), e.lineNumber(), e.lineText(),
                    e.reason() + "; other .cube dialects are read through OpenColorIO, " +
                        kWithoutOcio);
            }
        }
    }
    if (request.config.used()) {
        checkReadable(request.config.path);
    }
    for (const std::string& file : request.files) {
        checkKind(file);
        checkReadable(file);
    }
#if defined(ZELGEN_HAVE_OCIO)
    return readThroughOcio(request);
#else
    const std::string& named = request.files.empty() ? request.config.path : request.files[0];
    throw zel::io::CubeParseError(named, 0, "",
                                  std::string(request.config.used() ? "colour-management configs"
                                              : request.chain       ? "chains of looks"
                                                                    : kindOf(named) + " files") +
                                      " are read through OpenColorIO, " + kWithoutOcio);
#endif
}

std::string openColorIoVersion() {
#if defined(ZELGEN_HAVE_OCIO)
    return "OpenColorIO " + ocioLibraryVersion();
#else
    return "";
#endif
}

}  // namespace zelgen
