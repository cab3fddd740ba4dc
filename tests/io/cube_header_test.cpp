#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "io/cube_header.h"

namespace {

void setName(char (&field)[128], const std::string& name) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, name.data(), std::min(name.size(), sizeof field));
}

std::string lookNameOf(const std::string& fileName) {
    char field[128];
    setName(field, fileName);
    std::uint8_t lookName[64];
    zel::io::deriveLookName(field, lookName);
    return std::string(reinterpret_cast<const char*>(lookName),
                       strnlen(reinterpret_cast<const char*>(lookName), sizeof lookName));
}

// The header text up to its NUL; fails if any byte behind it is not NUL.
std::string headerFor(const std::string& fileName, std::uint8_t encoding, std::uint8_t grid) {
    char field[128];
    setName(field, fileName);
    std::uint8_t lookName[64];
    zel::io::deriveLookName(field, lookName);
    char cube[514];
    std::memset(cube, 0x55, sizeof cube);
    zel::io::writeCubeHeader(cube, field, encoding, lookName, grid);
    const std::size_t length = strnlen(cube, sizeof cube);
    EXPECT_EQ(std::string(cube + length, sizeof cube - length), std::string(514 - length, '\0'));
    return std::string(cube, length);
}

TEST(CubeHeader, ThreeLinesWithSourcePrefixAndLookName) {
    EXPECT_EQ(headerFor("Day_Ext.zel", 0, 33),
              "# ZEL: Day_Ext.zel\r\nTITLE Q-Enc3/Q-Prims3 to Day_Ext\r\nLUT_3D_SIZE 33\r\n");
    EXPECT_EQ(headerFor("m.zel", 1, 9),
              "# ZEL: m.zel\r\nTITLE Q-Enc3/Q-Prims3.Film to m\r\nLUT_3D_SIZE 9\r\n");
    EXPECT_EQ(headerFor("m.zel", 3, 9), "# ZEL: m.zel\r\nTITLE ACEScct to m\r\nLUT_3D_SIZE 9\r\n");
    EXPECT_EQ(headerFor("m.zel", 7, 9), "# ZEL: m.zel\r\nTITLE m\r\nLUT_3D_SIZE 9\r\n");
    EXPECT_EQ(headerFor("", 2, 9), "# ZEL: \r\nTITLE ACEScc to \r\nLUT_3D_SIZE 9\r\n");
}

TEST(CubeHeader, LookNameCutsOnlyTheLastLowerCaseExtensionInside64Bytes) {
    EXPECT_EQ(lookNameOf("A.zel.zel"), "A.zel");
    EXPECT_EQ(lookNameOf("a.zelb"), "a");
    EXPECT_EQ(lookNameOf("Look.ZEL"), "Look.ZEL");
    EXPECT_EQ(lookNameOf(std::string(60, 'z') + ".zel"), std::string(60, 'z'));
    EXPECT_EQ(lookNameOf(std::string(62, 'y') + ".zel"), std::string(60, 'y'));
}

TEST(CubeHeader, LongNamesStayWholeInTheFirstLine) {
    const std::string name64(64, 'n');
    EXPECT_EQ(headerFor(name64, 2, 9), "# ZEL: " + name64 + "\r\nTITLE ACEScc to " +
                                           std::string(60, 'n') + "\r\nLUT_3D_SIZE 9\r\n");
    // A 128-byte name without a NUL: 7 + 128 characters before the first CR LF.
    EXPECT_EQ(headerFor(std::string(128, 'f'), 0, 65).find("\r\n"), 135u);
}

TEST(CubeHeader, GridSizeIsPlainDecimal) {
    for (const int grid : {9, 10, 99, 100, 255}) {
        const std::string header = headerFor("g.zel", 0, static_cast<std::uint8_t>(grid));
        EXPECT_EQ(header.substr(header.rfind("LUT_3D_SIZE ")),
                  "LUT_3D_SIZE " + std::to_string(grid) + "\r\n");
    }
}

}  // namespace
