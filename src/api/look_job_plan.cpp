#include "api/look_job_plan.h"

#include <algorithm>
#include <cstring>

#include "api/job_hooks.h"
#include "api/look_file_image.h"

namespace zel {

namespace {

template <std::size_t N>
void copyText(char (&field)[N], const std::string& text) {
    std::memcpy(field, text.data(), std::min(text.size(), N));
}

std::size_t roomOf(int room) {
    return room > 0 ? static_cast<std::size_t>(room) : 0;
}

void fillInput(ZelGenInput& input, const LookRequest& request, const std::string& name,
               int gridSize, const float* nodes) {
    input.sourceEncoding = request.source;
    input.outputCurve = request.curve;
    input.outputRange = request.range;
    copyText(input.modelName, request.model);
    copyText(input.lookFileName, name);
    copyText(input.fileHeaderText, request.texts.headerText);
    copyText(input.fileHeaderTag, request.texts.headerTag);
    copyText(input.lookHeaderText, request.texts.lookText);
    copyText(input.lookHeaderNote, request.texts.note);
    // The standard job reads the short field, the extended job the long one; the short one
    // holds what fits a standard file.
    const CameraModel* model = findCameraModel(request.model);
    const std::size_t shortRoom =
        model != nullptr ? roomOf(model->info.secondNameRoom) : sizeof input.metadataName;
    copyText(input.metadataName, request.texts.secondName.substr(0, shortRoom));
    copyText(input.metadataNameLong, request.texts.secondName);
    input.gridSize = static_cast<std::uint8_t>(gridSize);
    input.nodeValues = nodes;
    input.flags = (request.longChain ? ZelGenInput::kLongChainFlag : 0u) |
                  (request.fullDomain ? ZelGenInput::kFullDomainFlag : 0u);
}

}  // namespace

std::optional<TextTooLong> findTextTooLong(const CameraModel& model, const LookRequest& request,
                                           const std::string& name) {
    const ZelCameraModelInfo& info = model.info;
    struct Text {
        LookText which;
        const std::string& text;
        int room;
    };
    const Text texts[] = {
        {LookText::name, name, info.lookFileNameRoom},
        {LookText::note, request.texts.note, info.noteRoom},
        {LookText::secondName, request.texts.secondName,
         request.extendedJob ? info.extendedSecondNameRoom : info.secondNameRoom},
        {LookText::lookText, request.texts.lookText, info.lookTextRoom},
        {LookText::headerText, request.texts.headerText, info.headerTextRoom},
        {LookText::headerTag, request.texts.headerTag, info.headerTagRoom},
    };
    for (const Text& text : texts) {
        if (text.text.size() > roomOf(text.room)) {
            return TextTooLong{text.which, text.text.size(), roomOf(text.room)};
        }
    }
    return std::nullopt;
}

LookJob::LookJob(const LookRequest& request, const std::string& name, int gridSize,
                 const float* nodes, float* reindexedNodes)
    : created_(request.created) {
    fillInput(input_, request, name, gridSize, nodes);
    float** reindexTarget = nullptr;
    if (request.extendedJob) {
        extended_ = std::make_unique<ZelGenOutputExtended>();
        reindexTarget = request.source == 0 ? &extended_->floatLut : &extended_->floatLutFilm;
    } else {
        standard_ = std::make_unique<ZelGenOutput>();
        reindexTarget = request.source == 0 ? &standard_->floatLut : &standard_->floatLutFilm;
    }
    if (returnsReindexedLook(request.source)) {
        *reindexTarget = reindexedNodes;
        reindexedLookWanted_ = reindexedNodes != nullptr;
    }
}

bool LookJob::prepare(ZelGenerator& generator) const {
    generator.zel_initialize();
    detail::GeneratorAccess::setReindexedLookWanted(generator, reindexedLookWanted_);
    return generator.zel_set_time_stamp(created_.c_str());
}

void LookJob::run(ZelGenerator& generator) {
    if (extended_ != nullptr) {
        generator.zel_exec(input_, *extended_);
    } else {
        generator.zel_exec(input_, *standard_);
    }
}

void LookJob::start(ZelGenerator& generator) {
    if (extended_ != nullptr) {
        generator.zel_exec_async(input_, *extended_);
    } else {
        generator.zel_exec_async(input_, *standard_);
    }
}

bool LookJob::takeLookFile(std::vector<std::uint8_t>& file) const {
    return extended_ != nullptr ? zel::takeLookFile(*extended_, file)
                                : zel::takeLookFile(*standard_, file);
}

std::string LookJob::cubeHeader() const {
    const char* header = extended_ != nullptr ? extended_->cubeHeader : standard_->cubeHeader;
    constexpr std::size_t kRoom = sizeof ZelGenOutput::cubeHeader;
    return std::string(header, strnlen(header, kRoom));
}

}  // namespace zel
