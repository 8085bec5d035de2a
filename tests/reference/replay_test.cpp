// A line is its recorded moves: replaying them, read back from their text, into a new line gives
// every stage again. Undo, Open and the evaluator's stages rely on it.

#include "tests/reference/lines.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/replay.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace {

using namespace lines;

constexpr unsigned Lines = 300;

TEST(ReplayTest, RecordedMovesGiveEveryStageAgain)
{
    for (unsigned seed = 1; seed <= Lines; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        TLineMaker maker(seed);
        TLoggingBoxes boxes(seed); // Random answers, so some moves are declined.
        TLineOfArgumentation original(boxes);
        std::vector<std::string> stages{snapshot(original, {})};
        for (int index = maker.length(); index > 0; --index) {
            const int before = original.ArgumentationMoves.Count();
            play(original, maker.next());
            if (original.ArgumentationMoves.Count() > before)
                stages.push_back(snapshot(original, {}));
        }

        const std::vector<TMoveText> moves = RecordedMoves(original);
        ASSERT_EQ(moves.size() + 1, stages.size());
        TLoggingBoxes yes([] { return true; });
        // Each prefix into a line of its own, as Undo makes it.
        for (std::size_t count = 0; count <= moves.size(); ++count) {
            TLineOfArgumentation copy(yes);
            ReplayMoves(copy, std::span(moves).first(count), "moves");
            ASSERT_EQ(snapshot(copy, {}), stages[count]) << "after " << count << " moves";
        }
        EXPECT_EQ(yes.warnings, 0);
        EXPECT_EQ(RecordedMoves(original, moves.size() / 2).size(),
                  moves.size() - moves.size() / 2);
    }
}

} // namespace
