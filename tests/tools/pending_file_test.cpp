// Output files appear whole or not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "zelgen/pending_file.h"

namespace {

namespace fs = std::filesystem;

class PendingFileTest : public testing::Test {
  protected:
    void SetUp() override {
        // One folder a test: ctest runs the tests of this fixture at the same time.
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(testing::TempDir()) / (std::string("zel_pending_file_") + test->name());
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

#if !defined(_WIN32)
// Only regular files are replaced: a link is written through, anything else is refused.
TEST_F(PendingFileTest, OnlyRegularFilesAreReplacedAndLinksAreWrittenThrough) {
    fs::create_directory(dir_ / "real");
    std::ofstream(dir_ / "real" / "look.zel") << "old";
    fs::create_symlink(dir_ / "real" / "look.zel", dir_ / "link.zel");
    {
        zelgen::PendingFile file((dir_ / "link.zel").string());
        file.write("new", 3);
        file.commit();
    }
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.zel"));
    std::ostringstream text;
    text << std::ifstream(dir_ / "real" / "look.zel").rdbuf();
    EXPECT_EQ(text.str(), "new");
    EXPECT_EQ(entries(), 2u);

    fs::create_symlink(dir_ / "nowhere.zel", dir_ / "dangling.zel");
    fs::create_symlink(dir_ / "real", dir_ / "folder-link.zel");
    const struct {
        std::string target;
        const char* why;
    } refused[] = {
        {"/dev/null", "this is a device"},
        {(dir_ / "real").string(), "this is a folder"},
        {(dir_ / "dangling.zel").string(), "which does not exist"},
        {(dir_ / "folder-link.zel").string(), "which is a folder"},
    };
    for (const auto& r : refused) {
        try {
            zelgen::PendingFile file(r.target);
            ADD_FAILURE() << r.target;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(r.target + ": "), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(r.why), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(fs::exists(dir_ / "nowhere.zel"));
    EXPECT_EQ(entries(), 4u);
}
#endif

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
