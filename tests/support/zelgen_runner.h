#ifndef ZEL_TESTS_SUPPORT_ZELGEN_RUNNER_H
#define ZEL_TESTS_SUPPORT_ZELGEN_RUNNER_H

// Runs the built zelgen as a person runs it, in a fresh folder per test: exit code,
// standard output and standard error of each run, and the files it leaves.

#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zeltest {

struct ZelgenOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& text) {
    std::string q = "'";
    for (const char c : text) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh folder per test, named after the test, removed afterwards.
class ZelgenTest : public testing::Test {
  protected:
    void SetUp() override {
#if defined(_WIN32)
        GTEST_SKIP() << "runs zelgen through a POSIX shell";
#endif
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        // A random part keeps the folders of two build trees testing at once apart.
        dir_ = std::filesystem::path(testing::TempDir()) /
               (std::string("zelgen_") + test->test_suite_name() + "_" + test->name() + "_" +
                std::to_string(std::random_device{}()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
    }

    std::filesystem::path path(const std::string& name) const {
        return dir_ / name;
    }

    // Runs a shell command line in the folder; `$ZELGEN` in it stands for the built tool.
    ZelgenOutcome shell(const std::string& script) const {
        const std::string out = (dir_ / ".stdout").string();
        const std::string err = (dir_ / ".stderr").string();
        const std::string command = "ZELGEN=" + shellQuoted(ZELGEN_PATH) + "; cd " +
                                    shellQuoted(dir_.string()) + "; " + script + " >" +
                                    shellQuoted(out) + " 2>" + shellQuoted(err);
        const int status = std::system(("bash -c " + shellQuoted(command)).c_str());
        ZelgenOutcome run;
#if defined(_WIN32)
        run.exitCode = status;
#else
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        run.out = slurp(out);
        run.err = slurp(err);
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return run;
    }

    // zelgen with these arguments, each passed as one word, and no standard input.
    ZelgenOutcome zelgen(const std::vector<std::string>& args) const {
        std::string line = "\"$ZELGEN\"";
        for (const std::string& arg : args) {
            line += " " + shellQuoted(arg);
        }
        return shell(line + " </dev/null");
    }

    void writeFile(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    // Every file in the folder (or a sub-folder), sorted.
    std::vector<std::string> files(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / sub)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir_;
};

}  // namespace zeltest

#endif  // ZEL_TESTS_SUPPORT_ZELGEN_RUNNER_H
