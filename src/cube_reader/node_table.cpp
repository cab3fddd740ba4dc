#include "cube_reader/node_table.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <cstdlib>
#include <new>

namespace zel::io {

namespace {

#if defined(__linux__)
// Transparent huge pages come in 2 MB; a table of that size or more is placed on their
// boundaries and asked to use them. A 255-point table then takes about 130 page faults
// instead of some 65,000, and on a virtual machine each fault is costly.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
#endif

}  // namespace

void NodeTable::FreeValues::operator()(float* values) const {
    std::free(values);
}

NodeTable::NodeTable(int size) : size_(size > 0 ? size : 0) {
    const auto n = static_cast<std::size_t>(size_);
    nodeCount_ = n * n * n;
    const std::size_t bytes = nodeCount_ * 4 * sizeof(float);
    // Left unwritten on purpose (see the header): no zero-fill pass.
    void* storage = nullptr;
#if defined(__linux__)
    if (bytes >= kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        storage = std::aligned_alloc(kHugePage, rounded);
        if (storage != nullptr) {
            // Advice only: where the system offers no huge pages, small ones serve.
            (void)::madvise(storage, rounded, MADV_HUGEPAGE);
        }
    }
#endif
    if (storage == nullptr) {
        storage = std::malloc(bytes > 0 ? bytes : 1);
    }
    if (storage == nullptr) {
        throw std::bad_alloc();
    }
    values_.reset(static_cast<float*>(storage));
}

}  // namespace zel::io
