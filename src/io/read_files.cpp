#include "zel/read_files.h"

#include <iostream>

// The .cube reader is added with the reader itself.
bool ReadFiles::readCubeFile(std::string, std::vector<std::vector<double>>&, int&, int&) {
    std::cerr << "Failed to open file." << std::endl;
    return false;
}
