#ifndef ZEL_WEB_WHOLE_FILE_H
#define ZEL_WEB_WHOLE_FILE_H

// Files of the module's in-memory file system written in one piece. That file system copies
// a file each time it grows, so a file written a few kilobytes at a time (as a stream writes
// it) costs far more than the same bytes written at once.

#include <cstddef>
#include <string>

namespace zelweb {

// Writes `size` bytes at `data` as the whole file at `path`; false when it cannot.
bool writeWholeFile(const std::string& path, const void* data, std::size_t size);

}  // namespace zelweb

#endif  // ZEL_WEB_WHOLE_FILE_H
