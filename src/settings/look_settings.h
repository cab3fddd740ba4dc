#ifndef ZEL_SETTINGS_LOOK_SETTINGS_H
#define ZEL_SETTINGS_LOOK_SETTINGS_H

// What a job's selectors and camera model mean for the camera chain: the camera
// generation, the processing blocks in chain order and, per output pass, the reuse flag
// of every block number.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/camera_models.h"

namespace zel {

// Source colour encodings of a look.
enum SourceEncoding : std::uint8_t {
    kSourceQEnc3Prims3 = 0,
    kSourceQEnc3Film = 1,
    kSourceAcesCc = 2,
    kSourceAcesCct = 3,
};

// Output transfer curves of the camera.
enum OutputCurve : std::uint8_t {
    kOutputRec709 = 0,
    kOutputPq = 1,
    kOutputHlg = 2,
};

// Output signal ranges.
enum OutputRange : std::uint8_t {
    kRangeFull = 0,
    kRangeLegal = 1,
};

}  // namespace zel

// Made once per job from the input record.
struct ZelSettingsSeed {
    ZelSettingsSeed(std::uint8_t sourceEncoding, std::uint8_t outputCurve, std::uint8_t outputRange,
                    std::string model, bool longChain)
        : sourceEncoding(sourceEncoding),
          outputCurve(outputCurve),
          outputRange(outputRange),
          model(std::move(model)),
          longChain(longChain) {}

    std::uint8_t sourceEncoding;
    std::uint8_t outputCurve;
    std::uint8_t outputRange;
    std::string model;
    bool longChain;
};

// One processing block of the look as the parameter buffer saw it.
struct BlockOrderEntry {
    std::uint32_t typeCode = 0;
    std::uint32_t instance = 0;
};

// Per pass, per block number: the reuse flag (0 or 1) the output conversion reads.
using PassTable = std::vector<std::vector<std::vector<std::int32_t>>>;

struct ZelLookSettings {
    std::int32_t generationMode = 0;
    std::int32_t sourceEncoding = 0;
    std::int32_t outputCurve = 0;
    std::int32_t outputRange = 0;
    std::int32_t blockCount = 0;       // block numbers per pass (17 or 19)
    std::int32_t blockListLength = 0;  // entries in blockList
    std::int32_t entryTag = 0;         // written into every body entry
    bool longChain = false;
    std::int32_t passCount = 0;
    std::vector<std::int32_t> blockList;      // processing block numbers in chain order
    std::vector<BlockOrderEntry> blockOrder;  // appended by the parameter-buffer filler
    PassTable passTable;
    const zel::CameraModel* model = nullptr;  // the model's table entry; null when unknown
};

// Fills the settings from the camera model table for the seed's model.
void applyModelTable(ZelLookSettings& settings, const ZelSettingsSeed& seed);

// Completes the settings: the pass table and entryTag. Throws the settings error for an
// unknown generation mode or an output curve above 2 with a known source encoding.
// Returns a copy of the pass table in passTableOut.
void buildLookSettings(ZelLookSettings& settings, PassTable& passTableOut);

// The job's own check of its selectors, run right after buildLookSettings: throws the
// settings error for a camera model the table does not know (its look file would miss
// its register tables), a source encoding above 3, an output curve above 2 or an output
// range above 1.
void validateJobSelectors(const ZelLookSettings& settings, const std::string& model);

#endif  // ZEL_SETTINGS_LOOK_SETTINGS_H
