// The job planner both entry points share (the C interface and zelgen): the model table's
// text rooms against what a made look file holds, the input record it fills and the look
// file it takes out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "api/look_file_image.h"
#include "api/look_job_plan.h"
#include "support/test_jobs.h"
#include "zel/camera_models.h"

namespace {

bool holds(const std::vector<std::uint8_t>& file, const std::string& text) {
    return std::search(file.begin(), file.end(), text.begin(), text.end()) != file.end();
}

struct MadeLook {
    std::vector<std::uint8_t> file;
    ZelEnum::ZEL_STATUS status = ZelEnum::ZEL_STATUS_NONE;
};

MadeLook make(const zel::LookRequest& request, const std::string& name) {
    const std::vector<float> lattice = zeltest::identityLattice(2);
    std::vector<float> reindexed(lattice.size());  // Q-Enc3 jobs return the look re-indexed
    zel::LookJob job(request, name, 2, lattice.data(), reindexed.data());
    ZelGenerator generator;
    generator.zel_set_console(nullptr, nullptr);
    MadeLook made;
    EXPECT_TRUE(job.prepare(generator));
    job.run(generator);
    made.status = generator.zel_get_status();
    if (made.status == ZelEnum::ZEL_STATUS_DONE) {
        EXPECT_TRUE(job.takeLookFile(made.file));
    }
    return made;
}

std::string filled(char letter, int room) {
    return std::string(static_cast<std::size_t>(room), letter);
}

}  // namespace

// Every text as long as the table's room reaches the look file whole, in each layout of
// each model, and one byte more is refused naming that text and its room.
TEST(LookJobPlan, TheTablesTextRoomsAreWhatTheLookFileHolds) {
    for (int m = 0; const ZelCameraModelInfo* info = zel_camera_model_at(m); ++m) {
        const zel::CameraModel& model = *zel::findCameraModel(info->name);
        for (const bool extended : {false, true}) {
            SCOPED_TRACE(std::string(info->name) + (extended ? " extended" : " standard"));
            if (!extended && !info->standardLayoutFits) {
                continue;
            }
            zel::LookRequest request;
            request.model = info->name;
            request.created = "2026-01-02 03:04:05";
            request.extendedJob = extended;
            const int secondNameRoom =
                extended ? info->extendedSecondNameRoom : info->secondNameRoom;
            const std::string name = filled('a', info->lookFileNameRoom);
            request.texts.note = filled('N', info->noteRoom);
            request.texts.secondName = filled('S', secondNameRoom);
            request.texts.lookText = filled('L', info->lookTextRoom);
            request.texts.headerText = filled('H', info->headerTextRoom);
            request.texts.headerTag = filled('T', info->headerTagRoom);
            EXPECT_FALSE(zel::findTextTooLong(model, request, name));

            const MadeLook made = make(request, name);
            ASSERT_EQ(made.status, ZelEnum::ZEL_STATUS_DONE);
            EXPECT_TRUE(holds(made.file, name));
            EXPECT_TRUE(holds(made.file, request.texts.note));
            EXPECT_TRUE(holds(made.file, request.texts.secondName));
            EXPECT_TRUE(holds(made.file, request.texts.lookText));
            EXPECT_TRUE(holds(made.file, request.texts.headerText));
            EXPECT_TRUE(holds(made.file, request.texts.headerTag));

            request.texts.secondName += 'S';
            const auto tooLong = zel::findTextTooLong(model, request, name);
            ASSERT_TRUE(tooLong);
            EXPECT_EQ(tooLong->text, zel::LookText::secondName);
            EXPECT_EQ(tooLong->length, static_cast<std::size_t>(secondNameRoom) + 1);
            EXPECT_EQ(tooLong->room, static_cast<std::size_t>(secondNameRoom));
            request.texts.secondName.pop_back();
            const auto longName = zel::findTextTooLong(model, request, name + "a");
            ASSERT_TRUE(longName);
            EXPECT_EQ(longName->text, zel::LookText::name);
        }
    }
}

// The extended files of the second generation and of metadata mode 3 give the second name
// more room than a standard file; the first generation's do not.
TEST(LookJobPlan, TheSecondNamesRoomFollowsTheModelAndLayout) {
    EXPECT_EQ(zel_find_camera_model("CAMB-001")->extendedSecondNameRoom, 28);
    EXPECT_EQ(zel_find_camera_model("CAMB-002")->extendedSecondNameRoom, 59);
    EXPECT_EQ(zel_find_camera_model("CAMA-001")->extendedSecondNameRoom, 59);
    for (int m = 0; const ZelCameraModelInfo* info = zel_camera_model_at(m); ++m) {
        EXPECT_EQ(info->secondNameRoom, 28) << info->name;
        EXPECT_EQ(zel::findCameraModel(info->name)->info.extendedSecondNameRoom,
                  info->extendedSecondNameRoom);
    }
}

// The request's options reach the input record as its named flag bits, and the standard
// second-name field holds what a standard file has room for.
TEST(LookJobPlan, TheInputRecordCarriesTheOptionsAndBothSecondNames) {
    zel::LookRequest request;
    request.model = "CAMA-001";
    request.extendedJob = true;
    request.longChain = true;
    request.texts.secondName = filled('S', 59);
    request.created = "2026-01-02 03:04:05";
    const MadeLook longChain = make(request, "look.zel");
    ASSERT_EQ(longChain.status, ZelEnum::ZEL_STATUS_DONE);
    EXPECT_TRUE(holds(longChain.file, request.texts.secondName));

    // The same look with the flags set by hand through the generator gives the same bytes.
    const std::vector<float> lattice = zeltest::identityLattice(2);
    ZelGenInput input;  // every text field zero
    std::memcpy(input.modelName, "CAMA-001", 8);
    std::memcpy(input.lookFileName, "look.zel", 8);
    input.gridSize = 2;
    input.nodeValues = lattice.data();
    std::memset(input.metadataName, 'S', 28);
    std::memset(input.metadataNameLong, 'S', 59);
    input.flags = ZelGenInput::kLongChainFlag;
    auto output = std::make_unique<ZelGenOutputExtended>();
    std::vector<float> reindexed(lattice.size());
    output->floatLut = reindexed.data();
    ZelGenerator generator;
    generator.zel_set_console(nullptr, nullptr);
    generator.zel_initialize();
    ASSERT_TRUE(generator.zel_set_time_stamp("2026-01-02 03:04:05"));
    generator.zel_exec(input, *output);
    std::vector<std::uint8_t> byHand;
    ASSERT_TRUE(zel::takeLookFile(*output, byHand));
    EXPECT_EQ(byHand, longChain.file);
}

// A caller that will not read the re-indexed look passes no table for it: the job leaves
// it out and makes the same look file, in both layouts and both Q-Enc3 gamuts. The
// exported job on the same generator still refuses a missing table afterwards.
TEST(LookJobPlan, LeavingOutTheReindexedLookMakesTheSameFile) {
    const std::vector<float> lattice = zeltest::warmLattice(9);
    for (const bool extended : {false, true}) {
        for (const std::uint8_t source : {0, 1}) {
            SCOPED_TRACE(std::to_string(source) + (extended ? " extended" : " standard"));
            zel::LookRequest request;
            request.model = extended ? "CAMB-002" : "CAMB-001";
            request.created = "2026-01-02 03:04:05";
            request.extendedJob = extended;
            request.source = source;
            ZelGenerator generator;
            generator.zel_set_console(nullptr, nullptr);
            std::vector<float> reindexed(lattice.size(), -1.0f);
            std::vector<std::uint8_t> files[2];
            for (float* target : {reindexed.data(), static_cast<float*>(nullptr)}) {
                zel::LookJob job(request, "warm.zel", 9, lattice.data(), target);
                ASSERT_TRUE(job.prepare(generator));
                job.run(generator);
                ASSERT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_DONE);
                ASSERT_TRUE(job.takeLookFile(files[target == nullptr ? 1 : 0]));
            }
            EXPECT_EQ(files[0], files[1]);
            EXPECT_NE(reindexed[0], -1.0f);

            generator.zel_initialize();
            ZelGenInput input;
            input.gridSize = 9;
            input.nodeValues = lattice.data();
            input.sourceEncoding = source;
            std::strncpy(input.modelName, "CAMB-001", sizeof input.modelName);
            ZelGenOutput output;
            generator.zel_exec(input, output);
            EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_ERROR);
        }
    }
}
