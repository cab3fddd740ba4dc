#include <initializer_list>

#include "settings/look_settings.h"
#include "zel/enums.h"

namespace {

PassTable makePassTable(std::int32_t passes, std::int32_t blockCount) {
    const auto blocks = static_cast<std::size_t>(blockCount > 0 ? blockCount : 0);
    return PassTable(static_cast<std::size_t>(passes),
                     std::vector<std::vector<std::int32_t>>(blocks, std::vector<std::int32_t>{0}));
}

// Sets the reuse flag of the listed block numbers that the table has room for.
void setFlags(PassTable& table, std::size_t pass, std::initializer_list<std::int32_t> blocks) {
    for (const std::int32_t block : blocks) {
        const auto index = static_cast<std::size_t>(block);
        if (index < table[pass].size()) {
            table[pass][index][0] = 1;
        }
    }
}

}  // namespace

void buildLookSettings(ZelLookSettings& settings, PassTable& passTableOut) {
    if (settings.generationMode == zel::kFirstGeneration) {
        settings.passTable = makePassTable(2, settings.blockCount);
        settings.entryTag = 1;
        setFlags(settings.passTable, 0, {11, 13, 15, 16});
        setFlags(settings.passTable, 1, {0, 1, 3, 4, 5, 6, 7, 8, 10, 11, 13, 14, 15, 16});
    } else if (settings.generationMode == zel::kSecondGeneration) {
        settings.passTable = makePassTable(settings.passCount, settings.blockCount);
        settings.entryTag = 1;
        setFlags(settings.passTable, 1, {0, 1, 3, 5, 8, 10});
        setFlags(settings.passTable, 2, {0, 1, 3, 5, 8, 10});
    } else {
        throw ZelEnum::ZEL_EXCEPTION_SETTINGS;
    }

    if (settings.sourceEncoding >= 0 && settings.sourceEncoding <= 3 && settings.outputCurve > 2) {
        throw ZelEnum::ZEL_EXCEPTION_SETTINGS;
    }

    passTableOut = settings.passTable;
}

void validateJobSelectors(const ZelLookSettings& settings, const std::string& model) {
    const bool knownModel = model == "CAMB-001" || model == "CAMB-002" || model == "CAMA-001";
    if (!knownModel || settings.sourceEncoding < 0 || settings.sourceEncoding > 3 ||
        settings.outputCurve < 0 || settings.outputCurve > 2 || settings.outputRange < 0 ||
        settings.outputRange > 1) {
        throw ZelEnum::ZEL_EXCEPTION_SETTINGS;
    }
}
