#ifndef ZELGEN_PENDING_FILE_H
#define ZELGEN_PENDING_FILE_H

// An output file that appears whole or not at all: the bytes go to a temporary file beside
// the target, which is renamed onto the target only when everything has been written. A
// failed or cancelled run removes the temporary file, so it never leaves a partial file.
//
// Only regular files are ever replaced. A target that is a device, a FIFO, a socket or a
// folder is refused and left as it is. A symbolic link to a regular file is written
// through, as cp does: the file it leads to is replaced (the temporary file is made in that
// file's folder) and the link stays a link. A link that leads nowhere is refused.

#include <cstddef>
#include <string>
#include <vector>

namespace zelgen {

// The file that writing `target` replaces: `target` itself, or the regular file a symbolic
// link leads to. Throws std::runtime_error naming `target` and saying why when it is not to
// be written.
std::string resolveOutputTarget(const std::string& target);

// Throws std::runtime_error when `target` is one of `inputs` under any name (the same path,
// a link to it, a hard link): a command never writes over what it reads. Empty inputs are
// skipped.
void refuseInputAsTarget(const std::string& target, const std::vector<std::string>& inputs);

class PendingFile {
  public:
    // Creates the temporary file; throws std::runtime_error naming the target on failure.
    explicit PendingFile(std::string target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Appends bytes; throws std::runtime_error on a write error (a full disk, ...).
    void write(const void* bytes, std::size_t length);
    // Flushes, closes and renames the temporary file onto the target.
    void commit();

    const std::string& target() const { return target_; }

  private:
    void discard() noexcept;

    std::string target_;
    std::string destination_;  // the file renamed onto: target_ or where its link leads
    std::string temporary_;
    int descriptor_ = -1;
    bool committed_ = false;
};

}  // namespace zelgen

#endif  // ZELGEN_PENDING_FILE_H
