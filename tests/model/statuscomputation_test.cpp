#include "stagefixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr auto Justified = TJustificationStatus::Justified;
constexpr auto Unjustified = TJustificationStatus::Unjustified;
constexpr auto Undecided = TJustificationStatus::Undecided;

const std::string kStepWarrant = "AS A RULE, IF (r), THEN (c)";
const std::string kExceptionWarrant = "IF (e), THEN THE RULE THAT, IF (r), THEN (c), IS BLOCKED";

using StatusTest = StageTest;
using Strings = std::vector<std::string>;

// Every argument reachable from the roots, and every statement, ends in a valid status.
void ExpectAllDecidedOrUndecided(const TArgumentationStage &stage)
{
    std::vector<const TArgument *> stack(stage.Arguments.begin(), stage.Arguments.end());
    while (!stack.empty()) {
        const TArgument *node = stack.back();
        stack.pop_back();
        EXPECT_LE(static_cast<int>(node->DefeatStatus), 2);
        stack.insert(stack.end(), node->InitialArguments.begin(), node->InitialArguments.end());
    }
    for (const TStatement *statement : stage.Statements)
        EXPECT_LE(static_cast<int>(statement->JustificationStatus), 2);
}

TEST_F(StatusTest, TheWorkedExampleMoveByMove)
{
    Argue("r", Assumption, "c", Issue);
    EXPECT_EQ(Roots(), Strings{"c<-r"});
    EXPECT_EQ(stage->Arguments[0]->DefeatStatus, TDefeatStatus::Undefeated);
    EXPECT_EQ(Status("c"), Justified);
    EXPECT_EQ(Status("r"), Justified);

    Except("e", Assumption, "r", Assumption, "c", Issue);
    EXPECT_EQ(Roots(), (Strings{"c<-r", "e"}));
    EXPECT_EQ(stage->Arguments[0]->DefeatStatus, TDefeatStatus::Defeated);
    EXPECT_EQ(Status("c"), Unjustified);
    EXPECT_EQ(Status("r"), Justified);
    EXPECT_EQ(Status("e"), Justified);

    Say(kExceptionWarrant, Issue);
    EXPECT_EQ(Status("c"), Justified);
    EXPECT_EQ(Status("e"), Justified);
    EXPECT_EQ(Status(kExceptionWarrant), Undecided);
}



TEST_F(StatusTest, WarrantsCountOnlyWhenUndefeated)
{
    struct Case {
        const char *name;
        bool exception;        // Block the step by an assumption e.
        std::string statement; // A statement added after the step ("" for none).
        TStatementType type;
        TJustificationStatus c;
    };
    const std::vector<Case> cases = {
        {"an issue exception attacks nothing", false, "", Issue, Justified},
        {"step warrant stated as an issue", false, kStepWarrant, Issue, Undecided},
        {"step warrant stated as an assumption", false, kStepWarrant, Assumption, Justified},
        {"exception warrant as an issue", true, kExceptionWarrant, Issue, Justified},
        {"exception warrant as an assumption", true, kExceptionWarrant, Assumption, Unjustified},
        {"unrelated statement", true, "z", Assumption, Unjustified},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        stage = arena.NewStage();
        Argue("r", Assumption, "c", Issue);
        if (c.exception)
            Except("e", Assumption, "r", Assumption, "c", Issue);
        else if (c.statement.empty())
            Except("e", Issue, "r", Assumption, "c", Issue);
        if (!c.statement.empty())
            Say(c.statement, c.type);
        EXPECT_EQ(Status("c"), c.c);
    }
}

TEST_F(StatusTest, IssuesNeedAnUndefeatedReasonThroughAWarrantedUnblockedStep)
{
    struct Case {
        const char *name;
        void (*build)(StatusTest &);
        TJustificationStatus a;
    };
    const std::vector<Case> cases = {
        {"an issue without reasons", [](StatusTest &t) { t.Say("a", Issue); }, Undecided},
        {"an issue whose only reason is an undecided issue",
         [](StatusTest &t) { t.Argue("b", Issue, "a", Issue); }, Undecided},
        {"an issue whose only reason is defeated",
         [](StatusTest &t) {
             t.Argue("b", Issue, "a", Issue);
             t.Argue("x", Assumption, "b", Issue);
             t.Except("e", Assumption, "x", Assumption, "b", Issue);
         },
         Undecided},
        {"an assumption with a blocked step",
         [](StatusTest &t) { t.Except("e", Assumption, "b", Issue, "a", Assumption); }, Justified},
        {"two reasons, the first one blocked",
         [](StatusTest &t) {
             t.Argue("b1", Assumption, "a", Issue);
             t.Argue("b2", Assumption, "a", Issue);
             t.Except("e", Assumption, "b1", Assumption, "a", Issue);
         },
         Justified},
        {"two reasons, both blocked",
         [](StatusTest &t) {
             t.Argue("b1", Assumption, "a", Issue);
             t.Argue("b2", Assumption, "a", Issue);
             t.Except("e", Assumption, "b1", Assumption, "a", Issue);
             t.Except("e", Assumption, "b2", Assumption, "a", Issue);
         },
         Unjustified},
        {"a step warrant that is itself a reason is never a root",
         [](StatusTest &t) {
             t.Argue("b", Assumption, "a", Issue);
             t.Argue("AS A RULE, IF (b), THEN (a)", Assumption, "w", Issue);
         },
         Undecided},
        {"an exception two levels below the roots is not found",
         [](StatusTest &t) {
             t.Argue("b", Assumption, "a", Issue);
             t.Except("e", Assumption, "b", Assumption, "a", Issue);
             t.Argue("e", Assumption, "f", Issue);
             t.Argue("f", Assumption, "g", Issue);
         },
         Justified},
        {"an exception one level below a root is found",
         [](StatusTest &t) {
             t.Argue("b", Assumption, "a", Issue);
             t.Except("e", Assumption, "b", Assumption, "a", Issue);
             t.Argue("e", Assumption, "f", Issue);
         },
         Unjustified},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        stage = arena.NewStage();
        c.build(*this);
        EXPECT_EQ(Status("a"), c.a);
        ExpectAllDecidedOrUndecided(*stage);
    }
}

TEST_F(StatusTest, ComputingTwiceGivesTheSameStatuses)
{
    Argue("b1", Assumption, "a", Issue);
    Argue("b2", Issue, "a", Issue);
    Except("e", Assumption, "b1", Assumption, "a", Issue);
    Say(kStepWarrant, Assumption);
    auto snapshot = [&] {
        std::vector<int> statuses;
        for (const TStatement *statement : stage->Statements)
            statuses.push_back(static_cast<int>(statement->JustificationStatus));
        return statuses;
    };
    const auto first = snapshot();
    stage->ComputeStatuses();
    EXPECT_EQ(snapshot(), first);
}

TEST_F(StatusTest, AnExceptionWithTheStepsOwnConclusionDoesNotLoop)
{
    Except("c", Issue, "r", Assumption, "c", Issue);
    // The root for c is the would-be attacker; it is being computed, so it attacks nothing.
    EXPECT_EQ(Status("c"), Justified);
    ExpectAllDecidedOrUndecided(*stage);
}

TEST_F(StatusTest, TwoStepsBlockingEachOtherEndWithTheFirstRootDefeated)
{
    Argue("r1", Assumption, "c1", Issue);
    Argue("r2", Assumption, "c2", Issue);
    Except("c2", Issue, "r1", Assumption, "c1", Issue);
    EXPECT_EQ(Status("c1"), Unjustified);
    EXPECT_EQ(Status("c2"), Justified);
    Except("c1", Issue, "r2", Assumption, "c2", Issue);
    // c1's computation asks c2, whose attacker c1 is in progress and so does not attack.
    EXPECT_EQ(Status("c1"), Unjustified);
    EXPECT_EQ(Status("c2"), Justified);
    ExpectAllDecidedOrUndecided(*stage);
}

TEST_F(StatusTest, AWarrantThatDependsOnItsOwnStepStaysUndecided)
{
    for (const auto &[type, warrant] :
         {std::pair{Issue, Undecided}, std::pair{Assumption, Justified}}) {
        SCOPED_TRACE(static_cast<int>(type));
        stage = arena.NewStage();
        Argue("r", Assumption, "c", Issue);
        Argue("c", Issue, kStepWarrant, type);
        EXPECT_EQ(Roots(), Strings{kStepWarrant + "<-c<-r"});
        EXPECT_EQ(Status("c"), Undecided);
        EXPECT_EQ(Status(kStepWarrant), warrant);
    }
}

TEST_F(StatusTest, AnExceptionWarrantThatDependsOnTheAttackedArgumentDoesNotLoop)
{
    Argue("r", Assumption, "c", Issue);
    Except("e", Assumption, "r", Assumption, "c", Issue);
    Argue("c", Issue, kExceptionWarrant, Issue);
    ExpectAllDecidedOrUndecided(*stage);
    EXPECT_EQ(Status("e"), Justified);
}

// A stage built straight from its lists, as the moves would leave it, for sizes that moves made
// one by one would take long to reach.
class LargeStageTest : public StageTest {
public:
    TStatement *Add(const std::string &text, TStatementType type)
    {
        TStatement *statement = NewStatement(text, type);
        stage->GetNewId(statement->Id);
        stage->Statements.Add(statement);
        return statement;
    }

    void Link(TStatement *reason, TStatement *conclusion)
    {
        TReasonConclusion *step = arena.NewReasonConclusion();
        step->Reason = reason;
        step->Conclusion = conclusion;
        stage->ReasonConclusions.Add(step);
    }

    static int Nodes(const TArguments &roots)
    {
        int nodes = 0;
        std::vector<const TArgument *> stack(roots.begin(), roots.end());
        while (!stack.empty()) {
            const TArgument *node = stack.back();
            stack.pop_back();
            ++nodes;
            stack.insert(stack.end(), node->InitialArguments.begin(),
                         node->InitialArguments.end());
        }
        return nodes;
    }
};

TEST_F(LargeStageTest, AChainOf5000StepsIsBuiltAndComputed)
{
    constexpr int steps = 5000;
    std::vector<TStatement *> chain;
    for (int i = 0; i <= steps; ++i)
        chain.push_back(Add("s" + std::to_string(i), i == steps ? Assumption : Issue));
    for (int i = 0; i < steps; ++i)
        Link(chain[static_cast<std::size_t>(i) + 1], chain[static_cast<std::size_t>(i)]);
    stage->RecomputeArguments();
    stage->ComputeStatuses();
    ASSERT_EQ(stage->Arguments.Count(), 1);
    EXPECT_EQ(Nodes(stage->Arguments), steps + 1);
    EXPECT_EQ(Status("s0"), Justified);
    EXPECT_EQ(Status("s2500"), Justified);
    EXPECT_TRUE(stage->OccursInArgument(*chain.back(), stage->Arguments));
}

TEST_F(LargeStageTest, ALadderWith200000NodesIsBuiltAndComputed)
{
    // Two statements per level, each a reason for both statements of the level above: every
    // root holds 2^(levels+1) - 1 nodes.
    constexpr int levels = 16;
    std::vector<std::pair<TStatement *, TStatement *>> ladder;
    for (int i = 0; i <= levels; ++i) {
        const TStatementType type = i == levels ? Assumption : Issue;
        ladder.emplace_back(Add("x" + std::to_string(i), type), Add("y" + std::to_string(i), type));
    }
    for (std::size_t i = 0; i < levels; ++i) {
        const auto [x, y] = ladder[i];
        const auto [below1, below2] = ladder[i + 1];
        Link(below1, x);
        Link(below2, x);
        Link(below1, y);
        Link(below2, y);
    }
    stage->RecomputeArguments();
    stage->ComputeStatuses();
    EXPECT_EQ(Roots().size(), 2u);
    EXPECT_GE(Nodes(stage->Arguments), 200000);
    EXPECT_EQ(Status("x0"), Justified);
    EXPECT_EQ(Status("y0"), Justified);
}

} // namespace
