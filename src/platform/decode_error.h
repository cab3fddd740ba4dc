#ifndef ZEL_PLATFORM_DECODE_ERROR_H
#define ZEL_PLATFORM_DECODE_ERROR_H

// The one error of everything that reads a look file back (the readers of its headers, the
// decoders of its cube, 1D LUTs and matrices, `zelgen inspect`): where the fault lies (a
// section of the file, a block, a register list) and why it cannot be read. The message
// is made once, here: "where: why", or the reason alone when there is no place to name.

#include <stdexcept>
#include <string>

namespace zel {

class DecodeError : public std::runtime_error {
  public:
    DecodeError(std::string where, std::string why)
        : std::runtime_error(where.empty() ? why : where + ": " + why),
          where_(std::move(where)),
          why_(std::move(why)) {}

    const std::string& where() const noexcept { return where_; }
    const std::string& why() const noexcept { return why_; }

  private:
    std::string where_;
    std::string why_;
};

}  // namespace zel

#endif  // ZEL_PLATFORM_DECODE_ERROR_H
