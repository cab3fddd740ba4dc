#include "readback/look_file_comparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <tuple>

#include "io/header_part_layout.h"
#include "io/look_file_layout.h"
#include "io/record_category.h"
#include "readback/body_records.h"
#include "readback/look_blocks_decoder.h"

namespace zel {

namespace {

constexpr std::size_t kChunkHead = io::chunk_head::kLength;
constexpr std::size_t kMostLines = 12;
constexpr const char* kChannels[] = {"red", "green", "blue"};

std::string number(double value, int decimals) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The memory word of a decoded node value (0 to 65535/8192), as four hexadecimal digits.
std::string hexWord(double value) {
    const long word = std::lround(std::clamp(value, 0.0, 65535.0 / 8192.0) * 8192.0);
    char text[16];
    std::snprintf(text, sizeof text, "%04lX", static_cast<unsigned long>(word));
    return text;
}

// The records whose values are the look's own words: the cube memory lists, and on the
// fallback chain the colour matrix and the 1D LUT memory.
bool carriesLookWords(const BodyEntry& entry) {
    if (entry.category == kCubeRecord) {
        return entry.valuesOnly;
    }
    return entry.flag == 1 && entry.subtype == 0 &&
           (entry.category == kMatrixRecord || (entry.category == kLutRecord && entry.valuesOnly));
}

struct RecordSpan {
    std::size_t begin;  // from the start of the body chunk
    std::size_t end;    // padded end
    BodyEntry entry;
};

std::vector<RecordSpan> recordSpans(const std::uint8_t* bytes, std::size_t size,
                                    const BodySpan& body) {
    std::vector<RecordSpan> spans;
    for (const BodyEntry& entry : readBodyEntries(bytes, size, body.tableAt, body.slots)) {
        if (entry.registerCount == 0 || entry.offset > body.length) {
            continue;
        }
        const std::size_t begin = kChunkHead + static_cast<std::size_t>(entry.offset);
        const auto length =
            static_cast<std::size_t>(bodyRecordLength(entry.registerCount, entry.valuesOnly));
        spans.push_back({begin, begin + length, entry});
    }
    std::sort(spans.begin(), spans.end(),
              [](const RecordSpan& a, const RecordSpan& b) { return a.begin < b.begin; });
    return spans;
}

// True when byte `at` (from the start of the body chunk) holds a look word value.
bool isLookValue(const RecordSpan& span, std::size_t at) {
    if (!carriesLookWords(span.entry)) {
        return false;
    }
    const std::size_t count = span.entry.registerCount;
    const std::size_t first = span.begin + (span.entry.valuesOnly ? 2 : 4 + 2 * count + 2);
    return at >= first && at < first + count;
}

const RecordSpan* spanAt(const std::vector<RecordSpan>& spans, std::size_t at) {
    auto it =
        std::upper_bound(spans.begin(), spans.end(), at,
                         [](std::size_t value, const RecordSpan& s) { return value < s.begin; });
    if (it == spans.begin()) {
        return nullptr;
    }
    --it;
    return at < it->end ? &*it : nullptr;
}

// The words of the decoded blocks that differ, located by pass, node or index, channel.
std::vector<std::string> blockDifferences(const DecodedLook& file, const DecodedLook& made) {
    std::vector<std::string> lines;
    for (const LookPass& want : made.passes) {
        const auto found = std::find_if(file.passes.begin(), file.passes.end(),
                                        [&](const LookPass& p) { return p.pass == want.pass; });
        if (found == file.passes.end()) {
            continue;
        }
        const LookPass& got = *found;
        const std::string pass = " of pass " + std::to_string(want.pass);
        if (want.cube && got.cube && want.cube->nodes.size() == got.cube->nodes.size()) {
            const int g = want.cube->grid;
            for (std::size_t i = 0; i < want.cube->nodes.size(); ++i) {
                const double w = want.cube->nodes[i];
                const double v = got.cube->nodes[i];
                if (w == v) {
                    continue;
                }
                const std::size_t node = i / 3;
                const auto gs = static_cast<std::size_t>(g);
                lines.push_back("cube" + pass + ": node (red " + std::to_string(node / (gs * gs)) +
                                ", green " + std::to_string(node / gs % gs) + ", blue " +
                                std::to_string(node % gs) + ") " + kChannels[i % 3] +
                                " holds word " + hexWord(v) + " (" + number(v, 4) +
                                ") where the look gives " + hexWord(w) + " (" + number(w, 4) + ")");
            }
        }
        const std::pair<const std::optional<DecodedLut1d>*, const std::optional<DecodedLut1d>*>
            luts[] = {{&want.firstLut, &got.firstLut}, {&want.secondLut, &got.secondLut}};
        const char* lutNames[] = {"first 1D LUT", "second 1D LUT"};
        for (std::size_t l = 0; l < 2; ++l) {
            const auto& [a, b] = luts[l];
            if (!*a || !*b || (*a)->words.size() != (*b)->words.size()) {
                continue;
            }
            for (std::size_t m = 0; m < (*a)->words.size(); ++m) {
                const auto& wa = (*a)->words[m];
                const auto& wb = (*b)->words[m];
                for (std::size_t i = 0; i < wa.size() && i < wb.size(); ++i) {
                    if (wa[i] != wb[i]) {
                        lines.push_back(std::string(lutNames[l]) + pass + ": " +
                                        ((*a)->words.size() == 1 ? "the memory" : kChannels[m]) +
                                        std::string((*a)->words.size() == 1 ? "" : " memory") +
                                        ", word " + std::to_string(i) + " holds " +
                                        std::to_string(wb[i]) + " where the look gives " +
                                        std::to_string(wa[i]));
                    }
                }
            }
        }
        const std::pair<const std::optional<DecodedMatrix>*, const std::optional<DecodedMatrix>*>
            matrices[] = {{&want.colorMatrix, &got.colorMatrix},
                          {&want.gainMatrix, &got.gainMatrix},
                          {&want.secondMatrix, &got.secondMatrix}};
        const char* matrixNames[] = {"colour matrix", "gain matrix", "second matrix"};
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& [a, b] = matrices[k];
            if (!*a || !*b) {
                continue;
            }
            for (std::size_t r = 0; r < 3; ++r) {
                for (std::size_t c = 0; c < 3; ++c) {
                    if ((**a)[r][c] != (**b)[r][c]) {
                        lines.push_back(std::string(matrixNames[k]) + pass + ": row " +
                                        std::to_string(r + 1) + ", column " +
                                        std::to_string(c + 1) + " holds " + number((**b)[r][c], 4) +
                                        " where make writes " + number((**a)[r][c], 4));
                    }
                }
            }
        }
    }
    return lines;
}

}  // namespace

LookComparison compareLookFiles(const std::uint8_t* file, std::size_t size,
                                const std::uint8_t* reference, std::size_t referenceSize,
                                bool sameLook, bool locate) {
    const BodySpan mine = locateBody(file, size);
    const BodySpan made = locateBody(reference, referenceSize);
    LookComparison result;
    const std::size_t myLength = size - mine.bodyAt;
    const std::size_t madeLength = made.statedEnd() <= referenceSize
                                       ? made.statedEnd() - made.bodyAt
                                       : referenceSize - made.bodyAt;
    if (myLength != madeLength) {
        result.lengthDiffers = true;
        result.damage.push_back("the body is " + std::to_string(myLength) + " bytes long where " +
                                "make writes " + std::to_string(madeLength));
    }
    const std::vector<RecordSpan> spans = recordSpans(reference, referenceSize, made);
    // Differences per place: the chunk head (-2), an entry of the table (-1, slot) or a
    // record (its start), each with its count and first byte.
    std::map<std::tuple<int, std::size_t>, std::pair<std::size_t, std::size_t>> places;
    const std::uint8_t* a = file + mine.bodyAt;
    const std::uint8_t* b = reference + made.bodyAt;
    const std::size_t tableEnd = kChunkHead + made.slots * kBodyEntryLength;
    const std::size_t common = std::min(myLength, madeLength);
    for (std::size_t at = 0; at < common; ++at) {
        if (a[at] == b[at]) {
            continue;
        }
        std::tuple<int, std::size_t> place{-3, 0};
        std::size_t offset = at;
        if (at < kChunkHead) {
            place = {-2, 0};
        } else if (at < tableEnd) {
            place = {-1, (at - kChunkHead) / kBodyEntryLength};
            offset = (at - kChunkHead) % kBodyEntryLength;
        } else if (const RecordSpan* span = spanAt(spans, at)) {
            if (!sameLook && isLookValue(*span, at)) {
                continue;
            }
            place = {0, span->begin};
            offset = at - span->begin;
        }
        ++result.differingBytes;
        auto& [count, first] = places[place];
        if (count++ == 0) {
            first = offset;
        }
    }

    if (!locate) {
        return result;
    }
    std::vector<std::string> words;
    if (sameLook && result.differingBytes > 0) {
        const DecodedLook got = decodeLookBlocks(file, size);
        const DecodedLook want = decodeLookBlocks(reference, referenceSize);
        words = blockDifferences(got, want);
    }
    std::vector<std::string> lines;
    for (const auto& [place, found] : places) {
        const auto& [kind, where] = place;
        const auto& [count, first] = found;
        const std::string bytes =
            std::to_string(count) + (count == 1 ? " byte differs" : " bytes differ") +
            " from what make writes (first at byte " + std::to_string(first) + ")";
        if (kind == -2) {
            lines.push_back("the body's chunk head: " + bytes);
        } else if (kind == -1) {
            lines.push_back("entry " + std::to_string(where) +
                            " of the body's entry table: " + bytes);
        } else if (kind == 0) {
            const RecordSpan* span = spanAt(spans, where);
            const BodyEntry& e = span->entry;
            const bool blockWord = e.category == kCubeRecord || e.category == kLutRecord ||
                                   e.category == kMatrixRecord;
            if (blockWord && !words.empty()) {
                continue;  // located word by word below
            }
            lines.push_back(std::string(recordName(e.category)) + " record of entry " +
                            std::to_string(e.slot) + " (pass " + std::to_string(e.pass) +
                            "): " + bytes);
        } else {
            lines.push_back("the body's data outside its records: " + bytes);
        }
    }
    lines.insert(lines.end(), words.begin(), words.end());
    const std::size_t shown = std::min(lines.size(), kMostLines);
    result.damage.insert(result.damage.end(), lines.begin(),
                         lines.begin() + static_cast<std::ptrdiff_t>(shown));
    if (lines.size() > shown) {
        result.damage.push_back("and " + std::to_string(lines.size() - shown) +
                                " more differences from what make writes");
    }
    return result;
}

std::vector<std::string> checkLookWordInvariants(const std::uint8_t* file, std::size_t size) {
    // Each coefficient is rounded to 1/65536; two steps cover the rounding of a row.
    constexpr double kRowTolerance = 2.0 / 65536.0;
    constexpr double kRegisterEnd = 4.0 - 2.0 / 65536.0;
    std::vector<std::string> lines;
    for (const LookPass& pass : decodeLookBlocks(file, size).passes) {
        if (!pass.colorMatrix) {
            continue;
        }
        for (std::size_t r = 0; r < 3; ++r) {
            const auto& row = (*pass.colorMatrix)[r];
            const bool saturated = std::any_of(
                row.begin(), row.end(), [&](double v) { return std::fabs(v) >= kRegisterEnd; });
            const double sum = row[0] + row[1] + row[2];
            if (!saturated && std::fabs(sum - 1.0) > kRowTolerance) {
                lines.push_back("colour matrix of pass " + std::to_string(pass.pass) + ": row " +
                                std::to_string(r + 1) + " sums to " + number(sum, 4) +
                                "; make keeps every row at 1");
            }
        }
    }
    return lines;
}

namespace {

std::string byteOf(std::size_t at, std::size_t length) {
    return ", byte " + std::to_string(at) + " of " + std::to_string(length);
}

// The part of a register record that byte `at` (from the record's start) holds: the
// markers around the addresses and the values, one 16-bit address and one value byte a
// register, then padding to 16 bytes.
std::string recordPart(const BodyEntry& entry, std::size_t at) {
    const std::size_t count = entry.registerCount;
    const std::size_t valuesAt = entry.valuesOnly ? 2 : 6 + 2 * count;
    if (at < 2) {
        return entry.valuesOnly ? "its start marker SR" : "its start marker SA";
    }
    if (!entry.valuesOnly && at < 2 + 2 * count) {
        return "the address of register " + std::to_string((at - 2) / 2);
    }
    if (!entry.valuesOnly && at < valuesAt) {
        return at < 4 + 2 * count ? "its marker EA" : "its marker SD";
    }
    if (at < valuesAt + count) {
        return "the value of register " + std::to_string(at - valuesAt);
    }
    if (at < valuesAt + count + 2) {
        return entry.valuesOnly ? "its end marker ER" : "its end marker ED";
    }
    return "its padding";
}

std::string bodyPlace(const std::uint8_t* bytes, std::size_t size, const BodySpan& body,
                      std::size_t at) {
    const std::size_t inBody = at - body.bodyAt;
    if (inBody < kChunkHead) {
        return "the body's chunk head" + byteOf(inBody, kChunkHead);
    }
    const std::size_t tableEnd = kChunkHead + body.slots * kBodyEntryLength;
    if (inBody < tableEnd) {
        const std::size_t inTable = inBody - kChunkHead;
        return "entry " + std::to_string(inTable / kBodyEntryLength) +
               " of the body's entry table" + byteOf(inTable % kBodyEntryLength, kBodyEntryLength);
    }
    if (at >= body.statedEnd()) {
        return "past the end the body's chunk head states (byte " +
               std::to_string(body.statedEnd()) + ")";
    }
    const std::vector<RecordSpan> spans = recordSpans(bytes, size, body);
    if (const RecordSpan* span = spanAt(spans, inBody)) {
        const BodyEntry& e = span->entry;
        return std::string(recordName(e.category)) + " record of entry " + std::to_string(e.slot) +
               " (pass " + std::to_string(e.pass) + "), " + recordPart(e, inBody - span->begin) +
               byteOf(inBody - span->begin, span->end - span->begin);
    }
    return "the body's data outside its records, byte " + std::to_string(inBody) + " of the body";
}

std::string hexByte(std::uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

std::string describeLookFileByte(const std::uint8_t* bytes, std::size_t size, std::size_t at) {
    if (at < io::kFileHeaderLength) {
        return "the file header" + byteOf(at, io::kFileHeaderLength);
    }
    if (at < io::kMetadataListOffset) {
        return "the look header" + byteOf(at - io::kLookHeaderOffset, io::kLookHeaderLength);
    }
    BodySpan body;
    try {
        body = locateBody(bytes, size);
    } catch (const std::runtime_error&) {  // the decoder's refusal: no body to name
        return "byte " + std::to_string(at) +
               " after the look header (the headers lead to no body)";
    }
    if (at >= body.bodyAt) {
        return bodyPlace(bytes, size, body, at);
    }
    const io::HeaderPartLayout layout = body.facts.layout == LookLayout::Standard
                                            ? io::standardHeaderPartLayout()
                                            : io::extendedHeaderPartLayout({});
    const std::size_t inList = at - io::kMetadataListOffset;
    if (inList < layout.listLength) {
        return "the metadata header list" + byteOf(inList, layout.listLength);
    }
    const std::size_t inBlocks = inList - layout.listLength;
    return "metadata block " + std::to_string(inBlocks / layout.blockLength) +
           byteOf(inBlocks % layout.blockLength, layout.blockLength);
}

std::string describeFirstDifference(const std::uint8_t* file, std::size_t size,
                                    const std::uint8_t* reference, std::size_t referenceSize) {
    const std::size_t common = std::min(size, referenceSize);
    const std::size_t at =
        static_cast<std::size_t>(std::mismatch(file, file + common, reference).first - file);
    if (at < common) {
        return "first difference at byte " + std::to_string(at) + " (" +
               describeLookFileByte(reference, referenceSize, at) + "): " + hexByte(file[at]) +
               " where the reference has " + hexByte(reference[at]);
    }
    if (size == referenceSize) {
        return "";
    }
    return "the first " + std::to_string(common) + " bytes agree; the file has " +
           std::to_string(size) + " bytes, the reference " + std::to_string(referenceSize);
}

}  // namespace zel
