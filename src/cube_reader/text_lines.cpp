#include "cube_reader/text_lines.h"

#include <cstring>

namespace zel::io {

namespace {

// Large enough that refills cost little next to the parsing of the lines they bring.
constexpr std::size_t kBlockSize = std::size_t{1} << 18;

}  // namespace

TextLines::TextLines(std::istream& in) : in_(in), block_(kBlockSize) {}

bool TextLines::next(std::string_view& line) {
    std::size_t searchFrom = begin_;
    for (;;) {
        const void* found = searchFrom < end_
                                ? std::memchr(block_.data() + searchFrom, '\n', end_ - searchFrom)
                                : nullptr;
        std::size_t length = 0;
        if (found != nullptr) {
            const std::size_t at =
                static_cast<std::size_t>(static_cast<const char*>(found) - block_.data());
            length = at - begin_;
            line = std::string_view(block_.data() + begin_, length);
            begin_ = at + 1;
        } else {
            const std::size_t searched = end_ - begin_;
            if (refill()) {
                searchFrom = begin_ + searched;
                continue;
            }
            // The stream has ended: what is left is the last line, if anything is left.
            if (begin_ == end_) {
                return false;
            }
            line = std::string_view(block_.data() + begin_, end_ - begin_);
            begin_ = end_;
        }
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return true;
    }
}

bool TextLines::refill() {
    if (exhausted_) {
        return false;
    }
    const std::size_t unread = end_ - begin_;
    if (begin_ > 0) {
        std::memmove(block_.data(), block_.data() + begin_, unread);
        begin_ = 0;
        end_ = unread;
    }
    if (end_ == block_.size()) {
        // One line longer than the block: it is held whole, as a line reader would.
        block_.resize(block_.size() * 2);
    }
    in_.read(block_.data() + end_, static_cast<std::streamsize>(block_.size() - end_));
    const std::streamsize got = in_.gcount();
    if (got <= 0) {
        exhausted_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

}  // namespace zel::io
