#include "inspect/metadata_labels.h"

#include <array>
#include <cstring>

namespace zelgen {

namespace {

struct Label {
    const char* name;
    std::array<std::uint8_t, 16> bytes;
};

// Every label begins with the same four-byte prefix.
constexpr std::array<Label, 15> kLabels{{
    {"transfer Rec.709", {6, 14, 43, 52, 4, 1, 1, 1, 4, 1, 1, 1, 1, 2, 0, 0}},
    {"transfer PQ", {6, 14, 43, 52, 4, 1, 1, 13, 4, 1, 1, 1, 1, 10, 0, 0}},
    {"transfer HLG", {6, 14, 43, 52, 4, 1, 1, 13, 4, 1, 1, 1, 1, 11, 0, 0}},
    {"transfer linear", {6, 14, 43, 52, 4, 1, 1, 6, 4, 1, 1, 1, 1, 6, 0, 0}},
    {"transfer Q-Enc3", {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 1, 6, 4}},
    {"transfer Q-Enc3 film", {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 1, 6, 5}},
    {"transfer ACEScc", {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 1, 5, 9}},
    {"transfer ACEScct", {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 1, 7, 6}},
    {"primaries Rec.709", {6, 14, 43, 52, 4, 1, 1, 6, 4, 1, 1, 1, 3, 3, 0, 0}},
    {"primaries Rec.2020", {6, 14, 43, 52, 4, 1, 1, 13, 4, 1, 1, 1, 3, 4, 0, 0}},
    {"primaries Q-Prims3", {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 3, 1, 4}},
    {"primaries Q-Prims3.Film", {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 3, 1, 5}},
    {"primaries ACES AP1", {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 3, 3, 2}},
    {"coding Rec.709", {6, 14, 43, 52, 4, 1, 1, 1, 4, 1, 1, 1, 2, 2, 0, 0}},
    {"coding Rec.2020", {6, 14, 43, 52, 4, 1, 1, 13, 4, 1, 1, 1, 2, 6, 0, 0}},
}};

}  // namespace

std::string labelName(const std::uint8_t* label) {
    static constexpr std::uint8_t kZero[16] = {};
    if (std::memcmp(label, kZero, 16) == 0) {
        return "";
    }
    for (const Label& known : kLabels) {
        if (std::memcmp(label, known.bytes.data(), 16) == 0) {
            return known.name;
        }
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "unknown label";
    for (int i = 0; i < 16; ++i) {
        text += ' ';
        text += kHex[label[i] >> 4];
        text += kHex[label[i] & 0xF];
    }
    return text;
}

}  // namespace zelgen
