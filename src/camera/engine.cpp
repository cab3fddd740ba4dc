#include "camera/engine.h"

#include "camera/lut1d_writer.h"
#include "camera/lut3d_writer.h"
#include "camera/matrix_writer.h"
#include "camera/register_block.h"

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

void runEngine(const EngineConfig& config, const std::vector<BlockOrderEntry>& blockOrder,
               std::uint8_t sourceEncoding, std::uint8_t /*outputRange*/,
               const ZelSharedParamBuf& paramBuf, ZelSharedIniBuf& iniBuf) {
    const bool firstGeneration = config.mode == static_cast<std::uint32_t>(zel::kFirstGeneration);
    const bool secondGeneration = config.mode == static_cast<std::uint32_t>(zel::kSecondGeneration);
    if (!firstGeneration && !secondGeneration) {
        return;
    }
    iniBuf.header(zel::block::kFirstLutHeader) = paramBuf.firstLutHeader;
    if (firstGeneration) {
        iniBuf.header(zel::block::kSecondLutHeader0) = paramBuf.secondLutHeader0;
        iniBuf.header(zel::block::kSecondLutHeader1) = paramBuf.secondLutHeader1;
    }

    // Every cube takes the domain option of the first one.
    const std::int32_t fullCodeRange =
        paramBuf.cubeHeader0.size() > 4 ? paramBuf.cubeHeader0[4] : 0;
    // The camera loads its own control page for the first 1D LUT when asked to.
    const bool fixedFirstLut =
        paramBuf.firstLutHeader.size() > 4 && paramBuf.firstLutHeader[4] == 1;

    for (const BlockOrderEntry& entry : blockOrder) {
        switch (entry.typeCode) {
            case zel::kCodeGainMatrix:
            case zel::kCodeSecondMatrix:
            case zel::kCodeColorMatrix:
                writeMatrixBlock(paramBuf, entry.instance, entry.typeCode, iniBuf,
                                 config.normalizeRows != 0);
                break;
            case zel::kCodeCube:
                if (firstGeneration) {
                    writeCubeBlock(config, paramBuf, iniBuf, sourceEncoding, entry.instance,
                                   fullCodeRange);
                } else {
                    writeCubeBlock(config, paramBuf, iniBuf, sourceEncoding, entry.instance,
                                   fullCodeRange, config.mode);
                }
                break;
            case zel::kCodeFirstLut:
                if (fixedFirstLut) {
                    loadLutControl0800(iniBuf.list(zel::block::kFirstLutControl));
                } else {
                    write1dLutBlock(config, paramBuf, iniBuf, entry.instance, entry.typeCode);
                }
                break;
            case zel::kCodeSecondLut:
                write1dLutBlock(config, paramBuf, iniBuf, entry.instance, entry.typeCode);
                break;
            default:
                break;
        }
    }
}
