#include <gtest/gtest.h>

#include "settings/look_settings.h"
#include "zel/enums.h"

TEST(LookSettings, PlaceholderBuilds) {
    ZelLookSettings settings;
    applyModelTable(settings, ZelSettingsSeed(0, 0, 0, "CAMB-001", false));
    EXPECT_EQ(settings.blockCount, 17);
}
