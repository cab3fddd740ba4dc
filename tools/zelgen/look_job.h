#ifndef ZELGEN_LOOK_JOB_H
#define ZELGEN_LOOK_JOB_H

// One look through the library: the input record filled from the tool's settings and the
// look's lattice, the job run on a generator, and the look file (and the re-indexed
// look) taken out of the output record.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "api/look_job_plan.h"
#include "cube_reader/node_table.h"
#include "zel/zel.h"
#include "zelgen/progress.h"

namespace zelgen {

// The look's settings and texts, as the library's job planner takes them.
using LookTexts = zel::LookTexts;
using LookJobSettings = zel::LookRequest;
using zel::returnsReindexedLook;

// "" when every text fits its field, else a message naming the text that does not.
std::string checkTextLengths(const LookJobSettings& settings, const std::string& lookFileName);

struct LookJobResult {
    enum class End { done, failed, cancelled };
    End end = End::failed;
    std::string failure;                 // plain words when the job failed
    std::vector<std::uint8_t> lookFile;  // the whole look file when done
    int gridSize = 0;                    // the look's grid size
    std::string cubeHeader;              // the job's .cube header lines
    zel::io::NodeTable reindexedNodes;   // the re-indexed look, when asked for (Q-Enc3 sources)
};

// How the caller follows the job.
struct JobWatch {
    bool showLibraryLines = false;  // --verbose: the library's console lines reach the user
    // Asynchronous with a progress bar, cancelled on Ctrl-C (one job at a time); or on the
    // calling thread, cancelled by another thread through zel_cancel and `stopRequested`.
    ProgressBar* bar = nullptr;
    const std::atomic<bool>* stopRequested = nullptr;
};

// `keepReindexedLook`: whether the result carries the re-indexed look; a job that leaves
// it out makes the same look file with half the memory and in far less time.
LookJobResult runLookJob(ZelGenerator& generator, const LookJobSettings& settings,
                         const zel::io::NodeTable& lattice, const std::string& lookFileName,
                         const JobWatch& watch, bool keepReindexedLook);

}  // namespace zelgen

#endif  // ZELGEN_LOOK_JOB_H
