#ifndef ZEL_API_C_LOOK_PLAN_H
#define ZEL_API_C_LOOK_PLAN_H

// A look to make through the C interface: the host's zel_look_input checked and copied
// into the job's own records, before any job starts.

#include <cstdint>
#include <string>
#include <vector>

#include "api/c_failure.h"
#include "api/look_job_plan.h"
#include "zel/zel_c.h"

namespace zel {

struct LookPlan {
    LookRequest request;
    std::string name;          // the look file's name
    std::vector<float> nodes;  // N^3 nodes of four floats, blue fastest
    int gridSize = 0;
    std::int32_t order = ZEL_ORDER_RED_FASTEST;
};

// Checks `in` (struct size, selectors, camera, texts against the look file's room, grid,
// rows) and fills `plan`; a refusal names the field and the reason.
Failure planLook(const zel_look_input* in, LookPlan& plan);

}  // namespace zel

#endif  // ZEL_API_C_LOOK_PLAN_H
