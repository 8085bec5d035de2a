// Times ShowArguments, which snapshots the current stage's argument trees into the tree view's
// model and expands every node.
#include "ui/korvaneunit.h"

#include "model/arena.h"
#include "model/argument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Puts into the current stage trees of nodes nodes in all, each node with up to four reasons,
// and gives their statements every status and type so that every icon is drawn.
void fillStage(TKorvaneForm &form, int nodes)
{
    TLineOfArgumentation &line = form.lineOfArgumentation();
    TArena &arena = line.Arena();
    std::vector<TArgument *> made;
    made.reserve(static_cast<std::size_t>(nodes));
    for (int i = 0; i < nodes; ++i) {
        TStatement *statement = arena.NewStatement();
        statement->Text = "statement number " + std::to_string(i);
        statement->StatementType = i % 2 == 0 ? TStatementType::Issue : TStatementType::Assumption;
        statement->JustificationStatus = static_cast<TJustificationStatus>(i % 3);
        TArgument *argument = arena.NewArgument(statement);
        made.push_back(argument);
        if (i < 10)
            line.CurrentStage->Arguments.Add(argument); // ten roots
        else
            made[static_cast<std::size_t>((i - 10) / 4)]->InitialArguments.Add(argument);
    }
}

void BM_ShowArguments(benchmark::State &state)
{
    TKorvaneForm form;
    form.show();
    fillStage(form, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        form.ShowArguments();
        benchmark::ClobberMemory();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ShowArguments)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The rebuild as the user waits for it: the tree lays out its expanded rows only when it next
// paints, so that first paint is timed too.
void BM_ShowArgumentsAndPaint(benchmark::State &state)
{
    TKorvaneForm form;
    form.show();
    fillStage(form, static_cast<int>(state.range(0)));
    auto *tree = form.findChild<QTreeView *>(QStringLiteral("ArgumentsTreeView"));
    for (auto _ : state) {
        form.ShowArguments();
        tree->viewport()->repaint();
        benchmark::ClobberMemory();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ShowArgumentsAndPaint)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A view of a long chain refreshed in full mode, where every row says why it has its status.
void BM_FullModeViewsOfAChain(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chain.loa"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (long long i = 0; i < state.range(0); ++i)
        file.write(QStringLiteral("REASON/CONCLUSION MOVE: \n    s%1\n        TYPE: %2\n    THEREFORE \n"
                                  "    s%3\n        TYPE: Issue\n")
                       .arg(i)
                       .arg(i == 0 ? QStringLiteral("Assumption") : QStringLiteral("Issue"))
                       .arg(i + 1)
                       .toUtf8());
    file.close();
    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    form.OpenMoveFile(path);
    for (auto _ : state) {
        form.ShowStatements();
        form.ShowArguments();
        benchmark::ClobberMemory();
    }
    state.counters["statements"] =
        static_cast<double>(form.lineOfArgumentation().CurrentStage->Statements.Count());
}
BENCHMARK(BM_FullModeViewsOfAChain)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
