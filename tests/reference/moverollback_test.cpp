// A move that fails half way, for want of memory or over the work budget, leaves the line and
// every stage exactly as they were. Failures are injected by failing the k-th allocation of a
// move, for every k until the move gets through.

#include "tests/reference/lines.h"

#include "dialogue/lineofargumentation.h"
#include "model/movescope.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {

// Allocations left before the one that fails; 0 when no failure is armed.
long g_allocationsLeft = 0;

void *allocate(std::size_t size)
{
    if (g_allocationsLeft > 0 && --g_allocationsLeft == 0)
        throw std::bad_alloc();
    if (void *block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void operator delete(void *block) noexcept { std::free(block); }
void operator delete[](void *block) noexcept { std::free(block); }
void operator delete(void *block, std::size_t) noexcept { std::free(block); }
void operator delete[](void *block, std::size_t) noexcept { std::free(block); }

namespace {

using namespace lines;

class TYesBoxes : public TMessageBoxes {
public:
    void Warning(const std::string &) override {}
    bool Confirm(const std::string &) override { return true; }
};

// Everything a line holds that a move may change: every stage's statements with ids, types and
// statuses, its steps and their exceptions, its trees, and the moves' lines.
std::string wholeLine(const TLineOfArgumentation &line)
{
    std::string out = snapshot(line, {});
    for (const TArgumentationStage *stage : line.ArgumentationStages) {
        out += "stage\n";
        for (const TStatement *statement : stage->Statements)
            out += statement->Id + ' ' + statement->Text + ' '
                   + std::string(typeName(statement->StatementType)) + ' '
                   + std::string(justificationName(statement->JustificationStatus)) + '\n';
        for (const TReasonConclusion *step : stage->ReasonConclusions) {
            out += step->Reason->Text + " -> " + step->Conclusion->Text + '\n';
            for (const TStatement *exception : step->Exceptions)
                out += "  " + exception->Text + ' '
                       + std::string(typeName(exception->StatementType)) + '\n';
        }
        for (const TArgument *root : stage->Arguments)
            appendTree(out, *root, 1);
    }
    return out;
}

TEST(MoveRollbackTest, EveryFailedAllocationLeavesTheLineAsItWas)
{
    long injected = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TLineMaker maker(seed);
        TYesBoxes boxes;
        TLineOfArgumentation line(boxes);
        const int length = std::min(maker.length(), 10);
        for (int index = 1; index <= length; ++index) {
            const TMove move = maker.next();
            const std::string before = wholeLine(line);
            for (long k = 1;; ++k) {
                bool failed = false;
                g_allocationsLeft = k;
                try {
                    play(line, move);
                } catch (const std::bad_alloc &) {
                    failed = true;
                }
                g_allocationsLeft = 0;
                if (!failed)
                    break;
                ++injected;
                const std::string after = wholeLine(line);
                ASSERT_EQ(after, before) << "move " << index << ", allocation " << k;
            }
        }
    }
    EXPECT_GT(injected, 1000); // The failures did reach the moves.
}

TEST(MoveRollbackTest, AMoveOverTheBudgetIsUndoneAndTheLineGoesOn)
{
    // Steps between every two of seven statements: the trees hold every path through them.
    TYesBoxes boxes;
    TLineOfArgumentation line(boxes);
    const auto step = [&](const std::string &reason, const std::string &conclusion) {
        TReasonConclusion *made = line.Arena().NewReasonConclusion();
        made->Reason->Text = reason;
        made->Conclusion->Text = conclusion;
        made->Conclusion->StatementType = TStatementType::Issue;
        return made;
    };
    bool refused = false;
    for (int i = 0; i < 7 && !refused; ++i) {
        for (int j = 0; j < 7 && !refused; ++j) {
            if (i == j)
                continue;
            const std::string before = wholeLine(line);
            TReasonConclusion *made = step("s" + std::to_string(i), "s" + std::to_string(j));
            TStatement *reason = made->Reason;
            try {
                line.DoReasonConclusionMove(made);
            } catch (const TWorkBudgetExceeded &) {
                refused = true;
                EXPECT_EQ(wholeLine(line), before);
                EXPECT_EQ(made->Reason, reason); // The move's own objects are as they came.
                EXPECT_EQ(reason->Id, "");
            }
        }
    }
    ASSERT_TRUE(refused);
    const int moves = line.ArgumentationMoves.Count();
    TStatement *statement = line.Arena().NewStatement();
    statement->Text = "after";
    EXPECT_TRUE(line.DoStatementMove(statement));
    EXPECT_EQ(line.ArgumentationMoves.Count(), moves + 1);
    EXPECT_EQ(statement->Id, std::to_string(line.CurrentStage->Statements.Count()));
}

} // namespace
