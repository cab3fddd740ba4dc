#include "camera/ini_buf.h"

#include <gtest/gtest.h>

TEST(IniBuf, BlocksAreSizedPerCameraModel) {
    const ZelSharedIniBuf older("CAMA-001");
    EXPECT_TRUE(older.list(10).empty());
    EXPECT_EQ(older.list(9).size(), 37u);
    EXPECT_EQ(older.group(45)[23].size(), 2000u);
    const ZelSharedIniBuf second("CAMB-002");
    EXPECT_EQ(second.list(15).size(), 2048u);
    EXPECT_EQ(second.group(55)[0].size(), 9826u);
    EXPECT_EQ(second.list(52).size(), 28u);
    EXPECT_EQ(second.list(75).size(), 24u);
    const ZelSharedIniBuf unknown("CAMB-0011");
    EXPECT_TRUE(unknown.list(0).empty());
    EXPECT_TRUE(unknown.group(45).empty());
}
