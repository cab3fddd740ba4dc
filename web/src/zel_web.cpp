// The interface of the WebAssembly module to the page's worker: the camera table, one look
// made as `zelgen make` makes it, and zelgen's check and preview of a made look. Files are
// named by paths of the module's file system: the page mounts the user's files read in place
// (never copied whole) and takes the results from the output folder. Every call answers in
// JSON; failures are zelgen's words, never exceptions thrown into the page.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "api/job_hooks.h"
#include "check/check_command.h"
#include "check/preview_command.h"
#include "cube/cube_writer.h"
#include "cube_reader/cube_parser.h"
#include "cube_reader/look_lattice.h"
#include "formats/look_reader.h"
#include "output_capture.h"
#include "whole_file.h"
#include "zel/camera_models.h"
#include "zelgen/look_job.h"
#include "zelgen/make_command.h"

namespace {

using nlohmann::json;

json cameraTable() {
    json models = json::array();
    for (int i = 0; const ZelCameraModelInfo* model = zel_camera_model_at(i); ++i) {
        models.push_back({{"name", model->name},
                          {"standardLayoutFits", model->standardLayoutFits},
                          {"extendedLayoutCarriesLook", model->extendedLayoutCarriesLook},
                          {"extendedIsDefault", model->extendedIsDefault}});
    }
    return models;
}

std::string cameraModels() {
    return cameraTable().dump();
}

zelgen::MakeOptions optionsFrom(const json& settings) {
    zelgen::MakeOptions options;
    options.inputs = {settings.at("input").get<std::string>()};
    options.output = settings.at("output").get<std::string>();
    options.cubeOut = settings.value("cubeOut", std::string());
    options.gridSize = settings.value("grid", 0);
    zelgen::LookJobSettings& job = options.settings;
    job.model = settings.at("model").get<std::string>();
    job.source = settings.value("source", std::uint8_t{0});
    job.curve = settings.value("curve", std::uint8_t{0});
    job.range = settings.value("range", std::uint8_t{0});
    job.extendedJob = settings.value("extended", false);
    job.longChain = settings.value("longChain", false);
    job.fullDomain = settings.value("fullDomain", false);
    job.texts.note = settings.value("note", std::string());
    job.texts.secondName = settings.value("secondName", std::string());
    job.texts.lookText = settings.value("lookText", std::string());
    job.texts.headerText = settings.value("headerText", std::string());
    job.texts.headerTag = settings.value("headerTag", std::string());
    return options;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void writeFile(const std::string& path, const void* data, std::size_t size) {
    if (!zelweb::writeWholeFile(path, data, size)) {
        throw std::runtime_error(path + ": cannot write the file");
    }
}

// One look: the .cube file read, the job run (progress reported to `progress`, a function
// taking 0 to 100), the look file and the re-indexed .cube written. The creation time, when
// given as [year, month, day, hour, minute, second], replaces the machine's clock.
json makeOne(const json& settings, const emscripten::val& progress) {
    const zelgen::MakeOptions options = optionsFrom(settings);
    const std::string& input = options.inputs[0];
    const std::string problem = zelgen::checkMakeOptions(options);
    if (!problem.empty()) {
        return {{"ok", false}, {"message", problem}};
    }
    zel::detail::JobHooks hooks;
    hooks.onProgress = [&progress](int value, ZelEnum::ZEL_STATUS) { progress(value); };
    if (settings.contains("created") && settings["created"].is_array()) {
        const std::vector<int> t = settings["created"].get<std::vector<int>>();
        if (t.size() == 6) {
            hooks.clock = [t] {
                return zel::platform::LocalTime{t[0], t[1], t[2], t[3], t[4], t[5]};
            };
        }
    }
    ZelGenerator generator;
    zel::detail::GeneratorAccess::setHooks(generator, &hooks);
    try {
        // The look reader zelgen uses, so a file is refused in the same words.
        zelgen::LookRequest request;
        request.files = {input};
        request.gridSize = options.gridSize;
        zel::io::NodeTable lattice = std::move(zelgen::readLook(request).lattice);
        const zelgen::JobWatch watch{false, nullptr, nullptr};
        zelgen::LookJobResult job =
            zelgen::runLookJob(generator, options.settings, lattice, fileNameOf(options.output),
                               watch, !options.cubeOut.empty());
        if (job.end != zelgen::LookJobResult::End::done) {
            return {{"ok", false}, {"message", input + ": " + job.failure}};
        }
        std::string summary;
        try {
            summary = zelgen::fidelitySummary(job.lookFile, lattice);
        } catch (const std::exception& e) {
            summary = std::string("fidelity: not measured (") + e.what() + ")";
        }
        writeFile(options.output, job.lookFile.data(), job.lookFile.size());
        if (!options.cubeOut.empty()) {
            const std::string cube =
                zelgen::formatCubeText(job.cubeHeader, job.gridSize, job.reindexedNodes.data());
            writeFile(options.cubeOut, cube.data(), cube.size());
        }
        return {{"ok", true}, {"summary", summary}, {"grid", job.gridSize}};
    } catch (const zel::io::CubeParseError& e) {
        json failure = {{"ok", false}, {"message", std::string("cannot use ") + e.what()}};
        failure["line"] = e.lineNumber();
        return failure;
    } catch (const std::bad_alloc&) {
        return {{"ok", false}, {"message", input + ": there was not enough memory"}};
    } catch (const std::exception& e) {
        return {{"ok", false}, {"message", e.what()}};
    }
}

std::string makeLook(const std::string& settingsText, emscripten::val progress) {
    try {
        return makeOne(json::parse(settingsText), progress).dump();
    } catch (const std::exception& e) {
        return json{{"ok", false}, {"message", e.what()}}.dump();
    }
}

// zelgen check --json: the exit status, the report and what went to the error stream.
std::string checkLook(const std::string& lookFile, const std::string& sourceLook) {
    std::string out;
    std::string err;
    int status = 1;
    {
        zelweb::OutputCapture outCapture(std::cout);
        zelweb::OutputCapture errCapture(std::cerr);
        status = zelgen::runCheck(lookFile, sourceLook, true);
        out = outCapture.text();
        err = errCapture.text();
    }
    json answer = {{"status", status}, {"message", err}};
    answer["report"] = json::parse(out, nullptr, false);
    return answer.dump();
}

// zelgen preview: the picture written as raw pixels to `output`.
std::string previewLook(const std::string& lookFile, const std::string& sourceLook,
                        const std::string& output, const std::string& image) {
    std::string err;
    int status = 1;
    {
        zelweb::OutputCapture errCapture(std::cerr);
        status = zelgen::runPreview(lookFile, sourceLook, output, image);
        err = errCapture.text();
    }
    return json{{"status", status}, {"message", err}}.dump();
}

}  // namespace

EMSCRIPTEN_BINDINGS(zel_web) {
    emscripten::function("cameraModels", &cameraModels);
    emscripten::function("makeLook", &makeLook);
    emscripten::function("checkLook", &checkLook);
    emscripten::function("previewLook", &previewLook);
}
