#include "settings/look_settings.h"

#include "platform/job_error.h"

namespace {

PassTable makePassTable(std::int32_t passes, std::int32_t blockCount) {
    const auto blocks = static_cast<std::size_t>(blockCount > 0 ? blockCount : 0);
    return PassTable(static_cast<std::size_t>(passes),
                     std::vector<std::vector<std::int32_t>>(blocks, std::vector<std::int32_t>{0}));
}

// Sets the reuse flag of the listed block numbers that the table has room for.
void setFlags(PassTable& table, std::size_t pass, const zel::BlockNumbers& blocks) {
    for (const std::int32_t block : blocks) {
        const auto index = static_cast<std::size_t>(block);
        if (index < table[pass].size()) {
            table[pass][index][0] = 1;
        }
    }
}

}  // namespace

void applyModelTable(ZelLookSettings& settings, const ZelSettingsSeed& seed) {
    settings.passCount = 0;
    settings.blockList.clear();
    settings.blockOrder.clear();
    settings.passTable.clear();
    settings.sourceEncoding = seed.sourceEncoding;
    settings.outputCurve = seed.outputCurve;
    settings.outputRange = seed.outputRange;
    settings.longChain = seed.longChain;
    settings.model = zel::findCameraModel(seed.model);

    if (settings.model != nullptr) {
        const zel::CameraModel& model = *settings.model;
        settings.generationMode = model.generationMode;
        settings.blockCount = model.blockCount;
        settings.passCount = model.passCount;
        const zel::BlockNumbers& chain = seed.longChain ? model.longChain : model.shortChain;
        settings.blockList.assign(chain.begin(), chain.end());
    } else {
        // A model the table does not know: no blocks. The job rejects it after the
        // settings builder has run.
        settings.generationMode = zel::kFirstGeneration;
        settings.blockCount = 0;
    }
    settings.blockListLength = static_cast<std::int32_t>(settings.blockList.size());
    settings.entryTag = 0;
}

void buildLookSettings(ZelLookSettings& settings, PassTable& passTableOut) {
    if (settings.generationMode != zel::kFirstGeneration &&
        settings.generationMode != zel::kSecondGeneration) {
        zel::failSettings("the camera generation of the model is not one the library knows");
    }
    // The first generation always writes two passes; the second as many as the model has.
    const std::int32_t passes =
        settings.generationMode == zel::kFirstGeneration ? 2 : settings.passCount;
    settings.passTable = makePassTable(passes, settings.blockCount);
    settings.entryTag = 1;
    if (settings.model != nullptr) {
        for (std::size_t pass = 0; pass < settings.passTable.size() && pass < 3; ++pass) {
            setFlags(settings.passTable, pass, settings.model->reusedByPass[pass]);
        }
    }

    if (settings.sourceEncoding >= 0 && settings.sourceEncoding <= 3 && settings.outputCurve > 2) {
        zel::failSettings("the output curve is not Rec.709, PQ or HLG");
    }

    passTableOut = settings.passTable;
}

void validateJobSelectors(const ZelLookSettings& settings, const std::string& model) {
    if (zel::findCameraModel(model) == nullptr) {
        zel::failSettings("the camera model is not one the library knows");
    }
    if (settings.sourceEncoding < 0 || settings.sourceEncoding > 3) {
        zel::failSettings("the source encoding is not Q-Enc3, Q-Enc3 Film, ACEScc or ACEScct");
    }
    if (settings.outputCurve < 0 || settings.outputCurve > 2) {
        zel::failSettings("the output curve is not Rec.709, PQ or HLG");
    }
    if (settings.outputRange < 0 || settings.outputRange > 1) {
        zel::failSettings("the output range is neither full nor legal");
    }
}
