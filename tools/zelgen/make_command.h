#ifndef ZELGEN_MAKE_COMMAND_H
#define ZELGEN_MAKE_COMMAND_H

// `zelgen make`: looks in (.cube files, other LUT and CDL files, chains, config looks), look
// files out.

#include <string>
#include <vector>

#include "formats/look_reader.h"
#include "zelgen/exit_status.h"
#include "zelgen/look_job.h"

namespace zelgen {

struct MakeOptions {
    std::vector<std::string> inputs;
    std::string output;     // -o: the look file of a single input
    std::string outputDir;  // --out-dir: one look file per input, named after it
    std::string cubeOut;    // --cube-out: the re-indexed look as .cube (single input)
    int gridSize = 0;       // --grid: the look's lattice size (0: the 3D table's own)
    bool chain = false;     // --chain: the inputs compose one look, in the order given
    std::string cdlId;      // --cdl-id: the correction of a CDL collection
    ConfigLook config;      // --ocio-config and the config's names
    bool quiet = false;
    bool verbose = false;  // --verbose: pass the library's own console lines on
    LookJobSettings settings;
};

// Checks the options that CLI11 cannot (combinations, text lengths); "" when usable.
std::string checkMakeOptions(const MakeOptions& options);

int runMake(const MakeOptions& options);

}  // namespace zelgen

#endif  // ZELGEN_MAKE_COMMAND_H
