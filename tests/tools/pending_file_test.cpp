// Output files appear whole or not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "zelgen/pending_file.h"

namespace {

namespace fs = std::filesystem;

class PendingFileTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) / "zel_pending_file";
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

TEST_F(PendingFileTest, NothingAppearsUntilCommitAndNothingStaysWithoutIt) {
    const fs::path target = dir_ / "look.zel";
    {
        zelgen::PendingFile file(target.string());
        file.write("abc", 3);
        EXPECT_FALSE(fs::exists(target));
        EXPECT_EQ(entries(), 1u) << "the temporary file";
    }
    EXPECT_EQ(entries(), 0u);

    std::ofstream(target) << "old";
    {
        zelgen::PendingFile file(target.string());
        file.write("new look", 8);
        file.commit();
    }
    std::ostringstream text;
    text << std::ifstream(target).rdbuf();
    EXPECT_EQ(text.str(), "new look");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(PendingFileTest, UnwritableFolderIsAnErrorNamingTheFile) {
    const std::string target = (dir_ / "no_such_folder" / "look.zel").string();
    try {
        zelgen::PendingFile file(target);
        ADD_FAILURE() << "created a file in a missing folder";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
    }
}

}  // namespace
