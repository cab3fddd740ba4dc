#include "api/c_look_job.h"

#include <algorithm>
#include <utility>

#include "api/c_look_rows.h"

namespace zel {

PlannedJob::PlannedJob(LookPlan plan)
    : plan_(std::move(plan)),
      reindexedNodes_(returnsReindexedLook(plan_.request.source) ? nodeFloats() : 0),
      job_(plan_.request, plan_.name, plan_.gridSize, plan_.nodes.data(),
           reindexedNodes_.empty() ? nullptr : reindexedNodes_.data()) {}

std::size_t PlannedJob::nodeFloats() const {
    const std::size_t n = static_cast<std::size_t>(plan_.gridSize);
    return n * n * n * 4;
}

bool PlannedJob::takeResult(zel_result& result) const {
    if (!job_.takeLookFile(result.data)) {
        return false;
    }
    result.cubeHeader = job_.cubeHeader();
    result.gridSize = plan_.gridSize;
    if (reindexedNodes_.empty()) {
        return true;
    }
    // The re-indexed look's nodes as rows of three floats in the host's order.
    const std::size_t n = static_cast<std::size_t>(plan_.gridSize);
    result.reindexed.resize(n * n * n * 3);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            for (std::size_t k = 0; k < n; ++k) {
                const float* node = &reindexedNodes_[((i * n + j) * n + k) * 4];
                std::copy(node, node + 3, &result.reindexed[rowOf(plan_.order, n, i, j, k) * 3]);
            }
        }
    }
    return true;
}

}  // namespace zel
