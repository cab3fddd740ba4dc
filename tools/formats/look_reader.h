#ifndef ZELGEN_LOOK_READER_H
#define ZELGEN_LOOK_READER_H

// Every look the tool reads, as the lattice a job takes. A .cube file goes through the
// tool's own .cube reader (strict, fast, exact); the other kinds, the .cube files of other
// dialects, chains of files and a colour-management config's looks and views are evaluated
// by OpenColorIO on the look's lattice, where the build has it.
//
// Files that cannot become a look raise zel::io::CubeParseError: the file, the line where one is
// known, and the reason.

#include <string>
#include <vector>

#include "cube_reader/cube_parser.h"
#include "cube_reader/node_table.h"
#include "zelgen/input_file.h"

namespace zelgen {

// The grid size of a look that has no 3D table of its own (1D tables, CDLs, analytic
// transforms) unless one is asked for.
constexpr int kDefaultLookGrid = 33;

// A transform of a colour-management config, applied to the camera's source encoding.
struct ConfigLook {
    std::string path;        // the config file
    std::string colorSpace;  // the config's name of the look's source encoding
    std::string look;        // a look of the config, applied in the source encoding
    std::string display;     // with `view`: a view, from the source encoding to the display
    std::string view;

    bool used() const { return !path.empty(); }
};

struct LookRequest {
    std::vector<std::string> files;  // one look, or the files of a chain in the order applied
    bool chain = false;              // compose `files` into one look
    int gridSize = 0;                // the lattice's size; 0: the 3D table's own
    std::string cdlId;               // the correction of a CDL collection; "": its first
    ConfigLook config;
    StopCheck stop = nullptr;  // asked between pieces of a .cube read; true stops it
};

struct LookRead {
    zel::io::NodeTable lattice;
    // What the reader chose that the user should hear ("" when nothing): which correction of
    // a CDL collection became the look.
    std::string remark;
};

LookRead readLook(const LookRequest& request);

// The file name endings read, lower case with the dot, in the order the words list them.
const std::vector<std::string>& readableLookKinds();

// "OpenColorIO 2.1.2" when the build reads through it, "" when it was built without.
std::string openColorIoVersion();

}  // namespace zelgen

#endif  // ZELGEN_LOOK_READER_H
