#ifndef ZELGEN_CHECK_COMMAND_H
#define ZELGEN_CHECK_COMMAND_H

// `zelgen check`: will the camera show the look? Decodes a look file's colour blocks and
// reports what a colourist can act on; with the source look, how closely the camera
// renders it.

#include <cstdint>
#include <string>
#include <vector>

#include "check/block_checks.h"
#include "check/fidelity.h"
#include "cube/node_table.h"

namespace zelgen {

// Reads a whole look file; throws std::runtime_error with the reason when it cannot.
std::vector<std::uint8_t> readLookFileBytes(const std::string& path);

// What check finds in a look file: the blocks and their damage, with the source look the
// fidelity, and the one verdict.
struct CheckOutcome {
    BlockReport report;
    FidelityReport fidelity;
    bool measured = false;           // the fidelity was measured
    bool lookWordsVerified = false;  // every word was compared with the source look's
    std::string verdict;
    bool sound = false;  // neither damaged nor empty nor outside the limits: exit 0
};

// `look` null: without the source look. Throws std::runtime_error (and its kin) when the
// file cannot be walked.
CheckOutcome checkLookFile(const std::vector<std::uint8_t>& bytes, const NodeTable* look);

// The same with the source look read from a .cube file (`sourceLook` empty: without it), at
// the grid size the look file names; also throws when the look cannot be read.
CheckOutcome checkLookFile(const std::vector<std::uint8_t>& bytes, const std::string& sourceLook);

// The report of `check --json`; `path` names the file.
std::string checkJson(const CheckOutcome& outcome, const std::string& path);

// Exit status: 0 sound (and faithful, with a source look), 1 damaged, missing blocks, not
// faithful or unreadable.
int runCheck(const std::string& path, const std::string& sourceLook, bool json);

// The one-line fidelity summary `zelgen make` prints after a look: clipped share, the
// largest error against the source look (the node table the job was given) and check's
// verdict.
std::string fidelitySummary(const std::vector<std::uint8_t>& lookFile, const NodeTable& look);

}  // namespace zelgen

#endif  // ZELGEN_CHECK_COMMAND_H
