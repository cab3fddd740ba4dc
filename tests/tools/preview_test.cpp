// zelgen preview's picture of an identity look: three labelled panels, the camera's equal
// to the source look's and their difference dark.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "check/png_image.h"
#include "check/preview_command.h"
#include "cube/cube_writer.h"
#include "support/look_jobs.h"

namespace {

namespace fs = std::filesystem;

TEST(Preview, ShowsAnIdentityLookAlikeInBothPanelsWithADarkDifference) {
    if (!zelgen::pngSupported()) {
        GTEST_SKIP() << "built without PNG support";
    }
    // A folder of this run's own: other builds' tests may run at the same time.
    const fs::path dir =
        fs::path(testing::TempDir()) /
        ("zelgen_preview_" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    const int n = 17;
    const std::vector<float> nodes = zeltest::identityLattice(n);
    const std::vector<std::uint8_t> look = zeltest::makeLookFile("CAMB-001", false, n, nodes);
    std::ofstream((dir / "look.zel").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(look.data()),
               static_cast<std::streamsize>(look.size()));
    std::ofstream((dir / "look.cube").string()) << zelgen::formatCubeText("", n, nodes.data());

    // Pass 1 reads the look's own gamut: there the camera holds the identity look.
    const std::string chart = (dir / "chart.png").string();
    ASSERT_EQ(
        zelgen::runPreview((dir / "look.zel").string(), (dir / "look.cube").string(), chart, "", 1),
        0);
    const zelgen::RgbImage image = zelgen::readPng(chart);
    // A title line, then three panels of a label line and the 768 x 224 chart.
    constexpr std::uint32_t kLabel = 30;
    constexpr std::uint32_t kChart = 224;
    ASSERT_EQ(image.width, 784u);
    ASSERT_EQ(image.height, kLabel + 3 * (kLabel + kChart) + 8);
    double largestDifference = 0.0;
    double largestGap = 0.0;
    for (std::uint32_t y = 0; y < kChart; ++y) {
        for (std::uint32_t x = 8; x < 8 + 768; ++x) {
            for (std::uint32_t c = 0; c < 3; ++c) {
                auto at = [&](std::uint32_t panel) {
                    const std::uint32_t row = kLabel + panel * (kLabel + kChart) + kLabel + y;
                    return image.pixels[(static_cast<std::size_t>(row) * image.width + x) * 3 + c];
                };
                largestGap = std::max(largestGap, std::fabs(double(at(0)) - at(1)));
                largestDifference = std::max(largestDifference, double(at(2)));
            }
        }
    }
    EXPECT_LE(largestGap, 1.5 / 255.0);
    EXPECT_LE(largestDifference, 3.0 / 255.0);

    // The user's own frame: the chart picture itself, shown the same way.
    const std::string frame = (dir / "frame.png").string();
    ASSERT_EQ(
        zelgen::runPreview((dir / "look.zel").string(), (dir / "look.cube").string(), frame, chart),
        0);
    EXPECT_EQ(zelgen::readPng(frame).height, kLabel + 3 * (kLabel + image.height) + 8);

    // Unasked, the chart shows the pass where the camera departs most: pass 0, which reads
    // Q-Prims3.Film, where the gamut move bends at the edge of the look's gamut; the place
    // of the largest difference is marked in the ink colour.
    const std::string worst = (dir / "worst.png").string();
    const std::string film = (dir / "film.png").string();
    ASSERT_EQ(
        zelgen::runPreview((dir / "look.zel").string(), (dir / "look.cube").string(), worst, ""),
        0);
    ASSERT_EQ(
        zelgen::runPreview((dir / "look.zel").string(), (dir / "look.cube").string(), film, "", 0),
        0);
    const zelgen::RgbImage shown = zelgen::readPng(worst);
    EXPECT_EQ(shown.pixels, zelgen::readPng(film).pixels);
    double departure = 0.0;
    int marks = 0;
    for (std::uint32_t y = 0; y < kChart; ++y) {
        for (std::uint32_t x = 8; x < 8 + 768; ++x) {
            const std::uint32_t row = kLabel + 2 * (kLabel + kChart) + kLabel + y;
            const float* p = &shown.pixels[(static_cast<std::size_t>(row) * shown.width + x) * 3];
            const bool ink = std::fabs(p[0] - 0.9f) < 0.01f && std::fabs(p[1] - 0.9f) < 0.01f &&
                             std::fabs(p[2] - 0.9f) < 0.01f;
            marks += ink ? 1 : 0;
            departure = std::max(departure, ink ? 0.0 : double(*std::max_element(p, p + 3)));
        }
    }
    EXPECT_GT(departure, 0.1);  // 10 code values, where pass 1 stays within 3 tenths
    EXPECT_GE(marks, 30);
    EXPECT_NE(zelgen::runPreview((dir / "look.zel").string(), (dir / "look.cube").string(),
                                 (dir / "none.png").string(), "", 2),
              0);
    fs::remove_all(dir);
}

}  // namespace
