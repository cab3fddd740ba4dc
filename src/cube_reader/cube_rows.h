#ifndef ZEL_CUBE_READER_CUBE_ROWS_H
#define ZEL_CUBE_READER_CUBE_ROWS_H

// The walk of the exported .cube reader, with what it reads handed to a receiver as it
// arrives: the size once its line is read, then each value of the first size^3 data rows.
// ReadFiles::readCubeFile gives the host its table of rows through it; the C interface
// keeps the values as they come, so that a file that promises a large grid and holds no
// rows costs no memory.

#include <cstdint>
#include <string>

namespace zel::io {

class CubeRowReceiver {
  public:
    virtual ~CubeRowReceiver() = default;
    // The size line's size, already within the reader's bounds; size^3 rows are expected.
    virtual void size(int size, std::int64_t expectedRows) = 0;
    // Value `column` (0 to 2) of data row `row`, in file order.
    virtual void value(std::int64_t row, int column, double value) = 0;
};

// Reads `path` as ReadFiles::readCubeFile does, with the same results, messages and
// exceptions; the values go to `receiver`.
bool readCubeRows(const std::string& path, CubeRowReceiver& receiver, int& rowCount, int& size);

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_ROWS_H
