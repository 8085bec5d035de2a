// Times the diagram of a large stage: Graphviz's layered layout of its DOT text, and the layout
// with the drawing of the scene, as the diagram view does it after a move.
#include "ui/diagramlayout.h"
#include "ui/diagramscene.h"

#include "dialogue/dotgraph.h"
#include "model/arena.h"
#include "model/argumentationstage.h"
#include "tests/reference/widemap.h"

#include <QGraphicsScene>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

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

// A chain of n steps, each statement the reason for the one before.
TArgumentationStage &chain(TArena &arena, int n)
{
    TArgumentationStage &stage = *arena.NewStage();
    TStatement *conclusion = nullptr;
    for (int i = 0; i <= n; ++i) {
        TStatement *statement = arena.NewStatement();
        statement->Text = "link number " + std::to_string(i);
        stage.Statements.Add(statement);
        if (conclusion) {
            TReasonConclusion *made = arena.NewReasonConclusion();
            made->Reason = statement;
            made->Conclusion = conclusion;
            stage.ReasonConclusions.Add(made);
        }
        conclusion = statement;
    }
    return stage;
}

// The layout's width over its height, as the "aspect" counter: the page-shaped layout keeps a
// 200-statement map at most 3 times as wide as high.
void BM_LayoutWideMap(benchmark::State &state)
{
    TArena arena;
    const TDiagramSnapshot snapshot =
        DiagramSnapshot(WideMap(arena, static_cast<int>(state.range(0))));
    const TTextMeasure measure = DiagramTextMeasure();
    double aspect = 0;
    for (auto _ : state) {
        const TDiagramLayout layout = LayoutDiagram(snapshot.dot, measure);
        aspect = layout.width / std::max(1.0, layout.height);
    }
    state.counters["aspect"] = aspect;
}
BENCHMARK(BM_LayoutWideMap)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

// The first layout of a long chain, which dot's older ranking made take seconds.
void BM_LayoutChain(benchmark::State &state)
{
    TArena arena;
    const TDiagramSnapshot snapshot = DiagramSnapshot(chain(arena, static_cast<int>(state.range(0))));
    const TTextMeasure measure = DiagramTextMeasure();
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDiagram(snapshot.dot, measure));
}
BENCHMARK(BM_LayoutChain)->Arg(2000)->Unit(benchmark::kMillisecond);

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

// The layout after a move that added one statement and its step: every other node keeps its
// place and every other line its route.
void BM_LayoutKeepingPlaces(benchmark::State &state)
{
    TArena arena;
    const int n = static_cast<int>(state.range(0));
    const TDiagramSnapshot snapshot = DiagramSnapshot(largeStage(arena, n));
    const TTextMeasure measure = DiagramTextMeasure();
    // As the diagram before the move showed it: without the last statement and its step.
    const TDiagramLayout before = LayoutDiagram(snapshot.dot, measure);
    const auto isNew = [&](const std::string &name) {
        return name == DotBoxName(n - 1) || name == DotStepName(n - 1);
    };
    TKeptLayout kept;
    for (const TDiagramLayout::TNode &node : before.nodes)
        if (!isNew(node.name))
            kept.nodes.emplace(node.name, node.centre);
    for (const TDiagramLayout::TEdge &edge : before.edges)
        if (!isNew(edge.tail) && !isNew(edge.head))
            kept.edges.push_back(edge);
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDiagramKeeping(snapshot.dot, measure, kept));
}
BENCHMARK(BM_LayoutKeepingPlaces)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

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
