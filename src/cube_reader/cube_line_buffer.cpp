#include "cube_reader/cube_line_buffer.h"

#include <cstring>
#include <istream>

#include "cube_reader/cube_lut.h"
#include "cube_reader/cube_parse_error.h"
#include "cube_reader/cube_tokens.h"

namespace zel::io {

CubeLineBuffer::CubeLineBuffer(std::string_view text)
    : data_(text.data()), end_(text.size()), atEnd_(true) {}

CubeLineBuffer::CubeLineBuffer(std::istream& in, const std::string& fileName, std::size_t pieceSize)
    : fileName_(&fileName), in_(&in), storage_(pieceSize < 16 ? 16 : pieceSize) {
    data_ = storage_.data();
}

void CubeLineBuffer::refill(std::size_t lineNumber) {
    const std::size_t kept = end_ - position_;
    std::memmove(storage_.data(), storage_.data() + position_, kept);
    position_ = 0;
    end_ = kept;
    if (end_ == storage_.size()) {
        if (storage_.size() >= kLongestLine) {
            throw CubeParseError(*fileName_, lineNumber, std::string_view(data_, end_),
                                 "a line longer than " + std::to_string(kLongestLine / 1024) +
                                     " KB; this is not a .cube file");
        }
        storage_.resize(storage_.size() * 2 < kLongestLine ? storage_.size() * 2 : kLongestLine);
        data_ = storage_.data();
    }
    const std::size_t room = storage_.size() - end_;
    in_->read(storage_.data() + end_, static_cast<std::streamsize>(room));
    const auto got = static_cast<std::size_t>(in_->gcount());
    end_ += got;
    if (got < room) {
        if (in_->bad() || !in_->eof()) {
            throw CubeParseError(*fileName_, 0, "", "cannot read the file");
        }
        atEnd_ = true;
    }
    // A line ends before the last LF or CR; a CR at the very end may be the first half of a
    // CR LF whose LF has not been read yet.
    std::size_t search = end_;
    if (!atEnd_ && search > 0 && data_[search - 1] == '\r') {
        --search;
    }
    lastLineEnd_ = kNone;
    while (search > 0) {
        --search;
        if (isLineEnd(data_[search])) {
            lastLineEnd_ = search;
            break;
        }
    }
}

void CubeLineBuffer::skipByteOrderMark() {
    static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
    if (std::string_view(data_, end_).substr(0, 3) == kByteOrderMark) {
        position_ = 3;
    }
}

std::string_view CubeLineBuffer::takeLine() {
    const char* start = data_ + position_;
    const char* stop = data_ + end_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', end_ - position_));
    if (lf != nullptr) {
        stop = lf;
    }
    const char* cr =
        static_cast<const char*>(std::memchr(start, '\r', static_cast<std::size_t>(stop - start)));
    if (cr != nullptr) {
        stop = cr;
    }
    finishLineAt(stop);
    return std::string_view(start, static_cast<std::size_t>(stop - start));
}

void CubeLineBuffer::finishLineAt(const char* lineStop) {
    position_ = static_cast<std::size_t>(lineStop - data_);
    skipLineEnd();
}

void CubeLineBuffer::skipLineEnd() {
    if (position_ < end_ && data_[position_] == '\r') {
        ++position_;
        if (position_ < end_ && data_[position_] == '\n') {
            ++position_;
        }
    } else if (position_ < end_ && data_[position_] == '\n') {
        ++position_;
    }
}

}  // namespace zel::io
