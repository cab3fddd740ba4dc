#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "io/cube_header.h"

namespace {

struct Header {
    std::string text;      // up to the first NUL
    bool zeroTail = true;  // every byte after the text is NUL
};

void setName(char (&field)[128], const std::string& name) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, name.data(), std::min(name.size(), sizeof field));
}

std::string lookNameOf(const std::string& fileName) {
    char field[128];
    setName(field, fileName);
    std::uint8_t lookName[64];
    std::memset(lookName, 0xAA, sizeof lookName);
    zel::io::deriveLookName(field, lookName);
    return std::string(reinterpret_cast<const char*>(lookName),
                       strnlen(reinterpret_cast<const char*>(lookName), sizeof lookName));
}

Header headerFor(const std::string& fileName, std::uint8_t encoding, std::uint8_t grid) {
    char field[128];
    setName(field, fileName);
    std::uint8_t lookName[64];
    zel::io::deriveLookName(field, lookName);
    char cube[514];
    std::memset(cube, 0x55, sizeof cube);
    zel::io::writeCubeHeader(cube, field, encoding, lookName, grid);
    Header header;
    header.text = std::string(cube, strnlen(cube, sizeof cube));
    for (std::size_t i = header.text.size(); i < sizeof cube; ++i) {
        header.zeroTail = header.zeroTail && cube[i] == '\0';
    }
    return header;
}

TEST(CubeHeader, WorkedExample) {
    const Header header = headerFor("Day_Ext.zel", 0, 33);
    EXPECT_EQ(header.text,
              "# ZEL: Day_Ext.zel\r\nTITLE Q-Enc3/Q-Prims3 to Day_Ext\r\nLUT_3D_SIZE 33\r\n");
    EXPECT_TRUE(header.zeroTail);
}

TEST(CubeHeader, LookNameCutsOnlyTheLastLowerCaseExtension) {
    EXPECT_EQ(lookNameOf("A.zel.zel"), "A.zel");
    EXPECT_EQ(lookNameOf("a.zelb"), "a");
    EXPECT_EQ(lookNameOf("Look.ZEL"), "Look.ZEL");
    EXPECT_EQ(lookNameOf(""), "");
    const std::string long64(64, 'x');
    EXPECT_EQ(lookNameOf(long64), std::string(60, 'x'));
    // An extension that reaches past byte 64 is not seen.
    EXPECT_EQ(lookNameOf(std::string(62, 'y') + ".zel"), std::string(60, 'y'));
    EXPECT_EQ(lookNameOf(std::string(60, 'z') + ".zel"), std::string(60, 'z'));
}

TEST(CubeHeader, TitleCarriesTheSourcePrefix) {
    EXPECT_EQ(headerFor("m.zel", 1, 9).text,
              "# ZEL: m.zel\r\nTITLE Q-Enc3/Q-Prims3.Film to m\r\nLUT_3D_SIZE 9\r\n");
    EXPECT_EQ(headerFor("m.zel", 3, 9).text,
              "# ZEL: m.zel\r\nTITLE ACEScct to m\r\nLUT_3D_SIZE 9\r\n");
    EXPECT_EQ(headerFor("m.zel", 7, 9).text, "# ZEL: m.zel\r\nTITLE m\r\nLUT_3D_SIZE 9\r\n");
    EXPECT_EQ(headerFor("", 2, 9).text, "# ZEL: \r\nTITLE ACEScc to \r\nLUT_3D_SIZE 9\r\n");
}

TEST(CubeHeader, LongNamesStayWholeInTheFirstLine) {
    const std::string name64(64, 'n');
    EXPECT_EQ(headerFor(name64, 2, 9).text, "# ZEL: " + name64 + "\r\nTITLE ACEScc to " +
                                                std::string(60, 'n') + "\r\nLUT_3D_SIZE 9\r\n");
    // A 128-byte name without a NUL: the first line is 7 + 128 characters before CR LF.
    const Header full = headerFor(std::string(128, 'f'), 0, 65);
    EXPECT_EQ(full.text.find("\r\n"), 135u);
    EXPECT_TRUE(full.zeroTail);
}

TEST(CubeHeader, GridSizeIsPlainDecimal) {
    for (const auto& [grid, text] : {std::pair<int, const char*>{9, "9"},
                                     {10, "10"},
                                     {99, "99"},
                                     {100, "100"},
                                     {255, "255"},
                                     {0, "0"}}) {
        const std::string header = headerFor("g.zel", 0, static_cast<std::uint8_t>(grid)).text;
        EXPECT_EQ(header.substr(header.rfind("LUT_3D_SIZE ")),
                  std::string("LUT_3D_SIZE ") + text + "\r\n");
    }
}

}  // namespace
