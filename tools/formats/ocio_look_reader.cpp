#include "formats/ocio_look_reader.h"

#include <OpenColorIO/OpenColorIO.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "cube_reader/cube_parser.h"

namespace OCIO = OCIO_NAMESPACE;

namespace zelgen {

namespace {

// OpenColorIO reports some faults of a file only as a warning and reads on: an element of a
// CLF file it does not know is skipped. A look missing part of its file is a wrong look, so
// the warnings of a read are gathered and the file is refused on any. OpenColorIO has one
// logging function for the whole process; the one installed here hands a message to the
// read running on the same thread, and passes every other message on as OpenColorIO would.
class WarningCapture {
  public:
    WarningCapture() {
        static std::once_flag installed;
        std::call_once(installed, [] { OCIO::SetLoggingFunction(&WarningCapture::take); });
        active() = &warnings_;
    }
    ~WarningCapture() { active() = nullptr; }
    WarningCapture(const WarningCapture&) = delete;
    WarningCapture& operator=(const WarningCapture&) = delete;

    const std::vector<std::string>& warnings() const { return warnings_; }

  private:
    static std::vector<std::string>*& active() {
        thread_local std::vector<std::string>* capture = nullptr;
        return capture;
    }

    static void take(const char* message) {
        std::vector<std::string>* capture = active();
        const std::string text = message != nullptr ? message : "";
        if (capture == nullptr) {
            std::cerr << text;
            return;
        }
        static constexpr char kWarning[] = "[OpenColorIO Warning]: ";
        if (text.compare(0, sizeof kWarning - 1, kWarning) == 0) {
            capture->push_back(text.substr(sizeof kWarning - 1));
        }
    }

    std::vector<std::string> warnings_;
};

// One line of words: runs of blanks as one space, none before a full stop or a colon that
// ends a sentence, none at either end.
std::string collapseSpaces(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (blank(c) && (out.empty() || out.back() == ' ')) {
            continue;
        }
        const bool endsSentence =
            (c == '.' || c == ':' || c == ',') && (i + 1 == text.size() || blank(text[i + 1]));
        if (endsSentence && !out.empty() && out.back() == ' ') {
            out.pop_back();
        }
        out += blank(c) ? ' ' : c;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) {
        out.pop_back();
    }
    return out;
}

// OpenColorIO's message as a zelgen line: when no reader could take the file, the words of
// the reader for the file's own kind (OpenColorIO lists every reader it tried); the line
// number, where the message gives one, moved into the line's place.
zel::io::CubeParseError errorFor(const std::string& file, std::string message) {
    static const std::string kFailedWith = "failed with: ";
    const std::size_t reader = message.find(kFailedWith);
    if (reader != std::string::npos) {
        message = message.substr(reader + kFailedWith.size());
        message = message.substr(0, message.find("    '"));  // the next reader's words
    }
    static const std::regex kLine(R"(\s*[Aa]t line \(?(\d+)\)?:?|\((\d+)\):)");
    std::size_t line = 0;
    std::smatch found;
    if (std::regex_search(message, found, kLine)) {
        const std::string number = found[1].matched ? found[1].str() : found[2].str();
        if (number.size() < 10) {
            line = static_cast<std::size_t>(std::stoul(number));
        }
        message = found.prefix().str() + " " + found.suffix().str();
    }
    // The file names itself; a path repeated in the reason says nothing more.
    for (const std::string& name : {file, std::filesystem::path(file).filename().string()}) {
        for (std::size_t at = message.find(name); !name.empty() && at != std::string::npos;
             at = message.find(name)) {
            message.erase(at, name.size());
        }
    }
    message = std::regex_replace(message, std::regex(R"(\(\s*\)|''|^\s*:\s*)"), "");
    return zel::io::CubeParseError(file, line, "", collapseSpaces(message));
}

bool isCdlCollection(const std::string& path) {
    std::string kind = std::filesystem::path(path).extension().string();
    std::transform(kind.begin(), kind.end(), kind.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return kind == ".ccc" || kind == ".cdl";
}

// The largest 3D table among a processor's operations (0 when it has none).
unsigned long largestTableGrid(const OCIO::ConstProcessorRcPtr& processor) {
    unsigned long grid = 0;
    const OCIO::GroupTransformRcPtr group = processor->createGroupTransform();
    for (int i = 0; i < group->getNumTransforms(); ++i) {
        const auto table = OCIO::DynamicPtrCast<const OCIO::Lut3DTransform>(group->getTransform(i));
        if (table) {
            grid = std::max(grid, table->getGridSize());
        }
    }
    return grid;
}

// The id of the (first) CDL among a processor's operations.
std::string firstCorrectionId(const OCIO::ConstProcessorRcPtr& processor) {
    const OCIO::GroupTransformRcPtr group = processor->createGroupTransform();
    for (int i = 0; i < group->getNumTransforms(); ++i) {
        const auto cdl = OCIO::DynamicPtrCast<const OCIO::CDLTransform>(group->getTransform(i));
        if (cdl) {
            return cdl->getFormatMetadata().getID();
        }
    }
    return "";
}

// One step of the look with the file it came from, for messages.
struct Step {
    std::string file;
    OCIO::ConstTransformRcPtr transform;
};

// Builds the processor of one step, turning OpenColorIO's exceptions and warnings into the
// file's error.
OCIO::ConstProcessorRcPtr processorOf(const OCIO::ConstConfigRcPtr& config, const Step& step) {
    const WarningCapture capture;
    OCIO::ConstProcessorRcPtr processor;
    try {
        processor = config->getProcessor(step.transform);
    } catch (const OCIO::Exception& e) {
        // A warning before the failure names its cause (the element that was skipped).
        throw errorFor(step.file, capture.warnings().empty() ? std::string(e.what())
                                                             : capture.warnings().front());
    }
    if (!capture.warnings().empty()) {
        throw errorFor(step.file, capture.warnings().front());
    }
    return processor;
}

// The lattice's inputs, node (i, j, k) holding (i, j, k) / (G - 1), then the transform's
// outputs in their place.
zel::io::NodeTable bake(const OCIO::ConstProcessorRcPtr& processor, int grid,
                        const std::string& name) {
    zel::io::NodeTable lattice(grid);
    const auto g = static_cast<std::size_t>(grid);
    const double last = static_cast<double>(grid - 1);
    float* node = lattice.data();
    for (std::size_t i = 0; i < g; ++i) {
        for (std::size_t j = 0; j < g; ++j) {
            for (std::size_t k = 0; k < g; ++k, node += 4) {
                node[0] = static_cast<float>(static_cast<double>(i) / last);
                node[1] = static_cast<float>(static_cast<double>(j) / last);
                node[2] = static_cast<float>(static_cast<double>(k) / last);
                node[3] = 0.0f;
            }
        }
    }
    // Lossless optimisation only: the faster approximations of OpenColorIO's default would
    // move the look by more than a float's step.
    const OCIO::ConstCPUProcessorRcPtr cpu = processor->getOptimizedCPUProcessor(
        OCIO::BIT_DEPTH_F32, OCIO::BIT_DEPTH_F32, OCIO::OPTIMIZATION_LOSSLESS);
    OCIO::PackedImageDesc image(lattice.data(), static_cast<long>(lattice.nodeCount()), 1, 4);
    cpu->apply(image);
    node = lattice.data();
    for (std::size_t n = 0; n < lattice.nodeCount(); ++n, node += 4) {
        if (!std::isfinite(node[0]) || !std::isfinite(node[1]) || !std::isfinite(node[2])) {
            const std::size_t i = n / (g * g);
            const std::size_t j = n / g % g;
            const std::size_t k = n % g;
            throw zel::io::CubeParseError(
                name, 0, "",
                "the transform gives NaN or infinity at the lattice node (" + std::to_string(i) +
                    ", " + std::to_string(j) + ", " + std::to_string(k) + ") of " +
                    std::to_string(grid));
        }
        node[3] = 0.0f;
    }
    return lattice;
}

std::vector<Step> configSteps(const ConfigLook& look, OCIO::ConstConfigRcPtr& config) {
    try {
        config = OCIO::Config::CreateFromFile(look.path.c_str());
    } catch (const OCIO::Exception& e) {
        throw errorFor(look.path, e.what());
    }
    const auto missing = [&](const std::string& what, const std::string& name) {
        return zel::io::CubeParseError(look.path, 0, "",
                                       "the config has no " + what + " '" + name + "'");
    };
    if (config->getColorSpace(look.colorSpace.c_str()) == nullptr) {
        throw missing("colour space", look.colorSpace);
    }
    std::vector<Step> steps;
    if (!look.look.empty()) {
        OCIO::LookTransformRcPtr transform = OCIO::LookTransform::Create();
        transform->setSrc(look.colorSpace.c_str());
        transform->setDst(look.colorSpace.c_str());
        transform->setLooks(look.look.c_str());
        steps.push_back({look.path + " (look " + look.look + ")", transform});
    }
    if (!look.display.empty()) {
        OCIO::DisplayViewTransformRcPtr transform = OCIO::DisplayViewTransform::Create();
        transform->setSrc(look.colorSpace.c_str());
        transform->setDisplay(look.display.c_str());
        transform->setView(look.view.c_str());
        steps.push_back(
            {look.path + " (display " + look.display + ", view " + look.view + ")", transform});
    }
    return steps;
}

}  // namespace

LookRead readThroughOcio(const LookRequest& request) {
    // A file changed since an earlier read in this process is read afresh.
    OCIO::ClearAllCaches();
    OCIO::ConstConfigRcPtr config = OCIO::Config::CreateRaw();
    std::vector<Step> steps;
    std::string remark;
    if (request.config.used()) {
        steps = configSteps(request.config, config);
    }
    for (const std::string& file : request.files) {
        OCIO::FileTransformRcPtr transform = OCIO::FileTransform::Create();
        transform->setSrc(file.c_str());
        // A CDL as the ASC defines it, clamped to 0 to 1 (OpenColorIO's default leaves it
        // unclamped, so a negative value would meet the power).
        transform->setCDLStyle(OCIO::CDL_ASC);
        const bool firstOfCollection = isCdlCollection(file) && request.cdlId.empty();
        // A collection without an id is read at its first correction, which the summary names.
        transform->setCCCId(firstOfCollection ? "0" : request.cdlId.c_str());
        steps.push_back({file, transform});
    }
    unsigned long grid = 0;
    OCIO::GroupTransformRcPtr whole = OCIO::GroupTransform::Create();
    for (const Step& step : steps) {
        const OCIO::ConstProcessorRcPtr processor = processorOf(config, step);
        grid = std::max(grid, largestTableGrid(processor));
        if (isCdlCollection(step.file) && request.cdlId.empty()) {
            remark += (remark.empty() ? "" : "; ") + std::string("used the first correction") +
                      " of " + std::filesystem::path(step.file).filename().string() + " ('" +
                      firstCorrectionId(processor) + "'; --cdl-id chooses another)";
        }
        whole->appendTransform(step.transform->createEditableCopy());
    }
    const Step composed{steps.size() == 1 ? steps[0].file : std::string("the chain"), whole};
    const OCIO::ConstProcessorRcPtr processor = processorOf(config, composed);
    int size = request.gridSize;
    if (size == 0) {
        size = grid == 0
                   ? kDefaultLookGrid
                   : static_cast<int>(std::min<unsigned long>(grid, zel::io::kLargestGridSize));
    }
    return {bake(processor, size, composed.file), remark};
}

std::string ocioLibraryVersion() {
    return OCIO::GetVersion();
}

}  // namespace zelgen
