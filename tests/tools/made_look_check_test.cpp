// make checks the file it has just written against itself instead of making it again: the
// report must be the one `zelgen check --look` gives, word for word, for looks the camera
// renders faithfully and for looks it cannot.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "cube_reader/node_table.h"
#include "support/look_jobs.h"

namespace {

zel::io::NodeTable tableOf(int grid, const std::vector<float>& nodes) {
    zel::io::NodeTable table(grid);
    std::copy(nodes.begin(), nodes.end(), table.data());
    return table;
}

// Saturated past the camera's limits, so the fidelity verdict fails.
std::vector<float> harshLattice(int n) {
    return zeltest::makeLattice(n, [](double r, double g, double b, float* out) {
        const double mean = (r + g + b) / 3.0;
        out[0] = static_cast<float>(std::clamp(mean + 3.0 * (r - mean), 0.0, 1.0));
        out[1] = static_cast<float>(std::clamp(mean + 3.0 * (g - mean), 0.0, 1.0));
        out[2] = static_cast<float>(1.0 - b);
    });
}

TEST(MadeLookCheck, GivesTheReportOfTheFullCheck) {
    struct Case {
        const char* model;
        bool extended;
        std::uint32_t flags;
        bool harsh;
    };
    const Case cases[] = {
        {"CAMB-001", false, 0, false},
        {"CAMB-001", false, (1u << 4) | (1u << 8), true},
        {"CAMB-002", true, 1u << 4, true},
    };
    constexpr int kGrid = 9;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + (c.harsh ? " harsh" : " warm"));
        const std::vector<float> nodes =
            c.harsh ? harshLattice(kGrid) : zeltest::warmLattice(kGrid);
        const std::vector<std::uint8_t> file =
            zeltest::makeLookFile(c.model, c.extended, kGrid, nodes, 0, 0, 0, c.flags);
        ASSERT_FALSE(file.empty());
        const zel::io::NodeTable look = tableOf(kGrid, nodes);
        const nlohmann::json made = nlohmann::json::parse(zelgen::checkMadeLook(file, look));
        EXPECT_EQ(made, nlohmann::json::parse(zelgen::checkReport(file, &look)));
        EXPECT_TRUE(made.contains("fidelity"));
        EXPECT_FALSE(made["damaged"].get<bool>());
    }
}

}  // namespace
