#ifndef ZELGEN_EXIT_STATUS_H
#define ZELGEN_EXIT_STATUS_H

// zelgen's exit statuses, the same for every command: scripts tell a failed look from a
// mistyped command line and from a run the user stopped.

namespace zelgen {

// Done: every look made, the look file read (inspect) or found sound (check).
constexpr int kExitSuccess = 0;
// A look failed, an input could not be read, a look file is damaged or (check) the camera
// misses the look's limits.
constexpr int kExitFailed = 1;
// The command line is wrong: an unknown command or option, a missing or refused value.
constexpr int kExitUsage = 2;
// Stopped by Ctrl-C (128 + SIGINT, as a shell reports it); no partial file is left.
constexpr int kExitInterrupted = 130;

}  // namespace zelgen

#endif  // ZELGEN_EXIT_STATUS_H
