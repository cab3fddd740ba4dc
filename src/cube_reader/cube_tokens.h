#ifndef ZEL_CUBE_READER_CUBE_TOKENS_H
#define ZEL_CUBE_READER_CUBE_TOKENS_H

// The pieces of a .cube line: blanks (spaces and tabs, any number of them) separate
// tokens, lines end at LF, CR LF or a lone CR, and keywords are matched without regard to
// letter case, as common readers do.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zel::io {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// A decimal digit, whatever the locale says.
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Splits a line at runs of blanks. Keeps at most N tokens and returns how many there are in
// all.
template <std::size_t N>
std::size_t splitTokens(std::string_view line, std::array<std::string_view, N>& tokens) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i == line.size()) {
            break;
        }
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) {
            ++i;
        }
        if (count < N) {
            tokens[count] = line.substr(start, i - start);
        }
        ++count;
    }
    return count;
}

// Whether the token starts as a keyword does: a letter or an underscore.
bool startsWithLetter(std::string_view token);

// The token in capitals (ASCII letters only).
std::string upperCase(std::string_view token);

// The text without the blanks at either end.
std::string_view trimBlanks(std::string_view text);

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_TOKENS_H
