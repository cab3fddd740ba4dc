#ifndef ZEL_API_LOOK_JOB_PLAN_H
#define ZEL_API_LOOK_JOB_PLAN_H

// One look to make, as both entry points describe it (the C interface and zelgen): the
// settings and texts checked against the camera model table, turned into the job's input
// record, run on a generator and the look file taken out of the output record.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/camera_models.h"
#include "zel/generator.h"
#include "zel/records.h"

namespace zel {

// The texts a look file carries besides its name.
struct LookTexts {
    std::string note;        // look header note; its start also names the look's LUT
    std::string secondName;  // second LUT name of the metadata
    std::string lookText;    // look header text
    std::string headerText;  // file header text
    std::string headerTag;   // file header tag
};

struct LookRequest {
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

enum class LookText { name, note, secondName, lookText, headerText, headerTag };

struct TextTooLong {
    LookText text;
    std::size_t length;
    std::size_t room;
};

// The first text of the request (with the look file's `name`) longer than the room the
// look file of `model` gives it, in the order of LookText; none when all fit.
std::optional<TextTooLong> findTextTooLong(const CameraModel& model, const LookRequest& request,
                                           const std::string& name);

// The job's input record, output record and the look's node tables: the nodes it reads
// (N^3 nodes of four floats, blue fastest) and the table the re-indexed look goes to
// (the same size). Both stay the caller's and must outlive the job. A caller that will
// not read the re-indexed look passes null: the job then leaves it out, which saves a
// large look most of its time and half its memory, and makes the same look file.
class LookJob {
  public:
    LookJob(const LookRequest& request, const std::string& name, int gridSize, const float* nodes,
            float* reindexedNodes);

    // Readies the generator for the job: initialised, with the request's time stamp. False
    // when the time stamp is not a date and time.
    bool prepare(ZelGenerator& generator) const;
    // Runs the job on the calling thread, or starts it on the generator's worker thread.
    void run(ZelGenerator& generator);
    void start(ZelGenerator& generator);

    // Once the job is done: the look file (false when the output record states lengths
    // beyond its room) and the .cube header lines.
    bool takeLookFile(std::vector<std::uint8_t>& file) const;
    std::string cubeHeader() const;

  private:
    std::string created_;
    bool reindexedLookWanted_ = true;
    ZelGenInput input_;
    std::unique_ptr<ZelGenOutput> standard_;
    std::unique_ptr<ZelGenOutputExtended> extended_;
};

}  // namespace zel

#endif  // ZEL_API_LOOK_JOB_PLAN_H
