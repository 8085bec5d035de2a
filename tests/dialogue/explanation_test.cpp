#include "model/explanation.h"

#include "dialogue/lineofargumentation.h"
#include "testboxes.h"
#include "tests/reference/lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using lines::TMove;

const lines::TSentence A(const std::string &text) { return {text, false}; }
const lines::TSentence I(const std::string &text) { return {text, true}; }

void forEachNode(const TArgumentationStage &stage,
                 const std::function<void(const TArgument &, const TArgument *root)> &visit)
{
    for (const TArgument *root : stage.Arguments) {
        std::vector<const TArgument *> pending{root};
        while (!pending.empty()) {
            const TArgument *node = pending.back();
            pending.pop_back();
            visit(*node, root);
            for (const TArgument *child : node->InitialArguments)
                pending.push_back(child);
        }
    }
}

struct TWordingCase {
    const char *name;
    std::vector<TMove> moves;
    std::string target; // A node's path, "^" and a root's text, or "=" and a statement's text.
    std::string why;
};

const std::string BlockWarrant = ExceptionWarrant("e", "r", "c");
const std::string RuleWarrant = StepWarrant("r", "c");

const std::vector<TWordingCase> &wordingCases()
{
    static const std::vector<TWordingCase> cases = {
        {"Assumption", {{A("a")}}, "1", "Undefeated: \"a\" is an assumption."},
        {"IssueWithoutReasons", {{I("c")}}, "1", "Undecided: the issue \"c\" has no reasons."},
        {"Unblocked",
         {{A("r"), I("c")}},
         "^c",
         "Undefeated: the argument for \"r\" is undefeated; the step from \"r\" to \"c\" is "
         "warranted, since its warrant is no statement; and nothing blocks it, since it lists no "
         "exception."},
        {"WarrantSupported",
         {{A("r"), I("c")}, {A(RuleWarrant)}},
         "^c",
         "Undefeated: the argument for \"r\" is undefeated; the step from \"r\" to \"c\" is "
         "warranted, since its warrant \""
             + RuleWarrant
             + "\" has an undefeated argument; and "
               "nothing blocks it, since it lists no exception."},
        {"Blocked",
         {{A("r"), I("c")}, {A("r"), I("c"), A("e")}},
         "^c",
         "Defeated: the step from \"r\" to \"c\" is blocked by the exception \"e\", whose argument "
         "is undefeated."},
        {"BlockedWithWarrant",
         {{A("r"), I("c"), A("e")}, {A(BlockWarrant)}},
         "^c",
         "Defeated: the step from \"r\" to \"c\" is blocked by the exception \"e\", whose argument "
         "is undefeated, and its warrant \""
             + BlockWarrant + "\" has an undefeated argument."},
        {"EveryStepBlocked",
         {{A("r"), I("c"), A("e")}, {A("s"), I("c"), A("e")}},
         "^c",
         "Defeated: the step from \"r\" to \"c\" is blocked by the exception \"e\", whose argument "
         "is undefeated. Every other warranted step from an undefeated reason to \"c\" is blocked "
         "too."},
        {"ExceptionWarrantUnsupported",
         {{A("r"), I("c"), A("e")}, {I(BlockWarrant)}},
         "^c",
         "Undefeated: the argument for \"r\" is undefeated; the step from \"r\" to \"c\" is "
         "warranted, since its warrant is no statement; and nothing blocks it, since the warrant \""
             + BlockWarrant
             + "\" of its exception \"e\" is stated but has no undefeated argument."},
        {"ExceptionUndecided",
         {{A("r"), I("c"), I("e")}},
         "^c",
         "Undefeated: the argument for \"r\" is undefeated; the step from \"r\" to \"c\" is "
         "warranted, since its warrant is no statement; and nothing blocks it, since the argument "
         "for its exception \"e\" is undecided."},
        {"ExceptionTooDeep",
         {{A("e"), A("r")}, {A("r"), I("c"), A("e")}},
         "^c",
         "Undefeated: the argument for \"r\" is undefeated; the step from \"r\" to \"c\" is "
         "warranted, since its warrant is no statement; and nothing blocks it, since no argument "
         "for its exceptions stands where attackers are sought, as a root or an initial argument "
         "of a root."},
        {"ExceptionInProgress",
         {{A("r"), I("c"), I("c")}},
         "^c",
         "Undefeated: the argument for \"r\" is undefeated; the step from \"r\" to \"c\" is "
         "warranted, since its warrant is no statement; and nothing blocks it, since the argument "
         "for its exception \"c\" was still being computed, which counts as not undefeated."},
        {"NoUndefeatedReason",
         {{I("r"), I("c")}},
         "^c",
         "Undecided: no reason of the issue \"c\" is undefeated; the argument for \"r\" is "
         "undecided."},
        {"WarrantUnsupported",
         {{A("r"), I("c")}, {I(RuleWarrant)}},
         "^c",
         "Undecided: no step from an undefeated reason to the issue \"c\" is warranted; for the "
         "step from \"r\" to \"c\", its warrant \""
             + RuleWarrant
             + "\" is stated but has no "
               "undefeated argument."},
        {"Statement",
         {{A("r"), I("c")}},
         "=r",
         "Justified: it takes the status of the argument for \"r\", the last computed for it. "
         "Undefeated: \"r\" is an assumption."},
        {"StatementFromItsReason",
         {{A("r"), I("c")}},
         "=c",
         "Justified: it takes the status of the argument for \"c\" from \"r\", the last computed "
         "for it. Undefeated: the argument for \"r\" is undefeated; the step from \"r\" to \"c\" "
         "is warranted, since its warrant is no statement; and nothing blocks it, since it lists "
         "no exception."},
    };
    return cases;
}

class WordingTest : public testing::TestWithParam<TWordingCase> {};

TEST_P(WordingTest, SaysWhatDecidedTheStatus)
{
    const TWordingCase &c = GetParam();
    TTestBoxes boxes;
    TLineOfArgumentation line(boxes);
    for (const TMove &move : c.moves)
        lines::play(line, move);
    TExplanations explanations;
    line.CurrentStage->ExplainStatuses(explanations);
    std::string why = "(no such target)";
    if (c.target.starts_with('=')) {
        for (const TStatement *statement : line.CurrentStage->Statements)
            if (statement->Text == c.target.substr(1))
                why = explanations.Explain(*statement).Text;
    } else if (c.target.starts_with('^')) {
        for (const TArgument *root : line.CurrentStage->Arguments)
            if (root->Conclusion->Text == c.target.substr(1))
                why = explanations.Explain(*root).Text;
    } else {
        forEachNode(*line.CurrentStage, [&](const TArgument &node, const TArgument *) {
            if (explanations.Path(node) == c.target)
                why = explanations.Explain(node).Text;
        });
    }
    EXPECT_EQ(why, c.why);
}

INSTANTIATE_TEST_SUITE_P(Explanation, WordingTest, testing::ValuesIn(wordingCases()),
                         [](const testing::TestParamInfo<TWordingCase> &each) {
                             return std::string(each.param.name);
                         });

// A statement's status, the trees' statuses as text, for comparing before and after.
std::string statuses(const TArgumentationStage &stage)
{
    std::string out;
    for (const TStatement *statement : stage.Statements)
        out += statement->Text + ' '
               + std::string(lines::justificationName(statement->JustificationStatus)) + '\n';
    for (const TArgument *root : stage.Arguments)
        lines::appendTree(out, *root, 0);
    return out;
}

bool hasStatement(const TArgumentationStage &stage, const std::string &text)
{
    for (const TStatement *statement : stage.Statements)
        if (statement->Text == text)
            return true;
    return false;
}

// Every claim an explanation makes holds in its stage, and explaining changes no status.
TEST(Explanation, EveryClaimHoldsOnRandomLines)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        lines::TLineMaker maker(seed);
        lines::TLoggingBoxes boxes(seed);
        TLineOfArgumentation line(boxes);
        for (int index = maker.length(); index > 0; --index)
            lines::play(line, maker.next());
        TArgumentationStage &stage = *line.CurrentStage;
        const std::string before = statuses(stage);
        TExplanations explanations;
        stage.ExplainStatuses(explanations);
        ASSERT_EQ(statuses(stage), before);

        const auto isRoot = [&](const TArgument *node) {
            const std::string path = explanations.Path(*node);
            return !path.empty() && path.find('.') == std::string::npos;
        };
        const auto attackPlace = [&](const TArgument *node) {
            const std::string path = explanations.Path(*node);
            return !path.empty() && std::count(path.begin(), path.end(), '.') <= 1;
        };
        const auto stepBetween = [&](const TArgument &reason,
                                     const TArgument &node) -> const TReasonConclusion * {
            for (const TReasonConclusion *step : stage.ReasonConclusions)
                if (step->Reason->Text == reason.Conclusion->Text
                    && step->Conclusion->Text == node.Conclusion->Text)
                    return step;
            return nullptr;
        };
        forEachNode(stage, [&](const TArgument &node, const TArgument *) {
            const TWhy *why = explanations.ForArgument(node);
            ASSERT_NE(why, nullptr);
            const TDefeatStatus status = node.DefeatStatus;
            const bool undefeated =
                why->Kind == TWhyKind::Assumption || why->Kind == TWhyKind::Unblocked;
            EXPECT_EQ(status == TDefeatStatus::Undefeated, undefeated);
            EXPECT_EQ(status == TDefeatStatus::Defeated, why->Kind == TWhyKind::Blocked);
            EXPECT_EQ(why->Kind == TWhyKind::Assumption,
                      node.Conclusion->StatementType == TStatementType::Assumption);
            if (why->Kind == TWhyKind::NoReasons) {
                EXPECT_EQ(node.InitialArguments.Count(), 0);
            }
            if (!why->Reason)
                return;
            EXPECT_GE(node.InitialArguments.InList(*why->Reason), 0);
            const TReasonConclusion *step = stepBetween(*why->Reason, node);
            ASSERT_NE(step, nullptr);
            if (why->Kind == TWhyKind::NoUndefeatedReason) {
                if (why->Settled && !why->ReasonInProgress) {
                    EXPECT_NE(why->Reason->DefeatStatus, TDefeatStatus::Undefeated);
                }
                return;
            }
            if (why->Settled) {
                EXPECT_EQ(why->Reason->DefeatStatus, TDefeatStatus::Undefeated);
            }
            const std::string warrant = StepWarrant(step->Reason->Text, step->Conclusion->Text);
            EXPECT_EQ(hasStatement(stage, warrant), why->Warrant != TWarrantState::NotStated);
            if (why->Warrant == TWarrantState::Supported) {
                EXPECT_TRUE(isRoot(why->WarrantRoot));
                EXPECT_EQ(why->WarrantRoot->Conclusion->Text, warrant);
                EXPECT_EQ(why->WarrantRoot->DefeatStatus, TDefeatStatus::Undefeated);
            }
            if (why->Warrant == TWarrantState::Unsupported && why->Settled) {
                for (const TArgument *root : stage.Arguments)
                    if (root->Conclusion->Text == warrant) {
                        EXPECT_NE(root->DefeatStatus, TDefeatStatus::Undefeated);
                    }
            }
            if (why->Kind == TWhyKind::NoWarrantedStep)
                return;
            EXPECT_EQ(why->Block == TBlockState::NoException, step->Exceptions.Count() == 0);
            if (why->Attacker) {
                EXPECT_TRUE(attackPlace(why->Attacker));
                bool listed = false;
                for (const TStatement *exception : step->Exceptions)
                    listed = listed || exception->Text == why->Attacker->Conclusion->Text;
                EXPECT_TRUE(listed);
                if (why->Settled && why->Block == TBlockState::Blocks) {
                    EXPECT_EQ(why->Attacker->DefeatStatus, TDefeatStatus::Undefeated);
                }
                if (why->Settled && why->Block == TBlockState::AttackerNotUndefeated) {
                    EXPECT_EQ(why->Attacker->DefeatStatus, why->AttackerStatus);
                }
            }
            EXPECT_EQ(why->Kind == TWhyKind::Blocked, why->Block == TBlockState::Blocks);
        });
        for (const TStatement *statement : stage.Statements) {
            const TArgument *last = explanations.LastComputed(*statement);
            if (!last) {
                EXPECT_EQ(statement->JustificationStatus, TJustificationStatus::Undecided);
                continue;
            }
            EXPECT_EQ(last->Conclusion->Text, statement->Text);
            EXPECT_EQ(JustificationFor(last->DefeatStatus), statement->JustificationStatus);
        }
    }
}

} // namespace
