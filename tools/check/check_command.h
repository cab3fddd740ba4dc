#ifndef ZELGEN_CHECK_COMMAND_H
#define ZELGEN_CHECK_COMMAND_H

// `zelgen check`: will the camera show the look? The library checks the look file
// (zel_check); the tool prints its report as text or as the library's JSON.

#include <cstdint>
#include <string>
#include <vector>

#include "cube_reader/node_table.h"

namespace zelgen {

// The library's report on a look file as JSON text (the same for every host). `look` null:
// without the source look; else the look at the grid the file names. Throws
// std::runtime_error with the library's reason when the file cannot be walked.
std::string checkReport(const std::vector<std::uint8_t>& bytes, const zel::io::NodeTable* look);

// The same with the source look read from a .cube file (`sourceLook` empty: without it), at
// the grid size the look file names; also throws when the look cannot be read.
std::string checkReport(const std::vector<std::uint8_t>& bytes, const std::string& sourceLook);

// Exit status: 0 sound (and faithful, with a source look), 1 damaged, missing blocks, not
// faithful or unreadable.
int runCheck(const std::string& path, const std::string& sourceLook, bool json);

// The report on a look file make has just written from `look`, the same as checkReport's.
// The library made the file from that look with the settings its headers name, so it is its
// own reference: making it again would give the same bytes (the time stamp aside) at the
// cost of a second job, as long as the first at the largest grids.
std::string checkMadeLook(const std::vector<std::uint8_t>& lookFile,
                          const zel::io::NodeTable& look);

// The one-line fidelity summary `zelgen make` prints after a look: clipped share, the
// largest error against the source look (the node table the job was given) and check's
// verdict.
std::string fidelitySummary(const std::vector<std::uint8_t>& lookFile,
                            const zel::io::NodeTable& look);

}  // namespace zelgen

#endif  // ZELGEN_CHECK_COMMAND_H
