// --stage K reports exactly what a file of the first K recorded moves reports.

#include "cli/evaluator.h"
#include "dialogue/lineofargumentation.h"
#include "dialogue/replay.h"
#include "dialogue/textfile.h"
#include "tests/cli/evalinput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr unsigned Lines = 150;

TEST(StageTest, EveryStageIsTheReportOfItsMovesAlone)
{
    for (unsigned seed = 1; seed <= Lines; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const std::string file = moveText(seed);
        for (const bool decline : {false, true}) {
            // The moves the file records, as korvane-eval answers the questions.
            lines::TLoggingBoxes boxes([decline] { return !decline; });
            TLineOfArgumentation whole(boxes);
            ReplayMoves(whole, ReadMoveFile(file, "-"), "-");
            const std::vector<TMoveText> recorded = RecordedMoves(whole);
            std::vector<std::string> options = {"--json"};
            if (decline)
                options.push_back("--decline");

            for (std::size_t stage = 0; stage <= recorded.size(); ++stage) {
                TLineOfArgumentation cut(boxes);
                ReplayMoves(cut, std::span(recorded).first(stage), "-");
                std::vector<std::string> staged = options;
                staged.insert(staged.end(), {"--stage", std::to_string(stage)});
                const TEvalRun expected = runEval(options, JoinTextLines(MoveTextLines(cut)));
                const TEvalRun actual = runEval(staged, file);
                ASSERT_EQ(actual.status, 0) << actual.err;
                ASSERT_EQ(actual.out, expected.out) << "stage " << stage;
            }
            options.insert(options.end(), {"--stage", std::to_string(recorded.size() + 1)});
            const TEvalRun past = runEval(options, file);
            EXPECT_EQ(past.status, 2);
            EXPECT_EQ(past.out, "");
            EXPECT_EQ(past.err.find('\n'), past.err.size() - 1) << past.err;
        }
    }
}

TEST(StageTest, AStageIsAWholeNumber)
{
    for (const char *stage : {"", "-1", "x", "1x", "99999999999999999999999"}) {
        SCOPED_TRACE(stage);
        const TEvalRun result = runEval({"--stage", stage}, "");
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.starts_with("korvane-eval: --stage needs a number")) << result.err;
    }
    EXPECT_EQ(runEval({"--stage"}, "").status, 2);
}

} // namespace
