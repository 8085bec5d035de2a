// Replays random lines of argumentation through the engine and through the reference model, and
// compares everything the evaluator's report shows after every move.

#include "tests/reference/lines.h"
#include "tests/reference/lineofargumentation.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/messageboxes.h"
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

TEST(DifferentialTest, EngineMatchesReferenceAfterEveryMove)
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
}

} // namespace
