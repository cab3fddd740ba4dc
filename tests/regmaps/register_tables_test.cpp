#include "regmaps/register_tables.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace zel::regmaps;

std::string text(const RegisterEntry& entry) {
    return entry.address() + "=" + entry.value();
}

struct PageCase {
    const RegisterPage* page;
    std::size_t count;
    const char* first;
    const char* last;
};

TEST(RegisterTables, PagesHaveTheirCountsAndEnds) {
    const PageCase cases[] = {
        {&kTable0086, 18, "0086=00", "0097=00"},
        {&kTable0043, 4, "0043=00", "0046=00"},
        {&kLutControl0100Log, 70, "0100=04", "0145=08"},
        {&kLutControl0100AcesCc, 70, "0100=06", "0145=04"},
        {&kLutControl0100AcesCct, 70, "0100=06", "0145=06"},
        {&kLutControl0100Second, 88, "0100=06", "0173=00"},
        {&kLutControl0180, 70, "0180=06", "01C5=09"},
        {&kLutControl0A00AcesCc, 70, "0A00=00", "0A45=08"},
        {&kLutControl0A00AcesCct, 70, "0A00=06", "0A45=08"},
        {&kLutControl0A00Log, 70, "0A00=06", "0A45=08"},
    };
    for (const PageCase& c : cases) {
        RegisterList list(3);
        EXPECT_EQ(loadRegisterPage(*c.page, list), c.count) << c.page->name;
        ASSERT_EQ(list.size(), c.count) << c.page->name;
        EXPECT_EQ(text(list.front()), c.first) << c.page->name;
        EXPECT_EQ(text(list.back()), c.last) << c.page->name;
        // Every register a page names must lie on the page.
        for (const ConstSpan<RegisterValue>& values : {c.page->values, c.page->overrides}) {
            for (const RegisterValue& v : values) {
                bool found = false;
                for (const RegisterEntry& e : list) {
                    found = found || e.addressNumber() == v.address;
                }
                EXPECT_TRUE(found) << c.page->name << " names " << v.address;
            }
        }
    }
}

// Multi-byte values are stored low byte first; a matrix page ends with its latch.
TEST(RegisterTables, MatrixAndLumaChromaPagesStoreWordsLowByteFirst) {
    RegisterList m1, gain, luma2020, luma709;
    EXPECT_EQ(loadMatrixPage(kMatrix0200M1, m1), 37u);
    loadMatrixPage(kGain0280For1236954, gain);  // 0x13CA9
    EXPECT_EQ(loadLumaChromaPage(kLumaChromaFirst, kLumaChromaRec2020First, 1, luma2020), 24u);
    EXPECT_EQ(loadLumaChromaPage(kLumaChromaSecond, kLumaChromaRec709, 0, luma709), 21u);
    const struct {
        const RegisterList& list;
        std::size_t index;
        const char* expected;
    } cases[] = {
        // Coefficient 2 of M1 is -0.0781555, 0x7EBFE in 19-bit two's complement.
        {m1, 8, "0208=FE"},        {m1, 9, "0209=EB"},        {m1, 10, "020A=07"},
        {m1, 11, "020B=00"},       {m1, 36, "0224=01"},       {gain, 0x10, "0290=A9"},
        {gain, 0x11, "0291=3C"},   {gain, 0x12, "0292=01"},   {gain, 36, "02A4=01"},
        {luma2020, 0, "00C0=0A"},  {luma2020, 5, "00C9=01"},   // legal range
        {luma2020, 6, "00CA=1A"},  {luma2020, 7, "00CB=02"},   // 538
        {luma2020, 22, "00DA=18"}, {luma2020, 23, "00DB=04"},  // 1048
        {luma709, 0, "00C0=00"},   {luma709, 3, "00DA=B3"},    // 435
        {luma709, 20, "00EB=04"},                              // 1047
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(c.list[c.index]), c.expected) << c.index;
    }
}

}  // namespace
