#include "api/c_look_plan.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>

#include "api/c_look_rows.h"
#include "platform/time_stamp.h"

namespace zel {

namespace {

// The size of a zel_look_input from hosts built before it carried the time stamp.
constexpr std::size_t kSizeBeforeCreated = offsetof(zel_look_input, created);

// The room the look file gives each text (the input fields are wider).
constexpr std::size_t kNameRoom = 128;
constexpr std::size_t kNoteRoom = 128;
constexpr std::size_t kLookTextRoom = 512;
constexpr std::size_t kHeaderTextRoom = 32;
constexpr std::size_t kHeaderTagRoom = 16;
// The second LUT name: 28 bytes in a standard file and in the extended file of a
// first-generation body, 59 in the extended files of CAMB-002 and CAMA-001.
constexpr std::size_t kSecondNameRoom = 28;
constexpr std::size_t kSecondNameLongRoom = 59;

constexpr const char* kCameras[] = {"CAMB-001", "CAMB-002", "CAMA-001"};

std::string textOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

template <std::size_t N>
void copyText(char (&field)[N], const std::string& text) {
    std::memcpy(field, text.data(), std::min(text.size(), N));
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

}  // namespace

Failure planLook(const zel_look_input* in, LookPlan& plan) {
    if (in == nullptr) {
        return fail(ZEL_ERROR_ARGUMENT, "no input");
    }
    if (in->struct_size < kSizeBeforeCreated) {
        return fail(ZEL_ERROR_ARGUMENT, "struct_size must be sizeof(zel_look_input), " +
                                            std::to_string(sizeof(zel_look_input)));
    }
    if (in->struct_size >= sizeof(zel_look_input)) {
        plan.created = textOf(in->created);
        if (!plan.created.empty() && !platform::parseTimeStamp(plan.created)) {
            return fail(ZEL_ERROR_ARGUMENT, "created \"" + plan.created +
                                                "\" is not a date and time "
                                                "YYYY-MM-DD HH:MM:SS");
        }
    }
    const Failure selectors = checkSelectors(*in);
    if (selectors.code != ZEL_OK) {
        return selectors;
    }
    const std::string camera = textOf(in->camera);
    if (std::find(std::begin(kCameras), std::end(kCameras), camera) == std::end(kCameras)) {
        return fail(ZEL_ERROR_ARGUMENT,
                    "camera \"" + camera + "\" is not one of CAMB-001, CAMB-002, CAMA-001");
    }
    plan.extended =
        in->job == ZEL_LAYOUT_BY_CAMERA ? camera == "CAMB-002" : in->job == ZEL_LAYOUT_EXTENDED;
    const bool fullDomain = (in->options & ZEL_OPTION_FULL_DOMAIN) != 0;
    if (fullDomain && plan.extended) {
        return fail(ZEL_ERROR_ARGUMENT,
                    "the full-domain option applies to the standard layout only");
    }

    const bool longNames = camera == "CAMB-002" || camera == "CAMA-001";
    const std::size_t secondNameRoom =
        plan.extended && longNames ? kSecondNameLongRoom : kSecondNameRoom;
    struct Text {
        const char* what;
        std::string text;
        std::size_t room;
    };
    const Text texts[] = {
        {"name", textOf(in->name), kNameRoom},
        {"note", textOf(in->note), kNoteRoom},
        {"second_name", textOf(in->second_name), secondNameRoom},
        {"look_text", textOf(in->look_text), kLookTextRoom},
        {"header_text", textOf(in->header_text), kHeaderTextRoom},
        {"header_tag", textOf(in->header_tag), kHeaderTagRoom},
    };
    for (const Text& text : texts) {
        if (text.text.size() > text.room) {
            return fail(ZEL_ERROR_ARGUMENT,
                        std::string(text.what) + " is " + std::to_string(text.text.size()) +
                            " bytes long; the look file has room for " + std::to_string(text.room));
        }
    }

    if (in->grid_size < kSmallestGridSize || in->grid_size > kLargestGridSize) {
        return fail(ZEL_ERROR_ARGUMENT,
                    "grid_size " + std::to_string(in->grid_size) + " is outside 2 to 255");
    }
    if (in->lut == nullptr) {
        return fail(ZEL_ERROR_ARGUMENT, "no lut");
    }
    plan.gridSize = in->grid_size;
    plan.order = in->order;
    Failure rows = nodesFromRows(in->lut, in->grid_size, in->order, plan.nodes);
    if (rows.code != ZEL_OK) {
        return rows;
    }

    ZelGenInput& input = plan.input;
    input.sourceEncoding = static_cast<std::uint8_t>(in->source);
    input.outputCurve = static_cast<std::uint8_t>(in->output);
    input.outputRange = static_cast<std::uint8_t>(in->range);
    copyText(input.modelName, camera);
    copyText(input.lookFileName, texts[0].text);
    copyText(input.lookHeaderNote, texts[1].text);
    // The standard job reads 28 bytes of the short field, the extended job the long one.
    copyText(input.metadataName, texts[2].text.substr(0, kSecondNameRoom));
    copyText(input.metadataNameLong, texts[2].text);
    copyText(input.lookHeaderText, texts[3].text);
    copyText(input.fileHeaderText, texts[4].text);
    copyText(input.fileHeaderTag, texts[5].text);
    input.gridSize = static_cast<std::uint8_t>(in->grid_size);
    input.nodeValues = plan.nodes.data();
    input.flags =
        ((in->options & ZEL_OPTION_LONG_CHAIN) != 0 ? 1u << 4 : 0u) | (fullDomain ? 1u << 8 : 0u);
    return {};
}

}  // namespace zel
