// The two job drivers: the standard job (ZelGenOutput) and the extended job
// (ZelGenOutputExtended). A job is seven stages in a fixed order, each followed by a
// progress report and a cancel check. The four large objects of a job live only from
// the stage that first needs them to the stage that last needs them, so that no more
// than two of them exist at a time; each is owned by a unique_ptr, so every way out of
// the job releases what is still alive.

#include "api/pipeline.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "api/job_hooks.h"
#include "camera/engine.h"
#include "camera/ini_buf.h"
#include "camera/param_buf.h"
#include "color/color_converter.h"
#include "color/conversion_stage.h"
#include "io/body_chunk_writer.h"
#include "io/cube_header.h"
#include "io/look_file.h"
#include "platform/job_cancel.h"
#include "platform/job_error.h"
#include "platform/platform.h"
#include "regmaps/register_maps.h"
#include "settings/look_settings.h"
#include "zel/errors.h"

namespace {

using ProgressSchedule = std::array<int, 7>;

// Percentages reported after stages 1 to 7, by grid size.
ProgressSchedule progressScheduleFor(int gridSize) {
    if (gridSize >= 34 && gridSize <= 67) {
        return {5, 40, 50, 60, 70, 80, 90};
    }
    if (gridSize >= 68 && gridSize <= 129) {
        return {5, 70, 75, 80, 85, 90, 95};
    }
    return {5, 20, 40, 50, 70, 75, 90};
}

// The model string: modelName up to its first NUL, never past the field.
std::string modelString(const ZelGenInput& input) {
    const std::size_t n = strnlen(input.modelName, sizeof input.modelName);
    return std::string(input.modelName, n);
}

// The console line of a standard exception: its own text.
std::string exceptionLine(const std::exception& e) {
    const char* text = e.what();
    return text != nullptr && text[0] != '\0' ? text : "Unknown exception";
}

// The sentence kept for the host: the table's words for the code, then the detail.
std::string sentenceFor(int code, const std::string& detail) {
    std::string sentence = zel_error_text(code);
    if (!detail.empty()) {
        sentence += " (" + detail + ")";
    }
    return sentence;
}

template <typename Output>
void runJob(zel::detail::GeneratorState& state, ZelGenInput& input, Output& output) {
    constexpr bool kStandard = std::is_same_v<Output, ZelGenOutput>;

    const zel::detail::GeneratorState::JobStart start = state.beginJob();
    const zel::Console& console = start.console;
    std::unique_ptr<ZelColorConverter> lattice;
    std::unique_ptr<std::vector<ZelColorConverter>> blocks;
    std::unique_ptr<ZelSharedParamBuf> paramBuf;
    std::unique_ptr<ZelSharedIniBuf> iniBuf;

    const zel::detail::JobHooks* jobHooks = state.hooks;
    // Ends a stage: the test hook, then the progress step. True means cancelled.
    auto endStage = [&](int stage, const ProgressSchedule& schedule) {
        if (jobHooks != nullptr && jobHooks->afterStage) {
            jobHooks->afterStage(stage);
        }
        return state.progressStep(schedule[static_cast<std::size_t>(stage - 1)]);
    };
    auto now = [&] {
        if (jobHooks != nullptr && jobHooks->clock) {
            return jobHooks->clock();
        }
        return start.timeStamp ? *start.timeStamp : zel::platform::localTimeNow();
    };
    auto fail = [&](int code, const std::string& sentence, const std::string& line) {
        // The large objects go before the host hears of the end.
        iniBuf.reset();
        paramBuf.reset();
        blocks.reset();
        lattice.reset();
        state.endFailed(code, sentence, line, console);
    };

    try {
        // Preparation.
        const std::uint8_t sourceEncoding = input.sourceEncoding;
        const std::uint8_t outputCurve = input.outputCurve;
        const std::uint8_t outputRange = input.outputRange;
        const int gridSize = input.gridSize;
        const std::string model = modelString(input);
        const ProgressSchedule schedule = progressScheduleFor(gridSize);
        const std::uint32_t flags = input.flags;
        const bool longChain = (flags & (1u << 4)) != 0;
        const bool fullDomain = (flags & (1u << 8)) != 0;

        // Stage 1: look settings.
        const ZelSettingsSeed seed(sourceEncoding, outputCurve, outputRange, model, longChain);
        ZelLookSettings settings;
        applyModelTable(settings, seed);
        PassTable passTable;
        buildLookSettings(settings, passTable);
        validateJobSelectors(settings, model);
        const std::vector<std::int32_t> blockList = settings.blockList;
        const std::int32_t entryTag = settings.entryTag;
        const std::int32_t generationMode = settings.generationMode;
        if constexpr (kStandard) {
            writeStandardLookHeaders(input, output);
            std::uint8_t lookName[64]{};
            zel::io::deriveLookName(input.lookFileName, lookName);
            zel::io::writeCubeHeader(output.cubeHeader, input.lookFileName, sourceEncoding,
                                     lookName, input.gridSize);
        }
        if (endStage(1, schedule)) {
            return state.endCancelled();
        }

        // Stage 2: colour lattice.
        validateLookInput(input, output.floatLut, output.floatLutFilm);
        lattice = std::make_unique<ZelColorConverter>();
        lattice->viewNodeValues(gridSize, input.nodeValues);
        reindexSourceLattice(settings, sourceEncoding, *lattice, output,
                             zel::CancelCheck(&state.cancelRequested));
        if (endStage(2, schedule)) {
            return state.endCancelled();
        }

        // Stage 3: colour-space conversion into the camera's processing blocks.
        ConversionSizes sizes;
        setConversionSizes(sizes, generationMode);
        const ConversionEncodings encodings{sourceEncoding, outputCurve, outputRange};
        blocks = std::make_unique<std::vector<ZelColorConverter>>();
        if constexpr (kStandard) {
            buildBlockListStandard(sizes, encodings, *lattice, *blocks, fullDomain);
        } else {
            buildBlockListExtended(sizes, encodings, *lattice, *blocks);
        }
        lattice.reset();
        if (endStage(3, schedule)) {
            return state.endCancelled();
        }

        // Stage 4: parameter buffer.
        paramBuf = std::make_unique<ZelSharedParamBuf>();
        fillParamBuffer(settings, *blocks, *paramBuf);
        std::vector<BlockOrderEntry> blockOrder;
        copyBlockOrder(settings, blockOrder);
        blocks.reset();
        if (endStage(4, schedule)) {
            return state.endCancelled();
        }

        // Stage 5: camera processing into the register image.
        iniBuf = std::make_unique<ZelSharedIniBuf>(model);
        EngineConfig engineConfig;
        initEngineConfig(engineConfig, generationMode);
        engineConfig.console = &console;
        runEngine(engineConfig, blockOrder, sourceEncoding, outputRange, *paramBuf, *iniBuf);
        paramBuf.reset();
        if (endStage(5, schedule)) {
            return state.endCancelled();
        }

        // Stage 6: the camera's default register tables.
        loadRegisterMaps(settings, *iniBuf);
        if (endStage(6, schedule)) {
            return state.endCancelled();
        }

        // Stage 7: the look file.
        OutputContext context;
        setupOutputContext(context, generationMode);
        if constexpr (kStandard) {
            output.binarySize = writeOutputStandard(context, entryTag, blockList, passTable,
                                                    *iniBuf, output.zel.binary);
            iniBuf.reset();
            writeStandardTimeStamp(output.zel, now());
        } else {
            // The local body is one of the job's large objects too: the register image
            // goes as soon as the body holds it.
            auto body = std::make_unique<ExtendedBody>();
            const std::uint32_t dataSize =
                writeOutputExtended(context, entryTag, blockList, passTable, *iniBuf, *body);
            iniBuf.reset();
            if (dataSize > output.lutData.size() || dataSize > body->data.size()) {
                zel::failOutput("the look's body does not fit the output record");
            }
            output.lutDataSize = dataSize;
            output.entryTableSize = sizeof output.entryTable;
            std::memcpy(output.binaryHead, body->head, sizeof output.binaryHead);
            std::memcpy(output.entryTable, body->entryTable.data(), sizeof output.entryTable);
            std::memcpy(output.lutData.data(), body->data.data(), dataSize);
            body.reset();
            console.line(zel::Console::kOut, "ZelMetaGenerator");
            writeExtendedLookHeaders(input, output, now(), console);
        }
        if (endStage(7, schedule)) {
            return state.endCancelled();
        }

        state.finishJob();
    } catch (const zel::JobCancelled&) {
        // A cancel seen inside a stage: the large objects go, then the cancelled end.
        iniBuf.reset();
        paramBuf.reset();
        blocks.reset();
        lattice.reset();
        state.endCancelled();
    } catch (const zel::JobError& e) {
        fail(e.code(), e.what(), std::to_string(static_cast<int>(e.code())));
    } catch (const ZelEnum::ZelException& e) {
        // A bare error value, as a stage hook may throw.
        fail(e, zel_error_text(e), std::to_string(static_cast<int>(e)));
    } catch (const std::bad_alloc& e) {
        fail(ZelEnum::ZEL_ERROR_OUT_OF_MEMORY, zel_error_text(ZelEnum::ZEL_ERROR_OUT_OF_MEMORY),
             exceptionLine(e));
    } catch (const std::out_of_range& e) {
        fail(ZelEnum::ZEL_ERROR_OUT_OF_RANGE,
             sentenceFor(ZelEnum::ZEL_ERROR_OUT_OF_RANGE, exceptionLine(e)), exceptionLine(e));
    } catch (const std::length_error& e) {
        fail(ZelEnum::ZEL_ERROR_LENGTH, sentenceFor(ZelEnum::ZEL_ERROR_LENGTH, e.what()),
             "Unexpected Error");
    } catch (const std::exception& e) {
        fail(ZelEnum::ZEL_ERROR_UNEXPECTED, sentenceFor(ZelEnum::ZEL_ERROR_UNEXPECTED, e.what()),
             "Unexpected Error");
    } catch (...) {
        fail(ZelEnum::ZEL_ERROR_UNEXPECTED, zel_error_text(ZelEnum::ZEL_ERROR_UNEXPECTED),
             "Unexpected Error");
    }
}

}  // namespace

namespace zel::detail {

void runStandardJob(GeneratorState& state, ZelGenInput& input, ZelGenOutput& output) {
    runJob(state, input, output);
}

void runExtendedJob(GeneratorState& state, ZelGenInput& input, ZelGenOutputExtended& output) {
    runJob(state, input, output);
}

}  // namespace zel::detail
