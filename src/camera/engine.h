#ifndef ZEL_CAMERA_ENGINE_H
#define ZEL_CAMERA_ENGINE_H

// The camera processing engine: walks the look's block order and turns each block of the
// parameter buffer into register values of the camera register image.

#include <cstdint>
#include <vector>

#include "camera/ini_buf.h"
#include "camera/param_buf.h"
#include "platform/console.h"
#include "settings/look_settings.h"

struct EngineConfig {
    std::uint32_t mode = 0;
    std::uint32_t normalizeRows = 0;
    std::uint32_t cubeOffsetMode = 0;
    std::uint32_t cubeFlag = 0;
    std::uint32_t lutOutputMode = 0;
    std::uint32_t lutChannelSelect = 0;
    std::uint32_t lutLegalScale = 0;
    std::uint32_t lutSegmentTable = 0;
    double lutOffset = 0.0;
    std::int32_t lutHeadCount = 0;
    std::int32_t lutTailCount = 0;
    std::int32_t lutMemorySize = 0;
    std::int32_t lutControlCount = 0;
    std::int32_t lutBoundaryCount = 0;
    std::int32_t lutSegmentCount = 0;
    std::int32_t lutPointCount = 0;
    // Where the engine's console lines go; null means the standard streams.
    const zel::Console* console = nullptr;
};

EngineConfig& initEngineConfig(EngineConfig& config, std::int32_t mode);

void runEngine(const EngineConfig& config, const std::vector<BlockOrderEntry>& blockOrder,
               std::uint8_t sourceEncoding, std::uint8_t outputRange,
               const ZelSharedParamBuf& paramBuf, ZelSharedIniBuf& iniBuf);

#endif  // ZEL_CAMERA_ENGINE_H
