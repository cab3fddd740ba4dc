#include "camera/ini_buf.h"

#include <gtest/gtest.h>

TEST(IniBuf, BlocksAreSizedPerCameraModel) {
    const ZelSharedIniBuf older("CAMA-001");
    EXPECT_TRUE(older.list(10).empty());
    EXPECT_EQ(older.list(9).size(), 37u);
    EXPECT_EQ(older.group(45)[23].size(), 2000u);
    EXPECT_EQ(ZelSharedIniBuf("CAMB-002").list(15).size(), 2048u);
    const ZelSharedIniBuf unknown("CAMB-0011");
    EXPECT_TRUE(unknown.list(0).empty());
    EXPECT_TRUE(unknown.group(45).empty());
}
