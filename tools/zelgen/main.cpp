// zelgen: turns a creative look (.cube and the other LUT and CDL files) into a look file the
// camera loads, and shows what a look file holds.

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "check/check_command.h"
#include "check/preview_command.h"
#include "formats/look_reader.h"
#include "zel/camera_models.h"
#include "zelgen/camera_help.h"
#include "zelgen/created_option.h"
#include "zelgen/inspect_command.h"
#include "zelgen/make_command.h"

#ifndef ZELGEN_VERSION
#define ZELGEN_VERSION "unknown"
#endif

namespace {

const std::map<std::string, std::uint8_t> kSources{
    {"qenc3", 0}, {"qenc3-film", 1}, {"acescc", 2}, {"acescct", 3}};
const std::map<std::string, std::uint8_t> kOutputs{{"rec709", 0}, {"pq", 1}, {"hlg", 2}};
const std::map<std::string, std::uint8_t> kRanges{{"full", 0}, {"legal", 1}};

constexpr char kMakeDescriptionHead[] =
    "Make a camera look file from a look: a 3D LUT in .cube form, another LUT or CDL\n"
    "file, a chain of them, or a look of a colour-management config.\n\n"
    "The LUT must be graded for the camera's log encoding (--source) and deliver the\n"
    "picture the camera shall record (--output, --range). Any grid size from 2 to 255\n"
    "works (17, 33 and 65 are usual). Examples:\n\n";

constexpr char kEncodingsHelp[] =
    "\nEncodings:\n"
    "  --source   qenc3 (Q-Enc3/Q-Prims3), qenc3-film (Q-Enc3/Q-Prims3.Film),\n"
    "             acescc, acescct\n"
    "  --output   rec709 (Rec.709), pq (Rec.2100 PQ), hlg (Rec.2100 HLG)\n";

constexpr char kFormatsHelp[] =
    "\nLooks in other forms (.3dl, .clf, .ctf, .csp, .spi3d, .spi1d, CDL .cc/.ccc/.cdl, and\n"
    ".cube files of other dialects) are evaluated through OpenColorIO on the look's lattice:\n"
    "a 3D table at its own grid size, 1D tables and CDLs at --grid (default 33).\n"
    "  zelgen make grade.cc show.cube --chain -o look.zel     (the grade, then the LUT)\n"
    "  zelgen make --ocio-config config.ocio --colorspace \"ACES - ACEScct\" --look Show \\\n"
    "    --source acescct -o look.zel\n"
    "--colorspace names the config's colour space that is the look's --source encoding.\n"
    "\nA .cube file may hold a 1D shaper (LUT_1D_SIZE, LUT_1D_INPUT_RANGE) before its 3D\n"
    "table; both are sampled onto the look's lattice (trilinear in the 3D table) at the 3D\n"
    "table's grid size or the one --grid gives.\n"
    "\nTexts and their room in the look file (longer texts are refused):\n";

constexpr char kFooterTail[] =
    "  The look's LUT name in the metadata is \"LUT:\" and the start of --note.\n"
    "\n--cube-out writes the look re-indexed for the other Q-Enc3 gamut (Q-Enc3 sources).\n"
    "The look file carries its creation time: --created, else SOURCE_DATE_EPOCH (seconds\n"
    "since 1970, read as UTC) when set, else the local time; the first two make the same\n"
    "job give the same bytes.\n"
    "Ctrl-C cancels cleanly: no partial file is left behind.\n"
    "Exit status: 0 done, 1 a look failed or could not be read, 2 usage, 130 cancelled.";

constexpr char kInspectDescription[] =
    "Show what a look file holds: camera model, look name, encodings, range, grid size,\n"
    "creation time, the metadata blocks and a check of the register data.\n"
    "Exits with 1 when the file is damaged.";

constexpr char kCheckDescription[] =
    "Will the camera show the look? Decodes the look file's cubes, 1D LUTs and matrices and\n"
    "reports which cubes carry data, the share of cube nodes at black or full scale (what\n"
    "the camera clips) and whether the 1D LUTs rise. Makes the look file again with the\n"
    "settings its headers name and compares the body byte for byte: with --look every word,\n"
    "without it everything but the look's own words. With --look, also renders the source\n"
    "look and the camera's blocks over the same colours and reports the difference in code\n"
    "values and CIEDE2000. The last line is the verdict; exits with 1 when the file is\n"
    "damaged or the camera misses the look's limits.";

constexpr char kPreviewDescription[] =
    "Write a PNG that shows the look three times: as the source look renders it, as the\n"
    "camera's decoded blocks render it, and their difference amplified ten times. The chart\n"
    "holds a grey ramp, hue sweeps at three saturations and exposures and the reference\n"
    "colours; --image shows your own frame (code values in the look's source encoding).\n"
    "One pass is shown, labelled with the input it reads: --pass N, by default the pass where\n"
    "the camera departs most from the look; the largest difference is marked.";

// make's help: its description with examples, and its footer, naming the camera models the
// library's table holds.
std::string makeDescription() {
    return kMakeDescriptionHead + zelgen::makeExamples();
}

std::string makeFooter() {
    return kEncodingsHelp + zelgen::jobHelp() + kFormatsHelp + zelgen::textRoomsHelp() +
           kFooterTail;
}

struct Choices {
    std::string source = "qenc3";
    std::string output = "rec709";
    std::string range = "full";
    std::string job;
};

// How the look is read: chains, CDL collections and colour-management configs.
void addLookSourceOptions(CLI::App& make, zelgen::MakeOptions& options) {
    make.add_flag("--chain", options.chain,
                  "Compose the looks named into one, applied in the order given");
    make.add_option("--cdl-id", options.cdlId,
                    "The correction of a CDL collection (.ccc, .cdl); default: its first");
    zelgen::ConfigLook& config = options.config;
    make.add_option("--ocio-config", config.path,
                    "Bake a look or view of this colour-management config");
    make.add_option("--colorspace", config.colorSpace,
                    "The config's colour space that is the look's source encoding");
    make.add_option("--look", config.look, "The config's look to bake");
    make.add_option("--display", config.display, "The config's display (with --view)");
    make.add_option("--view", config.view, "The config's view to bake (with --display)");
}

void addMakeOptions(CLI::App& make, zelgen::MakeOptions& options, Choices& choices) {
    make.add_option("LOOK", options.inputs,
                    "The look(s): .cube, .3dl, .clf, .ctf, .csp, .spi3d, .spi1d, .cc, .ccc, .cdl");
    make.add_option("-o,--out", options.output, "Look file to write (one input); names the look");
    make.add_option("--out-dir", options.outputDir, "Folder for the look files, one per input");
    make.add_option("--camera", options.settings.model, "Camera body the look is for")
        ->required()
        ->check(CLI::IsMember(zelgen::cameraNames()));
    make.add_option("--source", choices.source, "Encoding the LUT expects as its input")
        ->check(CLI::IsMember({"qenc3", "qenc3-film", "acescc", "acescct"}))
        ->capture_default_str();
    make.add_option("--output", choices.output, "What the camera records: Rec.709, PQ or HLG")
        ->check(CLI::IsMember({"rec709", "pq", "hlg"}))
        ->capture_default_str();
    make.add_option("--range", choices.range, "Output signal range")
        ->check(CLI::IsMember({"full", "legal"}))
        ->capture_default_str();
    make.add_option("--job", choices.job, "Look file layout (default: by camera)")
        ->check(CLI::IsMember({"standard", "extended"}));
    make.add_flag("--long-chain", options.settings.longChain,
                  "Use the camera's longer processing chain");
    make.add_flag("--full-domain", options.settings.fullDomain,
                  "Cubes span the full code range (standard)");
    make.add_option("--cube-out", options.cubeOut, "Also write the re-indexed look as .cube");
    make.add_option("--note", options.settings.texts.note,
                    "Look note; its start names the look's LUT");
    make.add_option("--second-name", options.settings.texts.secondName,
                    "Second LUT name of the metadata");
    make.add_option("--look-text", options.settings.texts.lookText, "Free text of the look header");
    make.add_option("--header-text", options.settings.texts.headerText, "Text of the file header");
    make.add_option("--header-tag", options.settings.texts.headerTag, "Tag of the file header");
    make.add_option("--grid", options.gridSize,
                    "Grid size of the look's lattice (default: the 3D table's, else 33)")
        ->check(CLI::Range(2, 255));
    make.add_option("--created", options.settings.created,
                    "Time stamp \"YYYY-MM-DD HH:MM:SS\" (default: SOURCE_DATE_EPOCH, else now)");
    addLookSourceOptions(make, options);
    make.add_flag("-q,--quiet", options.quiet, "No progress bar, no list of written files");
    make.add_flag("--verbose", options.verbose, "Also show the library's own console lines");
}

// A report that did not reach standard output (a full disk, a closed pipe) is a failure,
// whatever the command found: say so and exit 1 rather than 0.
int checkStandardOutput(int status) {
    errno = 0;
    std::cout.flush();
    if (std::cout) {
        return status;
    }
    std::cerr << "zelgen: cannot write the report to standard output"
              << (errno != 0 ? std::string(" (") + std::strerror(errno) + ")" : std::string())
              << std::endl;
    return status == zelgen::kExitSuccess ? zelgen::kExitFailed : status;
}

struct InspectCommand {
    CLI::App* app = nullptr;
    std::string path;
    bool json = false;
};

struct CheckCommand {
    CLI::App* app = nullptr;
    std::string path;
    std::string look;
    bool json = false;
};

struct PreviewCommand {
    CLI::App* app = nullptr;
    std::string path;
    std::string look;
    std::string out;
    std::string image;
    int pass = -1;
};

void addInspect(CLI::App& app, InspectCommand& inspect) {
    inspect.app = app.add_subcommand("inspect", kInspectDescription);
    inspect.app->add_option("LOOK.zel", inspect.path, "The look file to show")->required();
    inspect.app->add_flag("--json", inspect.json, "Print JSON instead of a report");
}

void addCheck(CLI::App& app, CheckCommand& check) {
    check.app = app.add_subcommand("check", kCheckDescription);
    check.app->add_option("LOOK.zel", check.path, "The look file to check")->required();
    check.app->add_option("--look", check.look,
                          "The source look (.cube) to compare the camera with");
    check.app->add_flag("--json", check.json, "Print JSON instead of a report");
}

void addPreview(CLI::App& app, PreviewCommand& preview) {
    preview.app = app.add_subcommand("preview", kPreviewDescription);
    preview.app->add_option("LOOK.zel", preview.path, "The look file to show")->required();
    preview.app->add_option("--look", preview.look, "The source look (.cube)")->required();
    preview.app->add_option("-o,--out", preview.out, "The PNG picture to write")->required();
    preview.app->add_option("--image", preview.image,
                            "Your own frame (8- or 16-bit PNG in the look's source encoding)");
    preview.app
        ->add_option("--pass", preview.pass,
                     "The pass to show (default: the one where the camera departs most from "
                     "the look; with --image, the one that reads the look's own gamut)")
        ->check(CLI::Range(0, 2));
}

// The command word CLI11 would only call missing, named; true when it is not one of ours.
bool unknownCommand(int argc, char** argv) {
    if (argc <= 1 || argv[1][0] == '-') {
        return false;
    }
    const std::string word = argv[1];
    if (word == "make" || word == "inspect" || word == "check" || word == "preview") {
        return false;
    }
    std::cerr << "zelgen: '" << word
              << "' is not a zelgen command; the commands are make, inspect, check and "
                 "preview\n"
                 "Run 'zelgen --help' or 'zelgen make --help'."
              << std::endl;
    return true;
}

// Parses the command line; an exit status when the run ends here (help, version, a usage
// error), else nothing.
std::optional<int> parseArguments(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "zelgen: " << e.what() << "\nRun 'zelgen --help' or 'zelgen make --help'."
                  << std::endl;
        return zelgen::kExitUsage;
    }
    return std::nullopt;
}

// make, once its words are turned into the job's settings and checked.
int runMakeCommand(zelgen::MakeOptions& makeOptions, const Choices& choices) {
    zelgen::LookJobSettings& settings = makeOptions.settings;
    settings.source = kSources.at(choices.source);
    settings.curve = kOutputs.at(choices.output);
    settings.range = kRanges.at(choices.range);
    const ZelCameraModelInfo* camera = zel_find_camera_model(settings.model.c_str());
    settings.extendedJob = choices.job.empty() ? camera != nullptr && camera->extendedIsDefault
                                               : choices.job == "extended";
    const zelgen::CreatedTime created =
        zelgen::resolveCreatedTime(settings.created, std::getenv("SOURCE_DATE_EPOCH"));
    if (!created.problem.empty()) {
        std::cerr << "zelgen: " << created.problem << std::endl;
        return zelgen::kExitUsage;
    }
    settings.created = created.text;
    const std::string problem = zelgen::checkMakeOptions(makeOptions);
    if (!problem.empty()) {
        std::cerr << "zelgen: " << problem << std::endl;
        return zelgen::kExitUsage;
    }
    return zelgen::runMake(makeOptions);
}

int runZelgen(int argc, char** argv) {
    CLI::App app{"zelgen turns creative looks (.cube 3D LUTs) into camera look files."};
    app.name("zelgen");
    const std::string ocio = zelgen::openColorIoVersion();
    app.set_version_flag("--version", std::string("zelgen ") + ZELGEN_VERSION + "\nreads " +
                                          (ocio.empty() ? ".cube looks (built without OpenColorIO)"
                                                        : "every look format through " + ocio));
    app.require_subcommand(1);

    zelgen::MakeOptions makeOptions;
    Choices choices;
    CLI::App* make = app.add_subcommand("make", makeDescription());
    addMakeOptions(*make, makeOptions, choices);
    make->footer(makeFooter());
    InspectCommand inspect;
    addInspect(app, inspect);
    CheckCommand check;
    addCheck(app, check);
    PreviewCommand preview;
    addPreview(app, preview);

    if (unknownCommand(argc, argv)) {
        return zelgen::kExitUsage;
    }
    if (const std::optional<int> ended = parseArguments(app, argc, argv)) {
        return *ended;
    }
    try {
        if (preview.app->parsed()) {
            return zelgen::runPreview(preview.path, preview.look, preview.out, preview.image,
                                      preview.pass);
        }
        if (check.app->parsed()) {
            return zelgen::runCheck(check.path, check.look, check.json);
        }
        if (inspect.app->parsed()) {
            return zelgen::runInspect(inspect.path, inspect.json);
        }
        return runMakeCommand(makeOptions, choices);
    } catch (const std::exception& e) {
        std::cerr << "zelgen: " << e.what() << std::endl;
        return zelgen::kExitFailed;
    }
}

}  // namespace

int main(int argc, char** argv) {
    return checkStandardOutput(runZelgen(argc, argv));
}
