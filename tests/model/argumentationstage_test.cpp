#include "stagefixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST_F(StageTest, AStatementMoveOnTheEmptyStageAddsItWithABareRoot)
{
    for (const auto &[type, status] :
         {std::pair{Assumption, TJustificationStatus::Justified},
          std::pair{Issue, TJustificationStatus::Undecided}}) {
        stage = arena.NewStage();
        TArgumentationStage *first = stage;
        TStatement *statement = Say("a", type);
        EXPECT_EQ(statement->Id, "1");
        EXPECT_EQ(Roots(), Strings{"a"});
        EXPECT_EQ(stage->Arguments[0]->Conclusion, statement);
        EXPECT_EQ(statement->JustificationStatus, status);
        EXPECT_TRUE(first->Statements.IsEmpty()); // The stage moved from is left as it was.
        EXPECT_TRUE(first->Arguments.IsEmpty());
    }
}

TEST_F(StageTest, IdsFollowTheOrderInWhichStatementsEnter)
{
    Say("x", Issue);
    Argue("r", Assumption, "c", Issue);
    EXPECT_EQ(Ids(), (Strings{"x=1", "c=2", "r=3"}));
    Except("e", Assumption, "r2", Assumption, "c2", Issue);
    EXPECT_EQ(Ids(), (Strings{"x=1", "c=2", "r=3", "e=4", "c2=5", "r2=6"}));
}

TEST_F(StageTest, ARepeatedStatementOnlyTakesTheNewTypeEverywhere)
{
    TStatement *first = Say("a", Issue);
    TArgumentationStage *before = stage;
    TStatement *again = Say("a", Assumption);
    EXPECT_EQ(stage->Statements.Count(), 1);
    EXPECT_EQ(stage->Arguments.Count(), 1);
    EXPECT_TRUE(again->Id.empty());
    EXPECT_EQ(before->Statements[0], first);
    EXPECT_EQ(first->StatementType, Assumption); // Shows in the earlier stage too.
    EXPECT_EQ(first->JustificationStatus, TJustificationStatus::Justified);
}

TEST_F(StageTest, AHeldStepTakesTheTypesAndTheArgumentsAreRebuilt)
{
    TReasonConclusion *step = Argue("r", Assumption, "c", Issue);
    const TArgument *oldRoot = stage->Arguments[0];
    TReasonConclusion *repeat = Argue("r", Issue, "c", Assumption);
    ASSERT_EQ(stage->ReasonConclusions.Count(), 1);
    EXPECT_EQ(stage->ReasonConclusions[0], step);
    EXPECT_NE(repeat, step);
    EXPECT_EQ(step->Reason->StatementType, Issue);
    EXPECT_EQ(step->Conclusion->StatementType, Assumption);
    EXPECT_EQ(Roots(), Strings{"c<-r"});
    EXPECT_NE(stage->Arguments[0], oldRoot);
    EXPECT_EQ(Status("c"), TJustificationStatus::Justified);
    EXPECT_EQ(Status("r"), TJustificationStatus::Undecided);
}

TEST_F(StageTest, AStepUsesTheStatementObjectsHeldBeforeTheMove)
{
    TStatement *r = Say("r", Assumption);
    TReasonConclusion *step = Argue("r", Assumption, "c", Issue);
    EXPECT_EQ(step->Reason, r);
    EXPECT_EQ(Held("c").Id, "2");
    EXPECT_EQ(step->Conclusion, &Held("c"));
    EXPECT_EQ(Roots(), Strings{"c<-r"}); // r is a reason now, no longer a root.
    EXPECT_EQ(stage->Arguments[0]->InitialArguments[0]->Conclusion, r);
}

TEST_F(StageTest, ArgumentsAreRebuiltFromTheSteps)
{
    struct Case {
        const char *name;
        std::vector<std::pair<std::string, std::string>> steps; // reason, conclusion
        Strings roots;
    };
    const std::vector<Case> cases = {
        {"one reason for two conclusions", {{"r", "c"}, {"r", "d"}}, {"c<-r", "d<-r"}},
        {"a chain", {{"b", "a"}, {"c", "b"}}, {"a<-b<-c"}},
        {"two reasons in step order", {{"x", "c"}, {"y", "c"}}, {"c<-(x,y)"}},
        {"a step onto itself", {{"a", "a"}}, {"a<-a"}},
        {"two steps in a cycle", {{"a", "b"}, {"b", "a"}}, {"b<-a<-b"}},
        {"a cycle below a root", {{"a", "b"}, {"b", "a"}, {"a", "t"}}, {"t<-a<-b<-a"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        stage = arena.NewStage();
        for (const auto &[reason, conclusion] : c.steps)
            Argue(reason, Assumption, conclusion, Issue);
        EXPECT_EQ(Roots(), c.roots);
        EXPECT_TRUE(stage->LinearArguments.IsEmpty());
    }
}

TEST_F(StageTest, TheSecondPassTakesCyclicReasonsInStatementOrder)
{
    // a enters before b: the root is for a, and b inside it is skipped.
    Say("a", Issue);
    Say("b", Issue);
    Argue("a", Assumption, "b", Issue);
    Argue("b", Assumption, "a", Issue);
    EXPECT_EQ(Roots(), Strings{"a<-b<-a"});
}

TEST_F(StageTest, SharedReasonsAreSeparateArgumentObjects)
{
    Argue("r", Assumption, "c", Issue);
    Argue("r", Assumption, "d", Issue);
    ASSERT_EQ(stage->Arguments.Count(), 2);
    EXPECT_NE(stage->Arguments[0]->InitialArguments[0], stage->Arguments[1]->InitialArguments[0]);
    EXPECT_EQ(stage->Arguments[0]->InitialArguments[0]->Conclusion,
              stage->Arguments[1]->InitialArguments[0]->Conclusion);
}

TEST_F(StageTest, AStepWhoseReasonIsItsConclusionEndsWithTheReasonsType)
{
    TReasonConclusion *step = Argue("a", Assumption, "a", Issue);
    ASSERT_EQ(stage->Statements.Count(), 1);
    EXPECT_EQ(Held("a").StatementType, Assumption);
    // Only the conclusion object entered; the reason stays the move's own, without an id.
    EXPECT_EQ(stage->Statements[0], step->Conclusion);
    EXPECT_NE(step->Reason, step->Conclusion);
    EXPECT_TRUE(step->Reason->Id.empty());
    EXPECT_EQ(step->Reason->StatementType, Assumption);
}

TEST_F(StageTest, ExceptionMovesAttachTheExceptionOnceToTheSharedStep)
{
    TReasonConclusion *step = Argue("r", Assumption, "c", Issue);
    TArgumentationStage *before = stage;
    TReasonConclusion *first = Except("e", Issue, "r", Assumption, "c", Issue);
    ASSERT_EQ(stage->ReasonConclusions.Count(), 1);
    ASSERT_EQ(step->Exceptions.Count(), 1);
    EXPECT_EQ(step->Exceptions[0], first->Exceptions[0]);
    EXPECT_EQ(before->ReasonConclusions[0], step); // The earlier stage sees it as well.

    Except("e", Assumption, "r", Assumption, "c", Issue);
    ASSERT_EQ(step->Exceptions.Count(), 1);
    EXPECT_EQ(step->Exceptions[0]->StatementType, Assumption);
    EXPECT_EQ(Status("c"), TJustificationStatus::Unjustified);
}

TEST_F(StageTest, AnExceptionMoveForANewStepBringsItsOwnExceptionObject)
{
    TStatement *e = Say("e", Assumption);
    TReasonConclusion *step = Except("e", Issue, "r", Assumption, "c", Issue);
    ASSERT_EQ(stage->ReasonConclusions.Count(), 1);
    EXPECT_EQ(stage->ReasonConclusions[0], step);
    ASSERT_EQ(step->Exceptions.Count(), 1);
    EXPECT_NE(step->Exceptions[0], e);
    EXPECT_TRUE(step->Exceptions[0]->Id.empty());
    EXPECT_EQ(e->StatementType, Issue); // The held statement took the move's type.
}

TEST_F(StageTest, DuplicateChecksUseFirstAndLastMatches)
{
    TStatement *probe = NewStatement("a", Issue);
    TStatement *untouched = probe;
    EXPECT_TRUE(stage->IsNewStatement(*probe, untouched));
    EXPECT_EQ(untouched, probe);

    // Lists that the moves would never build, to see which duplicate is given back.
    TStatement *first = NewStatement("a", Issue);
    TStatement *last = NewStatement("a", Issue);
    stage->Statements.Add(first);
    stage->Statements.Add(NewStatement("b", Issue));
    stage->Statements.Add(last);
    TStatement *held = nullptr;
    EXPECT_FALSE(stage->IsNewStatement(*probe, held));
    EXPECT_EQ(held, last);

    TReasonConclusion *one = NewStep("a", Issue, "b", Issue);
    TReasonConclusion *two = NewStep("a", Issue, "b", Issue);
    one->Exceptions.Add(NewStatement("x", Issue));
    stage->ReasonConclusions.Add(one);
    stage->ReasonConclusions.Add(two);
    TReasonConclusion *heldStep = nullptr;
    EXPECT_FALSE(stage->IsNewReasonConclusion(*NewStep("a", Assumption, "b", Issue), heldStep));
    EXPECT_EQ(heldStep, one);
    EXPECT_TRUE(stage->IsNewReasonConclusion(*NewStep("b", Issue, "a", Issue), heldStep));
    EXPECT_EQ(heldStep, one);
}

TEST_F(StageTest, GetNewIdGivesTheSmallestFreeNumber)
{
    const std::vector<std::pair<Strings, std::string>> cases = {
        {{}, "1"},
        {{"1", "2"}, "3"},
        {{"2", "3"}, "1"},
        {{"1", "3"}, "2"},
        {{"3", "1", "2"}, "4"},
        {{"7"}, "1"},
    };
    for (const auto &[ids, expected] : cases) {
        stage = arena.NewStage();
        for (const std::string &id : ids) {
            TStatement *statement = NewStatement("s" + id, Issue);
            statement->Id = id;
            stage->Statements.Add(statement);
        }
        std::string id = "unchanged";
        stage->GetNewId(id);
        EXPECT_EQ(id, expected);
    }
}

TEST_F(StageTest, AttachIdsGivesHeldIdsOrOneNewIdToBoth)
{
    Say("c", Issue);
    Say("r", Issue);
    TReasonConclusion *held = NewStep("r", Issue, "c", Issue);
    stage->AttachIds(*held);
    EXPECT_EQ(held->Conclusion->Id, "1");
    EXPECT_EQ(held->Reason->Id, "2");
    TReasonConclusion *fresh = NewStep("x", Issue, "y", Issue);
    stage->AttachIds(*fresh);
    EXPECT_EQ(fresh->Conclusion->Id, "3");
    EXPECT_EQ(fresh->Reason->Id, "3");
    EXPECT_EQ(stage->Statements.Count(), 2);
}

TEST_F(StageTest, StageComparisonsAskEveryRoot)
{
    Argue("b", Assumption, "a", Issue);
    Argue("x", Assumption, "y", Issue);
    EXPECT_TRUE(stage->IsArgument(*trees::Parse(arena, "y<-x")));
    EXPECT_FALSE(stage->IsArgument(*trees::Parse(arena, "x")));
    EXPECT_TRUE(stage->IsInitial(*trees::Parse(arena, "x")));
    EXPECT_TRUE(stage->IsNarrowing(*trees::Parse(arena, "a")));
    EXPECT_FALSE(stage->IsNarrowing(*trees::Parse(arena, "a<-x")));
}

TEST_F(StageTest, OccursInArgumentSearchesWholeTrees)
{
    Argue("c", Assumption, "b", Issue);
    Argue("b", Issue, "a", Issue);
    EXPECT_TRUE(stage->OccursInArgument(*NewStatement("c", Issue), stage->Arguments));
    EXPECT_FALSE(stage->OccursInArgument(*NewStatement("d", Issue), stage->Arguments));
    EXPECT_FALSE(stage->IsFinalConclusion(*NewStatement("b", Issue), stage->ReasonConclusions));
    EXPECT_TRUE(stage->IsFinalConclusion(*NewStatement("a", Issue), stage->ReasonConclusions));
}

} // namespace
