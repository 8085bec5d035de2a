// Times the diagram of a large stage: Graphviz's layered layout of its DOT text, and the layout
// with the drawing of the scene, as the diagram view does it after a move.
#include "ui/diagramlayout.h"
#include "ui/diagramscene.h"

#include "model/arena.h"
#include "model/argumentationstage.h"

#include <QGraphicsScene>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A stage of n statements and n steps: a tree of reasons three to a conclusion, one step back
// across it, and every twentieth step blocked by an exception; statuses and types of every kind.
TArgumentationStage &largeStage(TArena &arena, int n)
{
    TArgumentationStage &stage = *arena.NewStage();
    std::vector<TStatement *> statements;
    for (int i = 0; i < n; ++i) {
        TStatement *statement = arena.NewStatement();
        statement->Text = "statement number " + std::to_string(i);
        statement->StatementType = i % 2 == 0 ? TStatementType::Issue : TStatementType::Assumption;
        statement->JustificationStatus = static_cast<TJustificationStatus>(i % 3);
        stage.Statements.Add(statement);
        statements.push_back(statement);
    }
    const auto step = [&](int reason, int conclusion) {
        TReasonConclusion *made = arena.NewReasonConclusion();
        made->Reason = statements[static_cast<std::size_t>(reason)];
        made->Conclusion = statements[static_cast<std::size_t>(conclusion)];
        stage.ReasonConclusions.Add(made);
        return made;
    };
    for (int k = 1; k < n; ++k) {
        TReasonConclusion *made = step(k, (k - 1) / 3);
        if (k % 20 == 0)
            made->Exceptions.Add(statements[static_cast<std::size_t>(k * 7 % n)]);
    }
    step(n - 1, 1);
    return stage;
}

void BM_LayoutDiagram(benchmark::State &state)
{
    TArena arena;
    const TDiagramSnapshot snapshot =
        DiagramSnapshot(largeStage(arena, static_cast<int>(state.range(0))));
    const TTextMeasure measure = DiagramTextMeasure();
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDiagram(snapshot.dot, measure));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LayoutDiagram)
    ->RangeMultiplier(10)
    ->Range(10, 1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_SnapshotLayoutAndDraw(benchmark::State &state)
{
    TArena arena;
    const TArgumentationStage &stage = largeStage(arena, static_cast<int>(state.range(0)));
    QGraphicsScene scene;
    for (auto _ : state) {
        DrawDiagram(scene, DiagramSnapshot(stage));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SnapshotLayoutAndDraw)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
