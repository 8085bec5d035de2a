#include "incrementalcheck.h"

#include "arena.h"
#include "argumentationstage.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

thread_local TIncrementalPaths hits;
thread_local bool checking = false;

// The trees' statuses and shapes, node by node in pre-order.
void appendTrees(std::vector<const void *> &shape, std::vector<int> &statuses,
                 const TArguments &roots)
{
    std::vector<const TArgument *> stack;
    for (int i = roots.Count() - 1; i >= 0; --i)
        stack.push_back(roots[i]);
    while (!stack.empty()) {
        const TArgument *node = stack.back();
        stack.pop_back();
        shape.push_back(node->Conclusion);
        statuses.push_back(static_cast<int>(node->DefeatStatus));
        statuses.push_back(node->InitialArguments.Count());
        for (int i = node->InitialArguments.Count() - 1; i >= 0; --i)
            stack.push_back(node->InitialArguments[i]);
    }
}

[[noreturn]] void differs(const char *path, const char *what)
{
    std::fprintf(stderr, "incremental check: after %s, %s differs from the full computation\n",
                 path, what);
    std::abort();
}

} // namespace

TIncrementalPaths &IncrementalPathHits() { return hits; }

bool IncrementalCheckBuilt()
{
#ifdef KORVANE_CHECK_INCREMENTAL
    return true;
#else
    return false;
#endif
}

void SetIncrementalCheck(bool on) { checking = on; }
bool IncrementalCheckOn() { return IncrementalCheckBuilt() && checking; }

void TArgumentationStage::checkAgainstFullComputation(bool rebuilt, const char *path)
{
    if (!IncrementalCheckOn())
        return;
    // Outside the move's scope: the check charges no work, and every write it makes puts back
    // the value the move wrote, unless the check fails and the program ends.
    TMoveScope *scope = m_arena->SwapScope(nullptr);
    std::vector<const void *> shape;
    std::vector<int> statuses;
    appendTrees(shape, statuses, Arguments);
    std::vector<int> justifications;
    for (const TStatement *statement : Statements)
        justifications.push_back(static_cast<int>(statement->JustificationStatus));

    const auto compare = [&](const TArguments &roots) {
        std::vector<const void *> fullShape;
        std::vector<int> fullStatuses;
        appendTrees(fullShape, fullStatuses, roots);
        if (fullShape != shape)
            differs(path, "a tree");
        if (fullStatuses != statuses)
            differs(path, "a defeat status");
        for (int i = 0; i < Statements.Count(); ++i) {
            if (static_cast<int>(Statements[i]->JustificationStatus) != justifications[static_cast<std::size_t>(i)])
                differs(path, "a justification status");
        }
    };
    if (rebuilt) {
        TArgumentationStage *full = NewStageFromThis();
        full->RecomputeArguments();
        full->ComputeStatuses();
        compare(full->Arguments);
        m_arena->DiscardStage(full);
    }
    ComputeStatuses(); // The same trees, computed by the whole computation.
    compare(Arguments);
    m_arena->SwapScope(scope);
}
