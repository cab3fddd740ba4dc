#include "camera/engine.h"

EngineConfig& initEngineConfig(EngineConfig& config, std::int32_t mode) {
    if (mode != 0 && mode != 2) {
        config.mode = static_cast<std::uint32_t>(mode);
        config.normalizeRows = 0;
        config.cubeOffsetMode = 0;
        config.cubeFlag = 0;
        config.lutOutputMode = 0;
        config.lutChannelSelect = 0;
        config.lutLegalScale = 0;
        config.lutSegmentTable = 0;
        config.lutOffset = 0.0;
        config.lutBoundaryCount = 0;
        config.lutSegmentCount = 0;
        config.lutPointCount = 0;
        return config;
    }
    config.mode = static_cast<std::uint32_t>(mode);
    config.normalizeRows = 0;
    config.cubeOffsetMode = 1;
    config.cubeFlag = 1;
    config.lutOutputMode = 1;
    config.lutChannelSelect = 4;
    config.lutLegalScale = 0;
    config.lutSegmentTable = 0;
    config.lutOffset = 512.0;
    config.lutHeadCount = 3;
    config.lutTailCount = 2;
    config.lutMemorySize = mode == 2 ? 2048 : 1024;
    config.lutControlCount = 44;
    config.lutBoundaryCount = 9;
    config.lutSegmentCount = 8;
    config.lutPointCount = 512;
    return config;
}

// The writers are added with the camera processing emulation.
void runEngine(const EngineConfig&, const std::vector<BlockOrderEntry>&, std::uint8_t, std::uint8_t,
               const ZelSharedParamBuf&, ZelSharedIniBuf&) {}
