// The warrant chain: level L has the step r THEREFORE cL and its stated warrant
// WL = "AS A RULE, IF (r), THEN (cL)"; from level 2 on WL is concluded from c(L-1) along
// Uses paths c(L-1) -> mL_j -> WL. Its statuses follow from the rules by hand:
//  - W1 an issue: W1 has no support, so it stays undecided; every cL node then has an undecided
//    warrant and stays undecided, and so do the mL_j and WL above it, level by level. Only r,
//    an assumption, is justified.
//  - W1 an assumption: W1 is undefeated, so the c1 nodes are warranted and undefeated; no other
//    step's warrant is stated, so everything above follows and every statement is justified.
// Computing WL's root again from every undecided node that uses the step would cost
// Uses^Levels, out of reach of the plain model at 30 levels: the statuses come from the rules.

#include "dialogue/lineofargumentation.h"

#include "testboxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int Levels = 30;
constexpr int Uses = 2;

using T = TStatementType;

void statementMove(TLineOfArgumentation &line, const std::string &text, T type)
{
    TStatement *statement = line.Arena().NewStatement();
    statement->Text = text;
    statement->StatementType = type;
    ASSERT_TRUE(line.DoStatementMove(statement));
}

void reasonConclusionMove(TLineOfArgumentation &line, const std::string &reason, T reasonType,
                          const std::string &conclusion)
{
    TReasonConclusion *step = line.Arena().NewReasonConclusion();
    step->Reason->Text = reason;
    step->Reason->StatementType = reasonType;
    step->Conclusion->Text = conclusion;
    step->Conclusion->StatementType = T::Issue;
    step->ByReasonConclusionMove = 1;
    line.DoReasonConclusionMove(step);
}

std::string level(const char *prefix, int number)
{
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

// Makes the moves of the chain in the order bench/genlines.cpp writes them.
void buildWarrantChain(TLineOfArgumentation &line, int levels, T firstWarrant)
{
    for (int l = 1; l <= levels; ++l) {
        const std::string c = level("c", l);
        const std::string warrant = StepWarrant("r", c);
        statementMove(line, warrant, l == 1 ? firstWarrant : T::Issue);
        reasonConclusionMove(line, "r", T::Assumption, c);
        for (int j = 1; l > 1 && j <= Uses; ++j) {
            const std::string via = level("m", l) + "_" + std::to_string(j);
            reasonConclusionMove(line, level("c", l - 1), T::Issue, via);
            reasonConclusionMove(line, via, T::Issue, warrant);
        }
    }
}

class TWarrantChainTest : public testing::TestWithParam<T> {};

TEST_P(TWarrantChainTest, StatusesFollowTheFirstWarrant)
{
    const bool settled = GetParam() == T::Assumption;
    const auto status = settled ? TJustificationStatus::Justified : TJustificationStatus::Undecided;
    const auto defeat = settled ? TDefeatStatus::Undefeated : TDefeatStatus::Undecided;
    for (const int levels : {1, 2, Levels}) {
        SCOPED_TRACE(levels);
        TTestBoxes boxes;
        TLineOfArgumentation line(boxes);
        buildWarrantChain(line, levels, GetParam());
        EXPECT_TRUE(boxes.warnings.empty());
        EXPECT_TRUE(boxes.confirmations.empty());

        const TArgumentationStage &stage = *line.CurrentStage;
        EXPECT_EQ(stage.Statements.Count(), 1 + levels * 2 + (levels - 1) * Uses);
        for (const TStatement *statement : stage.Statements) {
            SCOPED_TRACE(statement->Text);
            EXPECT_EQ(statement->JustificationStatus,
                      statement->Text == "r" ? TJustificationStatus::Justified : status);
        }

        // The roots are the warrants and the top conclusion; every node of r is undefeated.
        ASSERT_EQ(stage.Arguments.Count(), levels + 1);
        int nodes = 0;
        std::vector<const TArgument *> pending(stage.Arguments.begin(), stage.Arguments.end());
        while (!pending.empty()) {
            const TArgument *node = pending.back();
            pending.pop_back();
            ++nodes;
            EXPECT_EQ(node->DefeatStatus,
                      node->Conclusion->Text == "r" ? TDefeatStatus::Undefeated : defeat)
                << node->Conclusion->Text;
            pending.insert(pending.end(), node->InitialArguments.begin(),
                           node->InitialArguments.end());
        }
        // W1 alone, each later WL over Uses paths of three nodes, and cK over r.
        EXPECT_EQ(nodes, 1 + (levels - 1) * (1 + 3 * Uses) + 2);
    }
}

INSTANTIATE_TEST_SUITE_P(FirstWarrant, TWarrantChainTest,
                         testing::Values(T::Issue, T::Assumption),
                         [](const testing::TestParamInfo<T> &each) {
                             return each.param == T::Issue ? "Issue" : "Assumption";
                         });

} // namespace
