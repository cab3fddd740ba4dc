// The two job drivers: the standard job (ZelGenOutput) and the extended job
// (ZelGenOutputExtended). A job is seven stages in a fixed order, each followed by a
// progress report and a cancel check. The four large objects of a job live only from
// the stage that first needs them to the stage that last needs them, so that no more
// than two of them exist at a time; each is owned by a unique_ptr, so every way out of
// the job releases what is still alive.

#include "api/pipeline.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>
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
#include "io/header_part_layout.h"
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
    std::string sentence = zel_job_error_text(code);
    if (!detail.empty()) {
        sentence += " (" + detail + ")";
    }
    return sentence;
}

// One job from start to end: the seven stages in order, each a step of its own, and the
// large objects that pass between them.
template <typename Output>
class JobRun {
  public:
    static constexpr bool kStandard = std::is_same_v<Output, ZelGenOutput>;

    JobRun(zel::detail::GeneratorState& state, ZelGenInput& input, Output& output)
        : state_(state), input_(input), output_(output), start_(state.beginJob()) {}

    void run() {
        try {
            runStages();
        } catch (...) {
            endOnException();
        }
    }

  private:
    void runStages() {
        const ProgressSchedule schedule = progressScheduleFor(input_.gridSize);
        for (std::size_t stage = 1; stage <= schedule.size(); ++stage) {
            runStage(stage);
            if (endStage(static_cast<int>(stage), schedule[stage - 1])) {
                return state_.endCancelled();
            }
        }
        state_.finishJob();
    }

    void runStage(std::size_t stage) {
        switch (stage) {
            case 1:
                return lookSettings();
            case 2:
                return colourLattice();
            case 3:
                return processingBlocks();
            case 4:
                return parameterBuffer();
            case 5:
                return cameraProcessing();
            case 6:
                return registerTables();
            default:
                return lookFile();
        }
    }

    // Ends a stage: the test hook, then the progress step. True means cancelled.
    bool endStage(int stage, int progress) {
        if (hooks() != nullptr && hooks()->afterStage) {
            hooks()->afterStage(stage);
        }
        return state_.progressStep(progress);
    }

    // Stage 1: look settings; the standard job also writes its headers and .cube header.
    void lookSettings() {
        model_ = modelString(input_);
        const bool longChain = (input_.flags & ZelGenInput::kLongChainFlag) != 0;
        const ZelSettingsSeed seed(input_.sourceEncoding, input_.outputCurve, input_.outputRange,
                                   model_, longChain);
        applyModelTable(settings_, seed);
        buildLookSettings(settings_, passTable_);
        validateJobSelectors(settings_, model_);
        if constexpr (kStandard) {
            writeStandardLookHeaders(input_, output_);
            std::uint8_t lookName[zel::io::kLookNameLength]{};
            zel::io::deriveLookName(input_.lookFileName, lookName);
            zel::io::writeCubeHeader(output_.cubeHeader, input_.lookFileName, input_.sourceEncoding,
                                     lookName, input_.gridSize);
        }
    }

    // Stage 2: the colour lattice, and the look re-indexed for the other gamut unless the
    // host has said it will not read it.
    void colourLattice() {
        const bool reindex = state_.reindexedLookWanted.load();
        if (reindex) {
            validateLookInput(input_, output_.floatLut, output_.floatLutFilm);
        } else {
            validateLookNodes(input_);
        }
        lattice_ = std::make_unique<ZelColorConverter>();
        lattice_->viewNodeValues(input_.gridSize, input_.nodeValues);
        if (reindex) {
            reindexSourceLattice(settings_, input_.sourceEncoding, *lattice_, output_,
                                 zel::CancelCheck(&state_.cancelRequested));
        }
    }

    // Stage 3: colour-space conversion into the camera's processing blocks.
    void processingBlocks() {
        ConversionSizes sizes;
        setConversionSizes(sizes, settings_.generationMode);
        const ConversionEncodings encodings{input_.sourceEncoding, input_.outputCurve,
                                            input_.outputRange};
        blocks_ = std::make_unique<std::vector<ZelColorConverter>>();
        if constexpr (kStandard) {
            const bool fullDomain = (input_.flags & ZelGenInput::kFullDomainFlag) != 0;
            buildBlockListStandard(sizes, encodings, *lattice_, *blocks_, fullDomain);
        } else {
            buildBlockListExtended(sizes, encodings, *lattice_, *blocks_);
        }
        lattice_.reset();
    }

    // Stage 4: the parameter buffer.
    void parameterBuffer() {
        paramBuf_ = std::make_unique<ZelSharedParamBuf>();
        fillParamBuffer(settings_, *blocks_, *paramBuf_);
        copyBlockOrder(settings_, blockOrder_);
        blocks_.reset();
    }

    // Stage 5: camera processing into the register image.
    void cameraProcessing() {
        iniBuf_ = std::make_unique<ZelSharedIniBuf>(model_);
        EngineConfig engineConfig;
        initEngineConfig(engineConfig, settings_.generationMode);
        engineConfig.console = &start_.console;
        runEngine(engineConfig, blockOrder_, input_.sourceEncoding, input_.outputRange, *paramBuf_,
                  *iniBuf_);
        paramBuf_.reset();
    }

    // Stage 6: the camera's default register tables.
    void registerTables() { loadRegisterMaps(settings_, *iniBuf_); }

    // Stage 7: the look file.
    void lookFile() {
        OutputContext context;
        setupOutputContext(context, settings_.generationMode);
        if constexpr (kStandard) {
            output_.binarySize =
                writeOutputStandard(context, settings_.entryTag, settings_.blockList, passTable_,
                                    *iniBuf_, output_.zel.binary);
            iniBuf_.reset();
            writeStandardTimeStamp(output_.zel, now());
        } else {
            writeExtendedBody(context);
            start_.console.line(zel::Console::kOut, "ZelMetaGenerator");
            writeExtendedLookHeaders(input_, output_, now(), start_.console);
        }
    }

    // The extended body into the output record. The local body is one of the job's large
    // objects too: the register image goes as soon as the body holds it.
    void writeExtendedBody(OutputContext& context) {
        auto body = std::make_unique<ExtendedBody>();
        const std::uint32_t dataSize = writeOutputExtended(
            context, settings_.entryTag, settings_.blockList, passTable_, *iniBuf_, *body);
        iniBuf_.reset();
        if (dataSize > output_.lutData.size() || dataSize > body->data.size()) {
            zel::failOutput("the look's body does not fit the output record");
        }
        output_.lutDataSize = dataSize;
        output_.entryTableSize = sizeof output_.entryTable;
        std::memcpy(output_.binaryHead, body->head, sizeof output_.binaryHead);
        std::memcpy(output_.entryTable, body->entryTable.data(), sizeof output_.entryTable);
        std::memcpy(output_.lutData.data(), body->data.data(), dataSize);
    }

    const zel::detail::JobHooks* hooks() const { return state_.hooks; }

    zel::platform::LocalTime now() const {
        if (hooks() != nullptr && hooks()->clock) {
            return hooks()->clock();
        }
        return start_.timeStamp ? *start_.timeStamp : zel::platform::localTimeNow();
    }

    // The large objects go before the host hears of the end.
    void releaseLargeObjects() {
        iniBuf_.reset();
        paramBuf_.reset();
        blocks_.reset();
        lattice_.reset();
    }

    void fail(int code, const std::string& sentence, const std::string& line) {
        releaseLargeObjects();
        state_.endFailed(code, sentence, line, start_.console);
    }

    // Ends the job on the exception in flight: a cancel seen inside a stage, or a failure
    // with its code, sentence and console line.
    void endOnException() {
        try {
            throw;
        } catch (const zel::JobCancelled&) {
            releaseLargeObjects();
            state_.endCancelled();
        } catch (const zel::JobError& e) {
            fail(e.code(), e.what(), std::to_string(static_cast<int>(e.code())));
        } catch (const ZelEnum::ZelException& e) {
            // A bare error value, as a stage hook may throw.
            fail(e, zel_job_error_text(e), std::to_string(static_cast<int>(e)));
        } catch (const std::bad_alloc& e) {
            fail(ZelEnum::ZEL_ERROR_OUT_OF_MEMORY,
                 zel_job_error_text(ZelEnum::ZEL_ERROR_OUT_OF_MEMORY), exceptionLine(e));
        } catch (const std::out_of_range& e) {
            fail(ZelEnum::ZEL_ERROR_OUT_OF_RANGE,
                 sentenceFor(ZelEnum::ZEL_ERROR_OUT_OF_RANGE, exceptionLine(e)), exceptionLine(e));
        } catch (const std::length_error& e) {
            fail(ZelEnum::ZEL_ERROR_LENGTH, sentenceFor(ZelEnum::ZEL_ERROR_LENGTH, e.what()),
                 "Unexpected Error");
        } catch (const std::exception& e) {
            fail(ZelEnum::ZEL_ERROR_UNEXPECTED,
                 sentenceFor(ZelEnum::ZEL_ERROR_UNEXPECTED, e.what()), "Unexpected Error");
        } catch (...) {
            fail(ZelEnum::ZEL_ERROR_UNEXPECTED, zel_job_error_text(ZelEnum::ZEL_ERROR_UNEXPECTED),
                 "Unexpected Error");
        }
    }

    zel::detail::GeneratorState& state_;
    ZelGenInput& input_;
    Output& output_;
    const zel::detail::GeneratorState::JobStart start_;
    std::string model_;
    ZelLookSettings settings_;
    PassTable passTable_;
    std::vector<BlockOrderEntry> blockOrder_;
    // The large objects, each alive only from the stage that makes it to the last that
    // reads it.
    std::unique_ptr<ZelColorConverter> lattice_;
    std::unique_ptr<std::vector<ZelColorConverter>> blocks_;
    std::unique_ptr<ZelSharedParamBuf> paramBuf_;
    std::unique_ptr<ZelSharedIniBuf> iniBuf_;
};

}  // namespace

namespace zel::detail {

void runStandardJob(GeneratorState& state, ZelGenInput& input, ZelGenOutput& output) {
    JobRun<ZelGenOutput>(state, input, output).run();
}

void runExtendedJob(GeneratorState& state, ZelGenInput& input, ZelGenOutputExtended& output) {
    JobRun<ZelGenOutputExtended>(state, input, output).run();
}

}  // namespace zel::detail
