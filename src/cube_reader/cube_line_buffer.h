#ifndef ZEL_CUBE_READER_CUBE_LINE_BUFFER_H
#define ZEL_CUBE_READER_CUBE_LINE_BUFFER_H

// The lines of a .cube file, read in pieces: a buffer of whole lines refilled from a
// stream, so that memory follows the longest line, never the length of the file. Without
// a stream the given text is the whole buffer. Lines end at LF, CR LF or a lone CR (old
// Mac exports).

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zel::io {

class CubeLineBuffer {
  public:
    // Text held whole.
    explicit CubeLineBuffer(std::string_view text);
    // A stream read `pieceSize` bytes at a time; `fileName` names it in messages.
    CubeLineBuffer(std::istream& in, const std::string& fileName, std::size_t pieceSize);

    // Whether a whole line starts at the cursor (the last line of a file may lack its end).
    bool wholeLineAhead() const {
        return position_ < end_ && (atEnd_ || (lastLineEnd_ != kNone && position_ <= lastLineEnd_));
    }
    // Whether the stream has given all its bytes.
    bool streamEnded() const { return atEnd_; }

    // Reads the next piece. The buffer may move, so views of earlier lines end here. A line
    // longer than kLongestLine (then numbered `lineNumber`) or a failed read throws
    // CubeParseError.
    void refill(std::size_t lineNumber);

    // Skips a UTF-8 byte order mark at the start of the text.
    void skipByteOrderMark();

    // The line at the cursor, without its end; the cursor moves to the next line.
    std::string_view takeLine();

    // The bytes from the cursor to the end of what is held, for a caller that reads a line
    // in place; finishLineAt then moves the cursor past that line's end.
    const char* cursor() const { return data_ + position_; }
    const char* heldEnd() const { return data_ + end_; }
    void finishLineAt(const char* lineStop);

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void skipLineEnd();

    const std::string* fileName_ = nullptr;
    std::istream* in_ = nullptr;
    std::vector<char> storage_;
    const char* data_ = nullptr;
    std::size_t end_ = 0;       // bytes held in the buffer
    std::size_t position_ = 0;  // the next line's first byte
    std::size_t lastLineEnd_ = kNone;
    bool atEnd_ = false;
};

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_LINE_BUFFER_H
