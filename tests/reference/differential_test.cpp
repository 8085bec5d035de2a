// Replays random lines of argumentation through the engine and through the reference model, and
// compares everything the evaluator's report shows after every move.

#include "tests/reference/lines.h"
#include "tests/reference/lineofargumentation.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/messageboxes.h"
#include "model/incrementalcheck.h"
#include "model/statement.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace lines;

constexpr int DefaultLines = 3000;
// Stops after this many differing lines: one broken rule would otherwise print every line.
constexpr int ReportedLines = 5;
// A line ends once its snapshot outgrows this: the reference rebuilds every tree on every move,
// and bigger trees add time without adding shapes.
constexpr std::size_t SnapshotLimit = 64 * 1024;

// What the random lines are meant to reach, counted on the reference's stages: a generator that
// stops reaching one fails here instead of quietly testing less.
struct TReach {
    int warnings = 0;
    int confirmed = 0;
    int declined = 0;
    int selfSteps = 0;
    int ownConclusionExceptions = 0;
    int stepWarrants = 0;
    int exceptionWarrants = 0;
    int cycles = 0;
    std::array<int, 4> exceptionDepths{}; // Excepted steps met at tree depth 0, 1, 2 and below.
};

bool leadsTo(const reference::TReasonConclusions &steps, const std::string &from,
             const std::string &to)
{
    std::set<std::string> seen{from};
    std::vector<std::string> open{from};
    while (!open.empty()) {
        const std::string text = open.back();
        open.pop_back();
        if (text == to)
            return true;
        for (const reference::TReasonConclusion *step : steps) {
            if (step->Reason->Text == text && seen.insert(step->Conclusion->Text).second)
                open.push_back(step->Conclusion->Text);
        }
    }
    return false;
}

void noteDepths(TReach &reach, const reference::TReasonConclusions &steps,
                const reference::TArgument &node, std::size_t depth)
{
    for (const reference::TArgument *child : node.InitialArguments) {
        for (const reference::TReasonConclusion *step : steps) {
            if (step->Reason->Text == child->Conclusion->Text &&
                step->Conclusion->Text == node.Conclusion->Text && !step->Exceptions.IsEmpty())
                ++reach.exceptionDepths[std::min<std::size_t>(depth, 3)];
        }
        noteDepths(reach, steps, *child, depth + 1);
    }
}

void note(TReach &reach, const reference::TArgumentationStage &stage)
{
    std::set<std::string> texts;
    for (const reference::TStatement *statement : stage.Statements)
        texts.insert(statement->Text);
    for (const reference::TReasonConclusion *step : stage.ReasonConclusions) {
        const std::string &reason = step->Reason->Text;
        const std::string &conclusion = step->Conclusion->Text;
        reach.selfSteps += reason == conclusion;
        reach.cycles +=
            reason != conclusion && leadsTo(stage.ReasonConclusions, conclusion, reason);
        reach.stepWarrants += texts.contains(StepWarrant(reason, conclusion));
        for (const reference::TStatement *exception : step->Exceptions) {
            reach.ownConclusionExceptions += exception->Text == conclusion;
            reach.exceptionWarrants +=
                texts.contains(ExceptionWarrant(exception->Text, reason, conclusion));
        }
    }
    for (const reference::TArgument *root : stage.Arguments)
        noteDepths(reach, stage.ReasonConclusions, *root, 0);
}

// Replays line `seed` through both models; false at the first difference or engine failure.
bool replay(unsigned seed, TReach &reach)
{
    TLineMaker maker(seed);
    TLoggingBoxes engineBoxes(seed);
    TLoggingBoxes referenceBoxes(seed);
    TLineOfArgumentation engine(engineBoxes);
    reference::TLineOfArgumentation model(referenceBoxes);
    const int length = maker.length();
    for (int index = 1; index <= length; ++index) {
        const TMove move = maker.next();
        engineBoxes.move = referenceBoxes.move = index;
        play(model, move);
        try {
            play(engine, move);
        } catch (const std::exception &failure) {
            ADD_FAILURE() << "seed " << seed << ", move " << index
                          << ": the engine threw: " << failure.what();
            return false;
        }
        const std::string expected = snapshot(model, referenceBoxes.log);
        const std::string actual = snapshot(engine, engineBoxes.log);
        if (actual != expected) {
            ADD_FAILURE() << "seed " << seed << ", move " << index << "\n--- engine:\n"
                          << actual << "--- reference:\n"
                          << expected;
            return false;
        }
        note(reach, *model.CurrentStage);
        if (expected.size() > SnapshotLimit)
            break;
    }
    reach.warnings += referenceBoxes.warnings;
    reach.confirmed += referenceBoxes.confirmed;
    reach.declined += referenceBoxes.declined;
    return true;
}

// KORVANE_DIFF_LINES, when set, replays that many lines (seeds 1 to N) instead of CI's count.
int lineCount()
{
    const char *text = std::getenv("KORVANE_DIFF_LINES");
    if (text == nullptr)
        return DefaultLines;
    int count = 0;
    const char *end = text + std::strlen(text);
    const auto [last, error] = std::from_chars(text, end, count);
    if (error != std::errc() || last != end || count < 1) {
        ADD_FAILURE() << "KORVANE_DIFF_LINES is not a positive count: " << text;
        return 0;
    }
    return count;
}

// In a checking build every move that computes only what it changes is computed again in full.
class DifferentialTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetIncrementalCheck(true);
        m_before = IncrementalPathHits();
    }
    void TearDown() override { SetIncrementalCheck(false); }
    // How often each path was taken since the test began.
    TIncrementalPaths hits() const
    {
        const TIncrementalPaths &now = IncrementalPathHits();
        return {now.NewRootOnly - m_before.NewRootOnly, now.GrownByStep - m_before.GrownByStep};
    }

private:
    TIncrementalPaths m_before;
};

TEST_F(DifferentialTest, EngineMatchesReferenceAfterEveryMove)
{
    const int lines = lineCount();
    TReach reach;
    int failed = 0;
    for (int seed = 1; seed <= lines && failed < ReportedLines; ++seed)
        failed += replay(static_cast<unsigned>(seed), reach) ? 0 : 1;
    if (failed > 0 || lines < DefaultLines)
        return;
    EXPECT_GT(reach.warnings, 0);
    EXPECT_GT(reach.confirmed, 0);
    EXPECT_GT(reach.declined, 0);
    EXPECT_GT(reach.selfSteps, 0);
    EXPECT_GT(reach.ownConclusionExceptions, 0);
    EXPECT_GT(reach.stepWarrants, 0);
    EXPECT_GT(reach.exceptionWarrants, 0);
    EXPECT_GT(reach.cycles, 0);
    for (const int count : reach.exceptionDepths)
        EXPECT_GT(count, 0);
    EXPECT_GT(hits().NewRootOnly, 0U);
    EXPECT_GT(hits().GrownByStep, 0U);
}

// Lines that mostly put a new conclusion above a text that is a root, or new: the moves after
// which the engine grows its trees instead of rebuilding them. Now and then a move breaks the
// pattern (a held conclusion, a statement move, a type the other way, an exception, a warrant)
// so that growing and rebuilding alternate.
TEST_F(DifferentialTest, GrowingTreesMatchTheReference)
{
    for (unsigned seed = 1; seed <= 150; ++seed) {
        std::mt19937 random(seed);
        const auto percent = [&] { return static_cast<int>(random() % 100); };
        TLoggingBoxes engineBoxes(seed);
        TLoggingBoxes referenceBoxes(seed);
        TLineOfArgumentation engine(engineBoxes);
        reference::TLineOfArgumentation model(referenceBoxes);
        int texts = 0;
        std::vector<std::string> made;
        const auto fresh = [&] {
            made.push_back("t" + std::to_string(texts++));
            return made.back();
        };
        const auto old = [&] { return made[random() % made.size()]; };
        for (int index = 1; index <= 40; ++index) {
            const bool issue = percent() < 70;
            const int kind = made.empty() ? 0 : percent();
            TMove move;
            if (kind < 85) {
                const auto &roots = model.CurrentStage->Arguments;
                const int pick = made.empty() ? 0 : percent();
                const std::string reason =
                    pick < 30 ? fresh()
                    : pick < 90 && !roots.IsEmpty()
                        ? roots[static_cast<int>(random() % static_cast<unsigned>(roots.Count()))]
                              ->Conclusion->Text
                        : old();
                move = {{reason, issue}, {percent() < 90 ? fresh() : old(), true}};
            } else if (kind < 95) {
                move = {{percent() < 50 ? fresh() : old(), issue}};
            } else if (kind < 98) {
                const std::string reason = old();
                const std::string conclusion = old();
                move = {{reason, issue}, {conclusion, true}, {percent() < 50 ? fresh() : old(), true}};
            } else {
                const std::string reason = old();
                const std::string conclusion = old();
                move = {{StepWarrant(reason, conclusion), issue}};
            }
            engineBoxes.move = referenceBoxes.move = index;
            play(model, move);
            ASSERT_NO_THROW(play(engine, move)) << "seed " << seed << ", move " << index;
            const std::string expected = snapshot(model, referenceBoxes.log);
            ASSERT_EQ(snapshot(engine, engineBoxes.log), expected)
                << "seed " << seed << ", move " << index;
            if (expected.size() > SnapshotLimit)
                break;
        }
    }
    EXPECT_GT(hits().GrownByStep, 0U);
}

} // namespace
