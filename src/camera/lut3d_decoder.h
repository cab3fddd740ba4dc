#ifndef ZEL_CAMERA_LUT3D_DECODER_H
#define ZEL_CAMERA_LUT3D_DECODER_H

// Reads a cube memory back: the words of the eight banks and three channels become the
// grid's node values again, and the control page tells where the nodes sit on the input
// axis. It is the inverse of the 3D LUT writer (lut3d_writer.h): decoding what the writer
// stored gives each node back to within one memory step (1/8192), and storing the decoded
// cube gives the same registers again.

#include <cstdint>
#include <string>
#include <vector>

#include "camera/lut3d_writer.h"
#include "camera/register_entry.h"
#include "platform/decode_error.h"

struct DecodedCube {
    int grid = 0;  // nodes per axis of the memory (20 first generation, 34 second)
    // grid^3 nodes of three values; node (x, y, z) (x blue, y green, z red) at
    // (x + grid (y + grid z)) * 3, the same order as a cube converter's nodes (red outermost).
    std::vector<double> nodes;
    // The control page's register values from "0400" on, as stored.
    std::vector<std::uint8_t> control;
    // Where the nodes sit on the 13-bit input axis (0 to 8191), when the control page
    // carries positions (first generation); empty otherwise.
    std::vector<std::uint32_t> nodePositions;

    const double* node(int red, int green, int blue) const {
        const auto g = static_cast<std::size_t>(grid);
        return &nodes[(static_cast<std::size_t>(blue) +
                       g * (static_cast<std::size_t>(green) + g * static_cast<std::size_t>(red))) *
                      3];
    }
};

// The register lists of one cube instance, as the camera register image holds them.
struct CubeRegisters {
    RegisterList control;
    RegisterList begin;
    RegisterGroup select;  // 24 lists of one entry
    // 24 lists: list 8 ch + b is channel ch of bank b, two bytes a word, low byte first; an
    // entry without address (a record of values only) is taken as it comes.
    RegisterGroup data;
    RegisterList end;
};

// Decodes a cube memory of `grid` nodes an axis (even). Throws zel::DecodeError when a list
// is missing or short, an address is not the one the memory is written through, or a select
// value names another list.
DecodedCube decodeCubeMemory(const CubeRegisters& registers, int grid);

// The node positions a control page carries: the first-generation page (108 registers)
// holds 20 positions from "041C" on; the run ends at the first position that does not rise.
// Any other page gives none.
std::vector<std::uint32_t> cubeNodePositions(const std::vector<std::uint8_t>& control);

// Stores a decoded cube as the writer does: the memory words of its nodes and its control
// page as decoded.
CubeRegisters encodeCubeMemory(const DecodedCube& cube);

#endif  // ZEL_CAMERA_LUT3D_DECODER_H
