#ifndef ZEL_READ_FILES_H
#define ZEL_READ_FILES_H

#include <string>
#include <vector>

#include "zel/export.h"

namespace ReadFiles {

// Reads a .cube 3D LUT: finds the "LUT_3D_SIZE" line, replaces `table` with size^3 rows
// of three zeros, then fills the rows from the data lines that follow, in file order.
// Returns true when exactly size^3 data rows were read (or the file has no size line).
// Conversion and allocation errors reach the caller as standard exceptions.
ZEL_API bool readCubeFile(std::string path, std::vector<std::vector<double>>& table, int& rowCount,
                          int& size);

}  // namespace ReadFiles

#endif  // ZEL_READ_FILES_H
