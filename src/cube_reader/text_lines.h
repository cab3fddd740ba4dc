#ifndef ZEL_CUBE_READER_TEXT_LINES_H
#define ZEL_CUBE_READER_TEXT_LINES_H

// The lines of a text stream, read ahead in blocks and handed out one at a time as views
// into the block, so that reading a large look costs one block of memory and no copy
// of each line. A line ends at a line feed (the last one may end at the end of the
// stream); a carriage return before the line feed is dropped, so CR LF text reads as LF
// text does on every platform. Lines are returned exactly as a line-by-line read with
// the standard line reader would return them.

#include <cstddef>
#include <istream>
#include <string_view>
#include <vector>

namespace zel::io {

class TextLines {
  public:
    // The stream must outlive this object.
    explicit TextLines(std::istream& in);

    // The next line, valid until the next call; false at the end of the stream.
    bool next(std::string_view& line);

  private:
    // Moves the unread part to the front of the block (growing it when one line fills
    // it whole) and reads more after it; false when the stream has nothing more.
    bool refill();

    std::istream& in_;
    std::vector<char> block_;
    std::size_t begin_ = 0;  // first unread byte
    std::size_t end_ = 0;    // one past the last byte read
    bool exhausted_ = false;
};

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_TEXT_LINES_H
