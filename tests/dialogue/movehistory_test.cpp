#include "dialogue/movehistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<TMoveText> statements(std::vector<std::string> texts)
{
    std::vector<TMoveText> moves;
    for (std::string &text : texts)
        moves.push_back({TMoveKind::Statement, 0, {{std::move(text), TStatementType::Issue}}});
    return moves;
}

std::vector<std::string> texts(const TMoveHistory &history)
{
    std::vector<std::string> result;
    for (const TMoveText &move : history.Moves())
        result.push_back(move.Sentences[0].Text);
    return result;
}

TEST(MoveHistoryTest, UndoStepsAreCommandsAndANewMoveDropsWhatCouldBeRedone)
{
    TMoveHistory history;
    EXPECT_FALSE(history.IsModified());
    history.Record(statements({"a"}));
    history.Record(statements({"b", "b warrant"})); // One dialog, two moves.
    history.Record({});                             // A declined move makes no step.
    EXPECT_EQ(history.Position(), 3U);
    ASSERT_TRUE(history.CanUndo());
    EXPECT_EQ(history.UndoPosition(), 1U);
    history.Undo();
    EXPECT_EQ(history.Position(), 1U);
    ASSERT_TRUE(history.CanRedo());
    EXPECT_EQ(history.RedoPosition(), 3U);

    history.Record(statements({"c"}));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(texts(history), (std::vector<std::string>{"a", "c"}));
    history.Undo();
    history.Undo();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Position(), 0U);
}

TEST(MoveHistoryTest, ModifiedUntilThePositionIsTheSavedOne)
{
    TMoveHistory history;
    history.Record(statements({"a"}));
    EXPECT_TRUE(history.IsModified());
    history.MarkSaved();
    EXPECT_FALSE(history.IsModified());
    history.Undo();
    EXPECT_TRUE(history.IsModified());
    history.Redo();
    EXPECT_FALSE(history.IsModified());

    // Saved at "a"; undone and replaced by "b": the saved moves exist nowhere now.
    history.Undo();
    history.Record(statements({"b"}));
    history.Undo();
    EXPECT_TRUE(history.IsModified());

    history.Reset(statements({"x", "y"}));
    EXPECT_FALSE(history.IsModified());
    EXPECT_EQ(history.Position(), 2U);
    EXPECT_EQ(history.UndoPosition(), 1U);
}

} // namespace
