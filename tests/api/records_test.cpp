// Construction, copy and move of the exported job records.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>

#include "zel/zel.h"

namespace {

bool allZero(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(Records, DefaultConstructionClearsEverythingButTheChunkHeads) {
    const auto input = std::make_unique<ZelGenInput>();
    EXPECT_EQ(input->sourceEncoding, 0);
    EXPECT_EQ(input->gridSize, 0);
    EXPECT_EQ(input->nodeValues, nullptr);
    EXPECT_EQ(input->flags, 0u);
    EXPECT_TRUE(allZero(input->modelName, sizeof input->modelName));

    const auto output = std::make_unique<ZelGenOutput>();
    const auto* body = reinterpret_cast<const unsigned char*>(&output->zel.binary);
    EXPECT_EQ(std::memcmp(body, "CHIP\x40\0\0\0", 8), 0);
    EXPECT_TRUE(allZero(body + 8, sizeof(ZelBinary) - 8));
    EXPECT_TRUE(allZero(&output->zel, offsetof(Zel, binary)));
    EXPECT_EQ(output->floatLut, nullptr);
    EXPECT_EQ(output->binarySize, 0u);

    const auto extended = std::make_unique<ZelGenOutputExtended>();
    EXPECT_EQ(std::memcmp(extended->binaryHead, "CHIP\x40\0\0\0", 8), 0);
    EXPECT_EQ(extended->lutData.size(), 763776u);
    EXPECT_TRUE(allZero(extended->lutData.data(), extended->lutData.size()));
    EXPECT_TRUE(allZero(extended->headerBytes, sizeof extended->headerBytes));
}

TEST(Records, CopyingAStandardOutputSharesTheHostBuffers) {
    float film[4] = {};
    float prims[4] = {};
    auto a = std::make_unique<ZelGenOutput>();
    a->floatLutFilm = film;
    a->floatLut = prims;
    a->binarySize = 77;
    a->zel.fileHeader[3] = 9;
    auto b = std::make_unique<ZelGenOutput>();
    *b = *a;
    EXPECT_EQ(b->floatLutFilm, film);
    EXPECT_EQ(b->floatLut, prims);
    EXPECT_EQ(b->binarySize, 77u);
    EXPECT_EQ(b->zel.fileHeader[3], 9);
}

TEST(Records, ExtendedOutputCopiesDeeplyAndMovesItsData) {
    auto source = std::make_unique<ZelGenOutputExtended>();
    source->lutData[0] = 0x11;
    source->lutData.back() = 0x22;
    source->headerSize = 9920;
    source->headerBytes[100] = 7;
    source->cubeHeader[0] = '#';

    auto copy = std::make_unique<ZelGenOutputExtended>(*source);
    EXPECT_EQ(copy->lutData, source->lutData);
    EXPECT_NE(copy->lutData.data(), source->lutData.data());
    EXPECT_EQ(copy->headerSize, 9920u);
    EXPECT_EQ(copy->headerBytes[100], 7);

    auto moved = std::make_unique<ZelGenOutputExtended>(std::move(*source));
    EXPECT_TRUE(source->lutData.empty());
    EXPECT_EQ(source->headerSize, 9920u);  // fixed members keep their values
    EXPECT_EQ(moved->lutData.size(), 763776u);
    EXPECT_EQ(moved->lutData.back(), 0x22);
    EXPECT_EQ(moved->cubeHeader[0], '#');

    auto target = std::make_unique<ZelGenOutputExtended>();
    *target = std::move(*moved);
    EXPECT_TRUE(moved->lutData.empty());
    EXPECT_EQ(target->lutData[0], 0x11);

    // Self-assignment, by copy and by move, leaves the record unchanged.
    ZelGenOutputExtended& self = *target;
    *target = self;
    EXPECT_EQ(target->lutData.size(), 763776u);
    *target = std::move(self);
    EXPECT_EQ(target->lutData.size(), 763776u);
    EXPECT_EQ(target->lutData[0], 0x11);
    EXPECT_EQ(target->headerSize, 9920u);
}

TEST(Records, InitiarizeBufferClearsAFilledList) {
    ZelMetadataHeaderList list;
    std::memcpy(list.magic, "MDHL", 4);
    list.listLength = 64;
    list.blockCount = 6;
    list.entries[5].offset = 1344;
    list.trailing = 0xFFFFFFFFu;
    list.initiarizeBuffer();
    const ZelMetadataHeaderList fresh;
    EXPECT_EQ(std::memcmp(&list, &fresh, sizeof list), 0);
    EXPECT_TRUE(allZero(&list, sizeof list));
}

TEST(Records, LayoutSizesMatchTheLookFile) {
    EXPECT_EQ(sizeof(Zel), 121200u);
    EXPECT_EQ(sizeof(ZelBinary), 118448u);
    EXPECT_EQ(sizeof(ZelHeaderExtended6Data), 9920u);
    EXPECT_EQ(sizeof(ZelMetadataHeaderList), 64u);
    EXPECT_EQ(offsetof(Zel, metadataHeaderList), 1152u);
    EXPECT_EQ(offsetof(Zel, binary), 2752u);
}
