// The two job drivers: the standard job (ZelGenOutput) and the extended job
// (ZelGenOutputExtended). A job is seven stages in a fixed order, each followed by a
// progress report and a cancel check. The four large objects of a job live only from
// the stage that first needs them to the stage that last needs them, so that no more
// than two of them exist at a time.

#include <array>
#include <cstring>
#include <iostream>
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
#include "color/output_conversion.h"
#include "io/cube_header.h"
#include "io/look_file.h"
#include "platform/platform.h"
#include "regmaps/register_maps.h"
#include "settings/look_settings.h"
#include "zel/generator.h"

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

void reportError(const char* text) {
    std::cerr << (text != nullptr && text[0] != '\0' ? text : "Unknown exception") << std::endl;
}

}  // namespace

template <typename Output>
void ZelGenerator::runJob(ZelGenInput& input, Output& output) {
    constexpr bool kStandard = std::is_same_v<Output, ZelGenOutput>;

    ZelColorConverter* lattice = nullptr;
    std::vector<ZelColorConverter>* blocks = nullptr;
    ZelSharedParamBuf* paramBuf = nullptr;
    ZelSharedIniBuf* iniBuf = nullptr;

    // Releases whatever is still alive on every way out of the job.
    struct Release {
        ZelGenerator& self;
        ZelColorConverter*& lattice;
        std::vector<ZelColorConverter>*& blocks;
        ZelSharedParamBuf*& paramBuf;
        ZelSharedIniBuf*& iniBuf;
        ~Release() { self.zelCatchProcess(lattice, blocks, paramBuf, iniBuf); }
    } release{*this, lattice, blocks, paramBuf, iniBuf};

    const zel::detail::JobHooks* jobHooks = hooks;
    // Ends a stage: the test hook, then the progress step. True means cancelled.
    auto endStage = [&](int stage, const ProgressSchedule& schedule) {
        if (jobHooks != nullptr && jobHooks->afterStage) {
            jobHooks->afterStage(stage);
        }
        return progressStep(schedule[static_cast<std::size_t>(stage - 1)]);
    };
    auto now = [&] {
        if (jobHooks != nullptr && jobHooks->clock) {
            return jobHooks->clock();
        }
        return zel::platform::localTimeNow();
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
        const std::uint32_t lowFlags = flags & 0xFu;
        const bool longChain = (flags & (1u << 4)) != 0;
        const bool fullDomain = (flags & (1u << 8)) != 0;
        const bool flag12 = (flags & (1u << 12)) != 0;
        const bool flag16 = (flags & (1u << 16)) != 0;

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
            return;
        }

        // Stage 2: colour lattice.
        validateLookInput(input, output.floatLut, output.floatLutFilm);
        lattice = new ZelColorConverter();
        lattice->viewNodeValues(gridSize, input.nodeValues);
        reindexSourceLattice(settings, sourceEncoding, *lattice, output);
        if (endStage(2, schedule)) {
            return;
        }

        // Stage 3: colour-space conversion into the camera's processing blocks.
        ConversionSizes sizes;
        setConversionSizes(sizes, generationMode);
        const ConversionEncodings encodings{sourceEncoding, outputCurve, outputRange};
        blocks = new std::vector<ZelColorConverter>();
        if constexpr (kStandard) {
            buildBlockListStandard(sizes, encodings, *lattice, *blocks, fullDomain, flag12, flag16,
                                   lowFlags);
        } else {
            buildBlockListExtended(sizes, encodings, *lattice, *blocks);
        }
        delete lattice;
        lattice = nullptr;
        if (endStage(3, schedule)) {
            return;
        }

        // Stage 4: parameter buffer.
        paramBuf = new ZelSharedParamBuf();
        fillParamBuffer(settings, *blocks, *paramBuf);
        std::vector<BlockOrderEntry> blockOrder;
        copyBlockOrder(settings, blockOrder);
        delete blocks;
        blocks = nullptr;
        if (endStage(4, schedule)) {
            return;
        }

        // Stage 5: camera processing into the register image.
        iniBuf = new ZelSharedIniBuf(model);
        EngineConfig engineConfig;
        initEngineConfig(engineConfig, generationMode);
        runEngine(engineConfig, blockOrder, sourceEncoding, outputRange, *paramBuf, *iniBuf);
        delete paramBuf;
        paramBuf = nullptr;
        if (endStage(5, schedule)) {
            return;
        }

        // Stage 6: the camera's default register tables.
        loadRegisterMaps(settings, *iniBuf);
        if (endStage(6, schedule)) {
            return;
        }

        // Stage 7: the look file.
        OutputContext context;
        setupOutputContext(context, generationMode);
        if constexpr (kStandard) {
            output.binarySize = writeOutputStandard(context, entryTag, blockList, passTable,
                                                    *iniBuf, output.zel.binary);
            delete iniBuf;
            iniBuf = nullptr;
            writeStandardTimeStamp(output.zel, now());
        } else {
            ExtendedBody body;
            const std::uint32_t dataSize =
                writeOutputExtended(context, entryTag, blockList, passTable, *iniBuf, body);
            if (dataSize > output.lutData.size() || dataSize > body.data.size()) {
                throw ZelEnum::ZEL_EXCEPTION_OUTPUT;
            }
            output.lutDataSize = dataSize;
            output.entryTableSize = 16384;
            std::memcpy(output.binaryHead, body.head, sizeof output.binaryHead);
            std::memcpy(output.entryTable, body.entryTable.data(), sizeof output.entryTable);
            std::memcpy(output.lutData.data(), body.data.data(), dataSize);
            delete iniBuf;
            iniBuf = nullptr;
            std::cout << "ZelMetaGenerator" << std::endl;
            writeExtendedLookHeaders(input, output, now());
        }
        if (endStage(7, schedule)) {
            return;
        }

        finishJob();
    } catch (const std::bad_alloc& e) {
        zelCatchProcess(lattice, blocks, paramBuf, iniBuf);
        status.store(ZelEnum::ZEL_STATUS_ERROR);
        reportError(e.what());
    } catch (const std::out_of_range& e) {
        zelCatchProcess(lattice, blocks, paramBuf, iniBuf);
        status.store(ZelEnum::ZEL_STATUS_ERROR);
        reportError(e.what());
    } catch (const ZelEnum::ZelException& e) {
        zelCatchProcess(lattice, blocks, paramBuf, iniBuf);
        status.store(ZelEnum::ZEL_STATUS_ERROR);
        std::cerr << static_cast<int>(e) << std::endl;
    } catch (...) {
        zelCatchProcess(lattice, blocks, paramBuf, iniBuf);
        status.store(ZelEnum::ZEL_STATUS_ERROR);
        std::cerr << "Unexpected Error" << std::endl;
    }
}

void ZelGenerator::zel_exec_common(ZelGenInput& input, ZelGenOutput& output) {
    runJob(input, output);
}

void ZelGenerator::zel_exec_commonExtended(ZelGenInput& input, ZelGenOutputExtended& output) {
    runJob(input, output);
}
