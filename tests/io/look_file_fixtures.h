#ifndef ZEL_TESTS_IO_LOOK_FILE_FIXTURES_H
#define ZEL_TESTS_IO_LOOK_FILE_FIXTURES_H

// Shared helpers for the look-file writer tests: an input record, the standard image's
// header part as file bytes, and an extended run with its standard output captured.

#include <cstdint>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "io/byte_order.h"
#include "io/look_file.h"
#include "support/test_jobs.h"
#include "zel/records.h"

namespace zel::test {

using zeltest::march5th2026;
using zeltest::setText;

inline ZelGenInput makeInput(const char* model, int source, int curve, int range) {
    ZelGenInput input;
    setText(input.modelName, model);
    input.sourceEncoding = static_cast<std::uint8_t>(source);
    input.outputCurve = static_cast<std::uint8_t>(curve);
    input.outputRange = static_cast<std::uint8_t>(range);
    input.gridSize = 33;
    setText(input.lookFileName, "Day_Ext.zel");
    return input;
}

// The first 2752 bytes of the standard file, assembled from the image's sections.
inline std::vector<std::uint8_t> standardHeaderPart(const ZelGenOutput& output) {
    std::vector<std::uint8_t> part;
    auto append = [&part](const void* from, std::size_t n) {
        const auto* bytes = static_cast<const std::uint8_t*>(from);
        part.insert(part.end(), bytes, bytes + n);
    };
    append(output.zel.fileHeader, sizeof output.zel.fileHeader);
    append(output.zel.lookHeader, sizeof output.zel.lookHeader);
    append(&output.zel.metadataHeaderList, sizeof output.zel.metadataHeaderList);
    append(output.zel.metadataData, sizeof output.zel.metadataData);
    return part;
}

inline std::vector<std::uint8_t> runStandard(const ZelGenInput& input) {
    auto output = std::make_unique<ZelGenOutput>();
    writeStandardLookHeaders(input, *output);
    return standardHeaderPart(*output);
}

struct ExtendedRun {
    std::unique_ptr<ZelGenOutputExtended> output = std::make_unique<ZelGenOutputExtended>();
    std::string printed;

    const std::uint8_t* part() const { return output->headerBytes; }
};

// Runs the extended writer with std::cout captured.
inline ExtendedRun runExtended(const ZelGenInput& input) {
    ExtendedRun run;
    const zeltest::StreamCapture captured(std::cout);
    writeExtendedLookHeaders(input, *run.output, march5th2026());
    run.printed = captured.text();
    return run;
}

using zel::io::getU16le;
using zel::io::getU32le;

// The field of `width` bytes at `at`, NUL bytes included.
inline std::string fieldAt(const std::uint8_t* at, std::size_t width) {
    return std::string(reinterpret_cast<const char*>(at), width);
}

// `text` NUL-padded to `width`, as a fixed text field holds it.
inline std::string padded(const std::string& text, std::size_t width) {
    std::string field = text;
    field.resize(width, '\0');
    return field;
}

inline bool allZero(const std::uint8_t* at, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        if (at[i] != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace zel::test

#endif  // ZEL_TESTS_IO_LOOK_FILE_FIXTURES_H
