#ifndef ZEL_TESTS_SUPPORT_TEST_JOBS_H
#define ZEL_TESTS_SUPPORT_TEST_JOBS_H

// Small looks and job inputs shared by the tests.

#include <cstring>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "zel/records.h"

namespace zeltest {

// A host node table of N^3 nodes, four floats a node, blue fastest; `f` gives the three
// channel values of node (r, g, b) from its normalised coordinates.
inline std::vector<float> makeLattice(
    int n, const std::function<void(double, double, double, float*)>& f) {
    std::vector<float> nodes(static_cast<std::size_t>(n) * n * n * 4, 0.0f);
    const double step = 1.0 / (n - 1);
    for (int r = 0; r < n; ++r) {
        for (int g = 0; g < n; ++g) {
            for (int b = 0; b < n; ++b) {
                float* node = &nodes[((static_cast<std::size_t>(r) * n + g) * n + b) * 4];
                f(r * step, g * step, b * step, node);
                node[3] = 0.0f;
            }
        }
    }
    return nodes;
}

inline std::vector<float> identityLattice(int n) {
    return makeLattice(n, [](double r, double g, double b, float* out) {
        out[0] = static_cast<float>(r);
        out[1] = static_cast<float>(g);
        out[2] = static_cast<float>(b);
    });
}

// A gentle look that treats the channels differently, so index mix-ups show.
inline std::vector<float> warmLattice(int n) {
    return makeLattice(n, [](double r, double g, double b, float* out) {
        out[0] = static_cast<float>(0.05 + 0.9 * r + 0.05 * g);
        out[1] = static_cast<float>(0.02 + 0.85 * g + 0.1 * b * r);
        out[2] = static_cast<float>(0.1 + 0.7 * b + 0.1 * g);
    });
}

template <std::size_t N>
void setText(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
}

inline ZelGenInput makeInput(const std::string& model, int gridSize, const float* nodes,
                             int sourceEncoding = 0, int outputCurve = 0, int outputRange = 0) {
    ZelGenInput input;
    input.sourceEncoding = static_cast<std::uint8_t>(sourceEncoding);
    input.outputCurve = static_cast<std::uint8_t>(outputCurve);
    input.outputRange = static_cast<std::uint8_t>(outputRange);
    setText(input.modelName, model);
    setText(input.lookFileName, "Test_Look.zel");
    setText(input.fileHeaderText, "zel test");
    setText(input.fileHeaderTag, "tag");
    setText(input.lookHeaderText, "A look for tests");
    setText(input.lookHeaderNote, "Warm");
    setText(input.metadataName, "Cool");
    setText(input.metadataNameLong, "Cool long");
    input.gridSize = static_cast<std::uint8_t>(gridSize);
    input.nodeValues = nodes;
    return input;
}

// The clock tests give their jobs: 5 March 2026, 14:07:09.
inline zel::platform::LocalTime march5th2026() {
    return {2026, 3, 5, 14, 7, 9};
}

// Redirects std::cerr (or std::cout) into a string for the lifetime of the object.
class StreamCapture {
  public:
    explicit StreamCapture(std::ostream& stream) : stream_(stream) {
        saved_ = stream_.rdbuf(buffer_.rdbuf());
    }
    ~StreamCapture() { stream_.rdbuf(saved_); }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    std::string text() const { return buffer_.str(); }

  private:
    std::ostream& stream_;
    std::ostringstream buffer_;
    std::streambuf* saved_ = nullptr;
};

}  // namespace zeltest

#endif  // ZEL_TESTS_SUPPORT_TEST_JOBS_H
