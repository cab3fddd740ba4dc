// Pins every output of whole jobs: the look file, both float tables, the .cube header
// lines and what the job prints, for every camera model, job layout, source encoding,
// output curve and range, the option flags and several look sizes. Each output is
// reduced to a 64-bit FNV-1a digest; a changed digest means a changed byte.
//
// A digest cannot say which byte changed, and the look files themselves (about 100 MB for
// the whole table) are not kept in the source tree. They are kept on request instead: with
// ZEL_GOLDEN_REFERENCES naming a folder, every look file that matches its digest is stored
// there under that digest. Run the tests so once before a change; a job whose look file
// the change moves is then compared with its stored file, and the failure names the first
// differing byte, the part of the file it lies in (header, metadata, chunk head, entry,
// register record and the register in it) and, word by word, the cube, 1D LUT and matrix
// words that differ. A stored file is used only while it still has its digest.

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "api/job_hooks.h"
#include "readback/look_file_comparison.h"
#include "support/look_file_bytes.h"
#include "support/test_jobs.h"
#include "zel/zel.h"

namespace {

std::uint64_t fnv1a(const void* data, std::size_t size,
                    std::uint64_t hash = 0xcbf29ce484222325ull) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

enum class Look { Warm, Wild, Strong };

// A look that leaves the unit range and folds back, so clamps and extrapolation show.
std::vector<float> wildLattice(int n) {
    return zeltest::makeLattice(n, [](double r, double g, double b, float* out) {
        out[0] = static_cast<float>(-0.2 + 1.5 * r * r - 0.3 * g + 0.1 * b);
        out[1] = static_cast<float>(1.3 * g - 0.4 * r * b + 0.05);
        out[2] = static_cast<float>(0.9 - 0.8 * b + 0.6 * r * g);
    });
}

// A look whose values reach beyond the largest cube word (about 8.0), so that its words
// saturate.
std::vector<float> strongLattice(int n) {
    return zeltest::makeLattice(n, [](double r, double g, double b, float* out) {
        out[0] = static_cast<float>(9.0 * r * r - 0.5);
        out[1] = static_cast<float>(0.5 + 2.5 * (g - 0.5) + 6.0 * r * b);
        out[2] = static_cast<float>(8.5 * b - 0.3 * g);
    });
}

const char* lookName(Look look) {
    switch (look) {
        case Look::Warm:
            return "Warm";
        case Look::Wild:
            return "Wild";
        default:
            return "Strong";
    }
}

struct Case {
    const char* model;
    bool extended;
    int source;
    int curve;
    int range;
    std::uint32_t flags;
    int grid;
    Look look;
};

struct Digests {
    std::uint64_t file;
    std::uint64_t floatLut;
    std::uint64_t floatLutFilm;
    std::uint64_t cubeHeader;
    std::uint64_t console;
};

struct Golden {
    Case job;
    Digests digests;
};

struct Outputs {
    Digests digests;
    std::vector<std::uint8_t> file;
};

template <typename Output>
Outputs runCase(const Case& job) {
    const std::vector<float> lattice = job.look == Look::Warm   ? zeltest::warmLattice(job.grid)
                                       : job.look == Look::Wild ? wildLattice(job.grid)
                                                                : strongLattice(job.grid);
    // Sentinel values show which table a job writes and which nodes it leaves alone.
    std::vector<float> floats(lattice.size(), -7.0f);
    std::vector<float> film(lattice.size(), -9.0f);
    ZelGenInput input =
        zeltest::makeInput(job.model, job.grid, lattice.data(), job.source, job.curve, job.range);
    input.flags = job.flags;
    zel::detail::JobHooks hooks;
    hooks.clock = zeltest::march5th2026;
    ZelGenerator generator;
    zel::detail::GeneratorAccess::setHooks(generator, &hooks);
    generator.zel_initialize();
    auto output = std::make_unique<Output>();
    output->floatLut = floats.data();
    output->floatLutFilm = film.data();
    std::string console;
    {
        zeltest::StreamCapture err(std::cerr);
        zeltest::StreamCapture out(std::cout);
        generator.zel_exec(input, *output);
        console = "status " + std::to_string(generator.zel_get_status()) + "\nerr " + err.text() +
                  "\nout " + out.text();
    }
    const std::vector<std::uint8_t> file = zeltest::lookFileBytes(*output);
    const Digests digests{fnv1a(file.data(), file.size()), fnv1a(floats.data(), floats.size() * 4),
                          fnv1a(film.data(), film.size() * 4),
                          fnv1a(output->cubeHeader, sizeof output->cubeHeader),
                          fnv1a(console.data(), console.size())};
    return {digests, file};
}

std::string describe(const Case& job, const Digests& d) {
    char line[320];
    std::snprintf(line, sizeof line,
                  "{{\"%s\", %s, %d, %d, %d, 0x%" PRIx32 ", %d, Look::%s}, {0x%016" PRIx64
                  "ull, 0x%016" PRIx64 "ull, 0x%016" PRIx64 "ull, 0x%016" PRIx64
                  "ull, 0x%016" PRIx64 "ull}},",
                  job.model, job.extended ? "true" : "false", job.source, job.curve, job.range,
                  job.flags, job.grid, lookName(job.look), d.file, d.floatLut, d.floatLutFilm,
                  d.cubeHeader, d.console);
    return line;
}

// The folder of stored reference look files; "" when none is asked for.
std::string referenceFolder() {
    const char* folder = std::getenv("ZEL_GOLDEN_REFERENCES");
    return folder != nullptr ? folder : "";
}

std::filesystem::path referencePath(const std::string& folder, std::uint64_t digest) {
    char name[32];
    std::snprintf(name, sizeof name, "%016" PRIx64 ".zel", digest);
    return std::filesystem::path(folder) / name;
}

// Stores a look file that has its pinned digest, unless it is stored already; written
// under a temporary name first, so that a stopped run leaves no half file behind.
void keepReference(const std::string& folder, std::uint64_t digest,
                   const std::vector<std::uint8_t>& file) {
    const std::filesystem::path path = referencePath(folder, digest);
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        return;
    }
    std::filesystem::create_directories(folder, error);
    std::filesystem::path part = path;
    part += ".part";
    {
        std::ofstream out(part, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
        if (!out) {
            return;
        }
    }
    std::filesystem::rename(part, path, error);
}

// Where a job's look file departs from its stored reference, one line each.
std::string locateChange(const std::string& folder, std::uint64_t digest,
                         const std::vector<std::uint8_t>& file) {
    const std::filesystem::path path = referencePath(folder, digest);
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> reference{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
    if (!in.is_open()) {
        return "         no stored reference " + path.string() + "\n";
    }
    if (fnv1a(reference.data(), reference.size()) != digest) {
        return "         the stored reference " + path.string() + " lacks its digest\n";
    }
    std::string lines =
        "         " +
        zel::describeFirstDifference(file.data(), file.size(), reference.data(), reference.size()) +
        "\n";
    try {
        for (const std::string& line :
             zel::compareLookFiles(file.data(), file.size(), reference.data(), reference.size(),
                                   true)
                 .damage) {
            lines += "         " + line + "\n";
        }
    } catch (const std::exception& e) {
        lines += std::string("         the body cannot be compared: ") + e.what() + "\n";
    }
    return lines;
}

// The names of the outputs whose digests differ.
std::string changedOutputs(const Digests& want, const Digests& got) {
    const std::pair<const char*, bool> outputs[] = {
        {"look file", want.file != got.file},
        {"float table", want.floatLut != got.floatLut},
        {"film float table", want.floatLutFilm != got.floatLutFilm},
        {".cube header", want.cubeHeader != got.cubeHeader},
        {"printed lines", want.console != got.console}};
    std::string names;
    for (const auto& [name, changed] : outputs) {
        if (changed) {
            names += names.empty() ? name : std::string(", ") + name;
        }
    }
    return names;
}

void checkAll(const std::vector<Golden>& table) {
    const std::string folder = referenceFolder();
    std::ostringstream mismatches;
    int failed = 0;
    for (const Golden& golden : table) {
        const Outputs outputs = golden.job.extended ? runCase<ZelGenOutputExtended>(golden.job)
                                                    : runCase<ZelGenOutput>(golden.job);
        const Digests& actual = outputs.digests;
        const Digests& want = golden.digests;
        if (!folder.empty() && actual.file == want.file) {
            keepReference(folder, want.file, outputs.file);
        }
        const std::string changed = changedOutputs(want, actual);
        if (!changed.empty()) {
            ++failed;
            mismatches << "expected " << describe(golden.job, want) << "\n     got "
                       << describe(golden.job, actual) << "\n     changed: " << changed << "\n";
            if (!folder.empty() && actual.file != want.file) {
                mismatches << locateChange(folder, want.file, outputs.file);
            }
        }
    }
    EXPECT_EQ(failed, 0) << failed << " of " << table.size() << " jobs changed:\n"
                         << mismatches.str()
                         << (folder.empty() ? "To see the first changed byte of each look file, "
                                              "run this test once on the unchanged tree with "
                                              "ZEL_GOLDEN_REFERENCES=<folder>, then again with "
                                              "the change.\n"
                                            : "");
}

#include "golden_outputs_table.inc"

}  // namespace

TEST(GoldenOutputs, EveryModelLayoutSourceAndOutputIsUnchanged) {
    checkAll(kSmallJobs);
}

TEST(GoldenOutputs, LargeLooksAreUnchanged) {
    checkAll(kLargeJobs);
}
