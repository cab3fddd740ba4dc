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
        {&kTable0400, 28, "0400=03", "041B=00"},
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

TEST(RegisterTables, SecondGenerationControlPageSkipsTheFirstGenerationBoundaries) {
    RegisterList list;
    loadRegisterPage(kLutControl0100Second, list);
    EXPECT_EQ(text(list[43]), "012B=02");
    EXPECT_EQ(text(list[44]), "013E=02");
    EXPECT_EQ(text(list[52]), "0150=00");
    EXPECT_EQ(text(list[86]), "0172=03");
}

TEST(RegisterTables, MatrixPagesStoreCoefficientsLowByteFirst) {
    RegisterList list;
    EXPECT_EQ(loadMatrixPage(kMatrix0200M1, list), 37u);
    // Coefficient 2 is -0.0781555, 0x7EBFE in 19-bit two's complement.
    EXPECT_EQ(text(list[8]), "0208=FE");
    EXPECT_EQ(text(list[9]), "0209=EB");
    EXPECT_EQ(text(list[10]), "020A=07");
    EXPECT_EQ(text(list[11]), "020B=00");
    EXPECT_EQ(text(list[36]), "0224=01");

    loadMatrixPage(kGain0240Legal, list);
    EXPECT_EQ(text(list[0]), "0240=37");
    EXPECT_EQ(text(list[1]), "0241=DB");
    EXPECT_EQ(text(list[0x21]), "0261=DB");
    EXPECT_EQ(text(list[2]), "0242=00");

    loadMatrixPage(kGain0280For1236954, list);  // 0x13CA9
    EXPECT_EQ(text(list[0x10]), "0290=A9");
    EXPECT_EQ(text(list[0x11]), "0291=3C");
    EXPECT_EQ(text(list[0x12]), "0292=01");
    EXPECT_EQ(text(list[36]), "02A4=01");
}

TEST(RegisterTables, LumaChromaPagesCarryRangeAndWords) {
    RegisterList list;
    EXPECT_EQ(loadLumaChromaPage(kLumaChromaFirst, kLumaChromaRec2020First, 1, list), 24u);
    EXPECT_EQ(text(list[0]), "00C0=0A");
    EXPECT_EQ(text(list[1]), "00C1=02");
    EXPECT_EQ(text(list[3]), "00C7=00");
    EXPECT_EQ(text(list[5]), "00C9=01");
    EXPECT_EQ(text(list[6]), "00CA=1A");  // 538 = 0x021A
    EXPECT_EQ(text(list[7]), "00CB=02");
    EXPECT_EQ(text(list[22]), "00DA=18");  // 1048 = 0x0418
    EXPECT_EQ(text(list[23]), "00DB=04");

    EXPECT_EQ(loadLumaChromaPage(kLumaChromaSecond, kLumaChromaRec709, 0, list), 21u);
    EXPECT_EQ(text(list[0]), "00C0=00");
    EXPECT_EQ(text(list[1]), "00D8=00");
    EXPECT_EQ(text(list[2]), "00D9=00");
    EXPECT_EQ(text(list[3]), "00DA=B3");   // 435 = 0x01B3
    EXPECT_EQ(text(list[20]), "00EB=04");  // 1047 = 0x0417
}

}  // namespace
