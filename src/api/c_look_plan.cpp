#include "api/c_look_plan.h"

#include <cstddef>
#include <string>

#include "api/c_look_rows.h"
#include "platform/time_stamp.h"
#include "settings/camera_models.h"

namespace zel {

namespace {

// The size of a zel_look_input from hosts built before it carried the time stamp.
constexpr std::size_t kSizeBeforeCreated = offsetof(zel_look_input, created);

std::string textOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

// The struct size, and the time stamp of hosts whose structure has one.
Failure readCreated(const zel_look_input& in, LookPlan& plan) {
    if (in.struct_size < kSizeBeforeCreated) {
        return fail(ZEL_ERROR_ARGUMENT, "struct_size must be sizeof(zel_look_input), " +
                                            std::to_string(sizeof(zel_look_input)));
    }
    if (in.struct_size >= sizeof(zel_look_input)) {
        plan.request.created = textOf(in.created);
        if (!plan.request.created.empty() && !platform::parseTimeStamp(plan.request.created)) {
            return fail(ZEL_ERROR_ARGUMENT, "created \"" + plan.request.created +
                                                "\" is not a date and time "
                                                "YYYY-MM-DD HH:MM:SS");
        }
    }
    return {};
}

Failure checkSelectors(const zel_look_input& in) {
    if (in.order != ZEL_ORDER_RED_FASTEST && in.order != ZEL_ORDER_BLUE_FASTEST) {
        return fail(ZEL_ERROR_ARGUMENT, "order " + std::to_string(in.order) + " is not known");
    }
    if (in.source < ZEL_SOURCE_QENC3 || in.source > ZEL_SOURCE_ACESCCT) {
        return fail(ZEL_ERROR_ARGUMENT, "source " + std::to_string(in.source) + " is not known");
    }
    if (in.output < ZEL_OUTPUT_REC709 || in.output > ZEL_OUTPUT_HLG) {
        return fail(ZEL_ERROR_ARGUMENT, "output " + std::to_string(in.output) + " is not known");
    }
    if (in.range != ZEL_RANGE_FULL && in.range != ZEL_RANGE_LEGAL) {
        return fail(ZEL_ERROR_ARGUMENT, "range " + std::to_string(in.range) + " is not known");
    }
    if (in.job < ZEL_LAYOUT_BY_CAMERA || in.job > ZEL_LAYOUT_EXTENDED) {
        return fail(ZEL_ERROR_ARGUMENT, "job " + std::to_string(in.job) + " is not known");
    }
    if ((in.options & ~(ZEL_OPTION_LONG_CHAIN | ZEL_OPTION_FULL_DOMAIN)) != 0) {
        return fail(ZEL_ERROR_ARGUMENT, "options holds unknown bits");
    }
    return {};
}

// "A, B or C": the models of the table.
std::string knownCameras() {
    std::string names;
    for (std::size_t i = 0; const CameraModel* model = cameraModelAt(i); ++i) {
        names += (i > 0 ? ", " : "") + std::string(model->info.name);
    }
    return names;
}

// The camera, the layout its job takes and the options.
Failure chooseCamera(const zel_look_input& in, LookRequest& request, const CameraModel*& model) {
    request.model = textOf(in.camera);
    model = findCameraModel(request.model);
    if (model == nullptr) {
        return fail(ZEL_ERROR_ARGUMENT,
                    "camera \"" + request.model + "\" is not one of " + knownCameras());
    }
    request.extendedJob = in.job == ZEL_LAYOUT_BY_CAMERA ? model->info.extendedIsDefault
                                                         : in.job == ZEL_LAYOUT_EXTENDED;
    request.longChain = (in.options & ZEL_OPTION_LONG_CHAIN) != 0;
    request.fullDomain = (in.options & ZEL_OPTION_FULL_DOMAIN) != 0;
    if (request.fullDomain && request.extendedJob) {
        return fail(ZEL_ERROR_ARGUMENT,
                    "the full-domain option applies to the standard layout only");
    }
    request.source = static_cast<std::uint8_t>(in.source);
    request.curve = static_cast<std::uint8_t>(in.output);
    request.range = static_cast<std::uint8_t>(in.range);
    return {};
}

const char* fieldOf(LookText text) {
    switch (text) {
        case LookText::name:
            return "name";
        case LookText::note:
            return "note";
        case LookText::secondName:
            return "second_name";
        case LookText::lookText:
            return "look_text";
        case LookText::headerText:
            return "header_text";
        case LookText::headerTag:
            return "header_tag";
    }
    return "a text";
}

// The texts, each within the room the camera's look file gives it.
Failure readTexts(const zel_look_input& in, const CameraModel& model, LookPlan& plan) {
    plan.name = textOf(in.name);
    LookTexts& texts = plan.request.texts;
    texts.note = textOf(in.note);
    texts.secondName = textOf(in.second_name);
    texts.lookText = textOf(in.look_text);
    texts.headerText = textOf(in.header_text);
    texts.headerTag = textOf(in.header_tag);
    if (const std::optional<TextTooLong> tooLong =
            findTextTooLong(model, plan.request, plan.name)) {
        return fail(ZEL_ERROR_ARGUMENT,
                    std::string(fieldOf(tooLong->text)) + " is " + std::to_string(tooLong->length) +
                        " bytes long; the look file has room for " + std::to_string(tooLong->room));
    }
    return {};
}

// The grid and the host's rows as the job's node table.
Failure readRows(const zel_look_input& in, LookPlan& plan) {
    if (in.grid_size < kSmallestGridSize || in.grid_size > kLargestGridSize) {
        return fail(ZEL_ERROR_ARGUMENT,
                    "grid_size " + std::to_string(in.grid_size) + " is outside 2 to 255");
    }
    if (in.lut == nullptr) {
        return fail(ZEL_ERROR_ARGUMENT, "no lut");
    }
    plan.gridSize = in.grid_size;
    plan.order = in.order;
    return nodesFromRows(in.lut, in.grid_size, in.order, plan.nodes);
}

}  // namespace

Failure planLook(const zel_look_input* in, LookPlan& plan) {
    if (in == nullptr) {
        return fail(ZEL_ERROR_ARGUMENT, "no input");
    }
    const CameraModel* model = nullptr;
    Failure failure = readCreated(*in, plan);
    if (failure.code == ZEL_OK) {
        failure = checkSelectors(*in);
    }
    if (failure.code == ZEL_OK) {
        failure = chooseCamera(*in, plan.request, model);
    }
    if (failure.code == ZEL_OK) {
        failure = readTexts(*in, *model, plan);
    }
    if (failure.code == ZEL_OK) {
        failure = readRows(*in, plan);
    }
    return failure;
}

}  // namespace zel
