#ifndef ZELGEN_PENDING_FILE_H
#define ZELGEN_PENDING_FILE_H

// An output file that appears whole or not at all: the bytes go to a temporary file beside
// the target, which is renamed onto the target only when everything has been written. A
// failed or cancelled run removes the temporary file, so it never leaves a partial file.

#include <cstddef>
#include <string>

namespace zelgen {

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
    std::string temporary_;
    int descriptor_ = -1;
    bool committed_ = false;
};

}  // namespace zelgen

#endif  // ZELGEN_PENDING_FILE_H
