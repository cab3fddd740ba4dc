#ifndef ZELGEN_LOOK_JOB_H
#define ZELGEN_LOOK_JOB_H

// One look through the library: the input record filled from the tool's settings and the
// look's lattice, the job run on a generator, and the look file (and the re-indexed
// look) taken out of the output record.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "cube/node_table.h"
#include "zel/zel.h"
#include "zelgen/progress.h"

namespace zelgen {

// The texts a look file carries, each with the room the file gives it.
struct LookTexts {
    std::string note;        // look header note; its start also names the look's LUT
    std::string secondName;  // second LUT name of the metadata
    std::string lookText;    // look header text
    std::string headerText;  // file header text
    std::string headerTag;   // file header tag
};

struct LookJobSettings {
    std::string model;
    std::uint8_t source = 0;  // 0 Q-Enc3/Q-Prims3, 1 Q-Enc3/Q-Prims3.Film, 2 ACEScc, 3 ACEScct
    std::uint8_t curve = 0;   // 0 Rec.709, 1 PQ, 2 HLG
    std::uint8_t range = 0;   // 0 full, 1 legal
    bool extendedJob = false;
    bool longChain = false;
    bool fullDomain = false;
    LookTexts texts;
    std::string created;  // the look file's time stamp "YYYY-MM-DD HH:MM:SS"; "" local time
};

// The sources for which the library returns the look re-indexed for the other gamut.
inline bool returnsReindexedLook(std::uint8_t source) {
    return source <= 1;
}

// "" when every text fits its field, else a message naming the text that does not.
std::string checkTextLengths(const LookJobSettings& settings, const std::string& lookFileName);

struct LookJobResult {
    enum class End { done, failed, cancelled };
    End end = End::failed;
    std::string failure;                 // plain words when the job failed
    std::vector<std::uint8_t> lookFile;  // the whole look file when done
    int gridSize = 0;                    // the look's grid size
    std::string cubeHeader;              // the job's .cube header lines
    NodeTable reindexedNodes;            // the re-indexed look (Q-Enc3 sources only)
};

// How the caller follows the job.
struct JobWatch {
    bool showLibraryLines = false;  // --verbose: the library's console lines reach the user
    // Asynchronous with a progress bar, cancelled on Ctrl-C (one job at a time); or on the
    // calling thread, cancelled by another thread through zel_cancel and `stopRequested`.
    ProgressBar* bar = nullptr;
    const std::atomic<bool>* stopRequested = nullptr;
};

LookJobResult runLookJob(ZelGenerator& generator, const LookJobSettings& settings,
                         const NodeTable& lattice, const std::string& lookFileName,
                         const JobWatch& watch);

}  // namespace zelgen

#endif  // ZELGEN_LOOK_JOB_H
