#include "model/arena.h"
#include "model/statement.h"

#include <gtest/gtest.h>

namespace {

TEST(StatementTest, WarrantSentencesKeepTheTextsByteForByte)
{
    EXPECT_EQ(StepWarrant("r", "c"), "AS A RULE, IF (r), THEN (c)");
    EXPECT_EQ(StepWarrant(" r ", ""), "AS A RULE, IF ( r ), THEN ()");
    EXPECT_EQ(ExceptionWarrant("e", "r", "c"),
              "IF (e), THEN THE RULE THAT, IF (r), THEN (c), IS BLOCKED");
    EXPECT_EQ(ExceptionWarrant("\xc3\xa9", "(r)", "c)"),
              "IF (\xc3\xa9), THEN THE RULE THAT, IF ((r)), THEN (c)), IS BLOCKED");
}

TEST(StatementTest, NewObjectsStartAsTheModelSays)
{
    TArena arena;
    const TStatement *statement = arena.NewStatement();
    EXPECT_EQ(statement->StatementType, TStatementType::Issue);
    EXPECT_EQ(statement->JustificationStatus, TJustificationStatus::Undecided);
    EXPECT_TRUE(statement->Id.empty());

    const TReasonConclusion *step = arena.NewReasonConclusion();
    EXPECT_EQ(step->Reason->StatementType, TStatementType::Issue);
    EXPECT_EQ(step->Conclusion->StatementType, TStatementType::Assumption);
    EXPECT_NE(step->Reason, step->Conclusion);
    EXPECT_TRUE(step->Exceptions.IsEmpty());
    EXPECT_EQ(StatementTypeName(TStatementType::Issue), "Issue");
    EXPECT_EQ(StatementTypeName(TStatementType::Assumption), "Assumption");
}

TEST(StatementTest, StoredValuesAreTheDocumentedBytes)
{
    EXPECT_EQ(static_cast<int>(TStatementType::Assumption), 0);
    EXPECT_EQ(static_cast<int>(TStatementType::Issue), 1);
    EXPECT_EQ(static_cast<int>(TJustificationStatus::Justified), 0);
    EXPECT_EQ(static_cast<int>(TJustificationStatus::Unjustified), 1);
    EXPECT_EQ(static_cast<int>(TJustificationStatus::Undecided), 2);
}

TEST(StatementTest, RefListRemovesTheFirstOccurrenceOnly)
{
    TArena arena;
    TStatement *a = arena.NewStatement();
    TStatement *b = arena.NewStatement();
    TStatements list;
    EXPECT_EQ(list.Add(a), 0);
    list.Add(b);
    list.Add(a);
    EXPECT_EQ(list.Remove(a), 0);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], b);
    EXPECT_EQ(list[1], a);
    EXPECT_EQ(list.Remove(arena.NewStatement()), -1);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
