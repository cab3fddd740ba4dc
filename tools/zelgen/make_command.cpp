#include "zelgen/make_command.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "check/check_command.h"
#include "cube/cube_writer.h"
#include "cube_reader/cube_parser.h"
#include "zel/camera_models.h"
#include "zelgen/input_file.h"
#include "zelgen/interrupt.h"
#include "zelgen/pending_file.h"
#include "zelgen/progress.h"

namespace zelgen {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);

// What became of one input.
struct Outcome {
    enum class Kind { written, failed, cancelled };
    Kind kind = Kind::failed;
    std::string message;  // the reason when failed; when written, how closely the camera
                          // renders the look
};

// The fidelity line of a written look; a look file the check cannot read says so.
std::string summaryOf(const std::vector<std::uint8_t>& lookFile, const zel::io::NodeTable& look) {
    try {
        return fidelitySummary(lookFile, look);
    } catch (const std::exception& e) {
        return std::string("fidelity: not measured (") + e.what() + ")";
    }
}

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The looks of one run: each input its own, or one from a chain or a config.
std::size_t lookCount(const MakeOptions& options) {
    return options.chain || options.config.used() ? 1 : options.inputs.size();
}

LookRequest requestFor(const MakeOptions& options, std::size_t look) {
    LookRequest request;
    if (options.chain || options.config.used()) {
        request.files = options.inputs;
    } else {
        request.files = {options.inputs[look]};
    }
    request.chain = options.chain;
    request.gridSize = options.gridSize;
    request.cdlId = options.cdlId;
    request.config = options.config;
    request.stop = &InterruptWatch::requested;
    return request;
}

// How the summary names a look: its file, the files of a chain, or the config.
std::string labelOf(const MakeOptions& options, std::size_t look) {
    if (options.config.used()) {
        return options.config.path;
    }
    if (!options.chain) {
        return options.inputs[look];
    }
    std::string label;
    for (const std::string& input : options.inputs) {
        label += (label.empty() ? "" : " + ") + input;
    }
    return label;
}

std::string outputPathFor(const MakeOptions& options, const std::string& input) {
    if (!options.output.empty()) {
        return options.output;
    }
    const std::filesystem::path stem = std::filesystem::path(input).stem();
    return (std::filesystem::path(options.outputDir) / stem).string() + ".zel";
}

// Reads, runs and writes one look. Both output files appear only when all went well.
Outcome makeOne(ZelGenerator& generator, const MakeOptions& options, std::size_t look,
                const JobWatch& watch, bool singleInput) {
    const std::string input = labelOf(options, look);
    const std::string outputPath = outputPathFor(options, input);
    const std::string lookFileName = fileNameOf(outputPath);
    const bool writesCube = singleInput && !options.cubeOut.empty();
    try {
        // Refused before any work: an output path that is not a regular file.
        resolveOutputTarget(outputPath);
        if (writesCube) {
            resolveOutputTarget(options.cubeOut);
        }
        LookRead read = readLook(requestFor(options, look));
        zel::io::NodeTable lattice = std::move(read.lattice);
        if (InterruptWatch::requested()) {
            return {Outcome::Kind::cancelled, ""};
        }
        LookJobResult job =
            runLookJob(generator, options.settings, lattice, lookFileName, watch, writesCube);
        if (job.end == LookJobResult::End::cancelled) {
            return {Outcome::Kind::cancelled, ""};
        }
        if (job.end == LookJobResult::End::failed) {
            return {Outcome::Kind::failed, input + ": " + job.failure};
        }
        const std::string summary = options.quiet
                                        ? ""
                                        : (read.remark.empty() ? "" : read.remark + "\n  ") +
                                              summaryOf(job.lookFile, lattice);
        lattice = zel::io::NodeTable();  // the job's input is no longer needed
        PendingFile lookFile(outputPath);
        lookFile.write(job.lookFile.data(), job.lookFile.size());
        std::unique_ptr<PendingFile> cubeFile;
        if (writesCube) {
            cubeFile = std::make_unique<PendingFile>(options.cubeOut);
            writeCubeText(
                job.cubeHeader, job.gridSize, job.reindexedNodes.data(),
                [&](std::string_view piece) { cubeFile->write(piece.data(), piece.size()); });
        }
        if (InterruptWatch::requested() ||
            (watch.stopRequested != nullptr && watch.stopRequested->load())) {
            return {Outcome::Kind::cancelled, ""};
        }
        lookFile.commit();
        if (cubeFile) {
            cubeFile->commit();
        }
        return {Outcome::Kind::written, summary};
    } catch (const InputInterrupted&) {
        return {Outcome::Kind::cancelled, ""};
    } catch (const zel::io::CubeParseError& e) {
        return {Outcome::Kind::failed, std::string("cannot use ") + e.what()};
    } catch (const std::system_error& e) {
        return {Outcome::Kind::failed, input + ": the job could not be started (" + e.what() + ")"};
    } catch (const std::bad_alloc&) {
        return {Outcome::Kind::failed, input + ": there was not enough memory"};
    } catch (const std::runtime_error& e) {
        return {Outcome::Kind::failed, e.what()};
    }
}

int reportOutcomes(const MakeOptions& options, const std::vector<Outcome>& outcomes) {
    bool cancelled = false;
    bool failed = false;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome& outcome = outcomes[i];
        const std::string input = labelOf(options, i);
        switch (outcome.kind) {
            case Outcome::Kind::written:
                if (!options.quiet) {
                    // Every file the run wrote: the look file, and the .cube file beside it;
                    // then how closely the camera renders the look.
                    std::cout << input << " -> " << outputPathFor(options, input)
                              << (options.cubeOut.empty() ? "" : ", " + options.cubeOut) << "\n  "
                              << outcome.message << std::endl;
                }
                break;
            case Outcome::Kind::failed:
                failed = true;
                std::cerr << "zelgen: " << outcome.message << std::endl;
                break;
            case Outcome::Kind::cancelled:
                cancelled = true;
                if (lookCount(options) > 1) {
                    std::cerr << "zelgen: " << input << ": cancelled, nothing written" << std::endl;
                }
                break;
        }
    }
    if (cancelled) {
        std::cerr << "zelgen: cancelled; no partial file was left behind" << std::endl;
        return kExitInterrupted;
    }
    return failed ? kExitFailed : kExitSuccess;
}

// One input: the job runs on the generator's worker while this thread draws the progress.
std::vector<Outcome> makeSingle(const MakeOptions& options) {
    ZelGenerator generator;
    ProgressBar bar(!options.quiet, fileNameOf(labelOf(options, 0)));
    const JobWatch watch{options.verbose, &bar, nullptr};
    return {makeOne(generator, options, 0, watch, true)};
}

// Several inputs: one worker a core, each with its own generator, taking the next input
// until none is left. This thread counts finished files and forwards Ctrl-C.
std::vector<Outcome> makeMany(const MakeOptions& options) {
    const std::size_t count = lookCount(options);
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workerCount = std::min(cores, count);

    std::vector<std::unique_ptr<ZelGenerator>> generators;
    for (std::size_t w = 0; w < workerCount; ++w) {
        generators.push_back(std::make_unique<ZelGenerator>());
    }
    std::vector<Outcome> outcomes(count, Outcome{Outcome::Kind::cancelled, ""});
    std::atomic<std::size_t> nextInput{0};
    std::atomic<std::size_t> finished{0};
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> workersRunning{workerCount};

    std::vector<std::thread> workers;
    for (std::size_t w = 0; w < workerCount; ++w) {
        workers.emplace_back([&, w] {
            const JobWatch watch{options.verbose, nullptr, &stop};
            for (;;) {
                const std::size_t i = nextInput.fetch_add(1);
                if (i >= count || stop.load()) {
                    break;
                }
                try {
                    outcomes[i] = makeOne(*generators[w], options, i, watch, false);
                } catch (const std::exception& e) {
                    outcomes[i] = {Outcome::Kind::failed, labelOf(options, i) + ": " + e.what()};
                }
                finished.fetch_add(1);
            }
            workersRunning.fetch_sub(1);
        });
    }

    ProgressBar bar(!options.quiet, "zelgen");
    while (workersRunning.load() > 0) {
        if (InterruptWatch::requested()) {
            stop.store(true);
            for (const auto& generator : generators) {
                generator->zel_cancel();
            }
        }
        bar.show(static_cast<int>(finished.load()), static_cast<int>(count));
        std::this_thread::sleep_for(kPollInterval);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    bar.finish();
    return outcomes;
}

// The names a config look needs, and none without a config.
std::string checkConfigOptions(const MakeOptions& options) {
    const ConfigLook& config = options.config;
    if (!config.used()) {
        const bool named = !config.colorSpace.empty() || !config.look.empty() ||
                           !config.display.empty() || !config.view.empty();
        return named ? "--look, --colorspace, --display and --view name parts of a config; give "
                       "it with --ocio-config"
                     : "";
    }
    if (!options.inputs.empty() || options.chain) {
        return "with --ocio-config the look is the config's; name no look files";
    }
    if (config.colorSpace.empty()) {
        return "--ocio-config needs --colorspace: the config's name of the look's source "
               "encoding (--source)";
    }
    if (config.display.empty() != config.view.empty()) {
        return "--display and --view come together";
    }
    if (config.look.empty() && config.display.empty()) {
        return "--ocio-config needs --look NAME, or --display and --view, or both";
    }
    if (options.output.empty()) {
        return "name the look file to write with -o LOOK.zel";
    }
    return "";
}

}  // namespace

std::string checkMakeOptions(const MakeOptions& options) {
    const bool single = lookCount(options) == 1;
    if (options.inputs.empty()) {
        if (!options.config.used()) {
            return "name at least one look file (.cube, .3dl, .clf, .cc, ...) or a config with "
                   "--ocio-config";
        }
    }
    const std::string configProblem = checkConfigOptions(options);
    if (!configProblem.empty()) {
        return configProblem;
    }
    if (options.chain && options.output.empty()) {
        return "--chain makes one look; name its look file with -o LOOK.zel";
    }
    if (!options.output.empty() && !options.outputDir.empty()) {
        return "give either -o or --out-dir, not both";
    }
    if (!single && !options.output.empty()) {
        return "-o names one look file; with several looks use --out-dir (or --chain to compose "
               "them into one)";
    }
    if (options.output.empty() && options.outputDir.empty()) {
        return single ? "name the look file to write with -o LOOK.zel"
                      : "name the folder for the look files with --out-dir";
    }
    if (!options.cubeOut.empty()) {
        if (!single) {
            return "--cube-out works with one look at a time";
        }
        if (!returnsReindexedLook(options.settings.source)) {
            return "--cube-out needs a Q-Enc3 source (qenc3 or qenc3-film); for ACEScc and "
                   "ACEScct looks the library returns no re-indexed look to write";
        }
    }
    const ZelCameraModelInfo* camera = zel_find_camera_model(options.settings.model.c_str());
    if (camera != nullptr && !camera->standardLayoutFits && !options.settings.extendedJob) {
        return "a " + options.settings.model +
               " look does not fit the standard look file layout; use --job extended (the "
               "default for " +
               options.settings.model + ")";
    }
    if (options.settings.fullDomain && options.settings.extendedJob) {
        return "--full-domain applies to the standard job only";
    }
    if (!options.outputDir.empty()) {
        std::error_code error;
        const auto type = std::filesystem::status(options.outputDir, error).type();
        if (type == std::filesystem::file_type::not_found) {
            return "the folder " + options.outputDir + " does not exist";
        }
        if (type != std::filesystem::file_type::directory) {
            return options.outputDir + ": --out-dir names " +
                   (error ? "a path that cannot be checked (" + error.message() + ")"
                          : std::string("a file that is not a folder"));
        }
    }
    // No two results may land on one file, and no result on an input.
    std::map<std::string, std::string> writtenBy;
    const auto claim = [&](const std::string& path, const std::string& by) -> std::string {
        std::error_code error;
        const std::string key = std::filesystem::weakly_canonical(path, error).string();
        const auto [at, fresh] = writtenBy.emplace(error ? path : key, by);
        if (fresh) {
            return "";
        }
        if (at->second.empty()) {
            return by + " would overwrite the input " + path;
        }
        return by + " and " + at->second + " would both be written to " + path;
    };
    for (const std::string& input : options.inputs) {
        if (!claim(input, "").empty()) {
            return "the input " + input + " is named twice";
        }
    }
    for (std::size_t look = 0; look < lookCount(options); ++look) {
        const std::string input = labelOf(options, look);
        const std::string output = outputPathFor(options, input);
        std::string problem = checkTextLengths(options.settings, fileNameOf(output));
        if (problem.empty()) {
            problem = claim(output, "the look file of " + input);
        }
        if (problem.empty() && !options.cubeOut.empty()) {
            problem = claim(options.cubeOut, "--cube-out");
        }
        if (!problem.empty()) {
            return problem;
        }
    }
    return "";
}

int runMake(const MakeOptions& options) {
    const InterruptWatch interrupts;
    const std::string& model = options.settings.model;
    const ZelCameraModelInfo* camera = zel_find_camera_model(model.c_str());
    if (options.settings.extendedJob && camera != nullptr && !camera->extendedLayoutCarriesLook) {
        std::cerr << "zelgen: warning: the extended look file of " << model
                  << " carries no look data (that camera's extended layout has none); the "
                     "camera will not apply this look. Use --job standard for a look file "
                     "that holds the look."
                  << std::endl;
    }
    const std::vector<Outcome> outcomes =
        lookCount(options) == 1 ? makeSingle(options) : makeMany(options);
    return reportOutcomes(options, outcomes);
}

}  // namespace zelgen
