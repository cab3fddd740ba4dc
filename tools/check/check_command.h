#ifndef ZELGEN_CHECK_COMMAND_H
#define ZELGEN_CHECK_COMMAND_H

// `zelgen check`: will the camera show the look? Decodes a look file's colour blocks and
// reports what a colourist can act on; with the source look, how closely the camera
// renders it.

#include <cstdint>
#include <string>
#include <vector>

#include "cube/node_table.h"

namespace zelgen {

// Reads a whole look file; throws std::runtime_error with the reason when it cannot.
std::vector<std::uint8_t> readLookFileBytes(const std::string& path);

// Exit status: 0 sound (and faithful, with a source look), 1 damaged, missing blocks, not
// faithful or unreadable.
int runCheck(const std::string& path, const std::string& sourceLook, bool json);

// The one-line fidelity summary `zelgen make` prints after a look: clipped share and the
// largest error against the source look (the node table the job was given).
std::string fidelitySummary(const std::vector<std::uint8_t>& lookFile, const NodeTable& look);

}  // namespace zelgen

#endif  // ZELGEN_CHECK_COMMAND_H
