#include "camera/ini_buf.h"

#include <gtest/gtest.h>

TEST(IniBuf, BlocksAreSizedPerCameraModel) {
    const ZelSharedIniBuf older("CAMA-001");
    EXPECT_TRUE(older.list(10).empty());
    EXPECT_TRUE(older.list(13).empty());
    EXPECT_EQ(older.list(9).size(), 37u);
    EXPECT_EQ(older.group(45).size(), 24u);
    EXPECT_EQ(older.group(45)[23].size(), 2000u);
    EXPECT_TRUE(older.group(55).empty());

    const ZelSharedIniBuf second("CAMB-002");
    EXPECT_EQ(second.list(15).size(), 2048u);
    EXPECT_EQ(second.group(55)[0].size(), 9826u);
    for (int control : {42, 47, 52}) {
        EXPECT_EQ(second.list(control).size(), 28u);
    }
    EXPECT_EQ(second.list(53).size(), 1u);
    EXPECT_EQ(second.list(75).size(), 24u);
    EXPECT_THROW(second.list(76), std::out_of_range);
    EXPECT_THROW(second.group(42), std::out_of_range);
}

TEST(IniBuf, UnknownModelLeavesEveryBlockEmpty) {
    for (const char* model : {"CAMB-0011", "CAMB", "", "camb-001"}) {
        const ZelSharedIniBuf image(model);
        for (int block = 0; block < ZelSharedIniBuf::kBlockCount; ++block) {
            switch (ZelSharedIniBuf::kindOf(block)) {
                case ZelSharedIniBuf::BlockKind::Group:
                    EXPECT_TRUE(image.group(block).empty()) << model << " " << block;
                    break;
                case ZelSharedIniBuf::BlockKind::Header:
                    EXPECT_TRUE(image.header(block).empty());
                    break;
                default:
                    EXPECT_TRUE(image.list(block).empty()) << model << " " << block;
            }
        }
    }
}
