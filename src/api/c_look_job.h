#ifndef ZEL_API_C_LOOK_JOB_H
#define ZEL_API_C_LOOK_JOB_H

// A look the C interface makes: the checked plan with its job, and the result the host
// gets when the job is done.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "api/c_look_plan.h"
#include "api/look_job_plan.h"
#include "zel/zel_c.h"

struct zel_result {
    std::vector<std::uint8_t> data;
    std::string cubeHeader;
    std::vector<float> reindexed;  // N^3 rows of three floats in the input's order
    std::int32_t gridSize = 0;
};

namespace zel {

// The plan, the job's records and the table the re-indexed look goes to; they stay put
// while the job runs.
class PlannedJob {
  public:
    explicit PlannedJob(LookPlan plan);
    PlannedJob(const PlannedJob&) = delete;
    PlannedJob& operator=(const PlannedJob&) = delete;

    LookJob& job() { return job_; }

    // The result of the job once it is done; false when its look file cannot be taken.
    bool takeResult(zel_result& result) const;

  private:
    std::size_t nodeFloats() const;

    LookPlan plan_;
    std::vector<float> reindexedNodes_;  // N^3 nodes of four floats, blue fastest
    LookJob job_;
};

}  // namespace zel

#endif  // ZEL_API_C_LOOK_JOB_H
