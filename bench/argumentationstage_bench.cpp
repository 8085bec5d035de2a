// How long one move takes on large stages: the rebuild of the arguments and the status
// computation that follow every move.

#include "model/arena.h"
#include "model/argumentationstage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

class TStageBuilder {
public:
    TStageBuilder() : m_arena(std::make_unique<TArena>()), m_stage(m_arena->NewStage()) {}

    TStatement *Add(const std::string &text, TStatementType type)
    {
        TStatement *statement = m_arena->NewStatement();
        statement->Text = text;
        statement->StatementType = type;
        m_stage->GetNewId(statement->Id);
        m_stage->Statements.Add(statement);
        return statement;
    }

    TReasonConclusion *Link(TStatement *reason, TStatement *conclusion)
    {
        TReasonConclusion *step = m_arena->NewReasonConclusion();
        step->Reason = reason;
        step->Conclusion = conclusion;
        m_stage->ReasonConclusions.Add(step);
        return step;
    }

    TArgumentationStage &Finish()
    {
        m_stage->RecomputeArguments();
        m_stage->ComputeStatuses();
        return *m_stage;
    }

    TArena &Arena() { return *m_arena; }

private:
    std::unique_ptr<TArena> m_arena;
    TArgumentationStage *m_stage;
};

// Appends rather than using operator+, which trips a false -Wrestrict in GCC 12 at -O3.
std::string Name(const char *prefix, int number)
{
    std::string name = prefix;
    name += std::to_string(number);
    return name;
}

std::int64_t Nodes(const TArguments &roots)
{
    std::int64_t nodes = 0;
    std::vector<const TArgument *> stack(roots.begin(), roots.end());
    while (!stack.empty()) {
        const TArgument *node = stack.back();
        stack.pop_back();
        ++nodes;
        stack.insert(stack.end(), node->InitialArguments.begin(), node->InitialArguments.end());
    }
    return nodes;
}

// Times a reason/conclusion move from `reason` to `conclusion`.
// A move writes into shared objects (ids, a step's statements, statuses), so every iteration
// prepares a fresh stage and fresh move objects outside the timing.
void TimeStep(benchmark::State &state, void (*prepare)(TStageBuilder &, int),
              const std::string &reason, const std::string &conclusion)
{
    std::int64_t nodes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TStageBuilder builder;
        prepare(builder, static_cast<int>(state.range(0)));
        TArgumentationStage &stage = builder.Finish();
        TReasonConclusion *step = builder.Arena().NewReasonConclusion();
        step->Reason->Text = reason;
        step->Reason->StatementType = TStatementType::Issue;
        step->Conclusion->Text = conclusion;
        step->Conclusion->StatementType = TStatementType::Issue;
        state.ResumeTiming();
        TArgumentationStage *next = stage.DoReasonConclusionMove(step);
        benchmark::DoNotOptimize(next);
        state.PauseTiming();
        nodes = Nodes(next->Arguments);
        state.ResumeTiming();
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes) *
                                                       static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

// s0 <- s1 <- ... <- sN, the last one an assumption.
void PrepareChain(TStageBuilder &builder, int length)
{
    std::vector<TStatement *> chain;
    for (int i = 0; i <= length; ++i)
        chain.push_back(builder.Add(Name("s", i), i == length ? TStatementType::Assumption
                                                              : TStatementType::Issue));
    for (int i = 0; i < length; ++i)
        builder.Link(chain[static_cast<std::size_t>(i) + 1], chain[static_cast<std::size_t>(i)]);
}

void TimeStepOnTop(benchmark::State &state, void (*prepare)(TStageBuilder &, int),
                   const std::string &reason)
{
    TimeStep(state, prepare, reason, "top");
}

// A new conclusion over the chain's root: the trees grow by one node.
void BM_ChainStepOnTop(benchmark::State &state) { TimeStepOnTop(state, PrepareChain, "s0"); }
BENCHMARK(BM_ChainStepOnTop)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A new reason under the chain's last statement: the whole tree is built and computed again.
void BM_ChainStepAtBottom(benchmark::State &state)
{
    TimeStep(state, PrepareChain, "below", Name("s", static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ChainStepAtBottom)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Level k holds the issues a_k and b_k, each concluded from both a_(k+1) and b_(k+1); the
// bottom level is two assumptions, so the trees double with every level.
void PrepareLadder(TStageBuilder &builder, int levels)
{
    std::vector<std::pair<TStatement *, TStatement *>> ladder;
    for (int i = 0; i <= levels; ++i) {
        const auto type = i == levels ? TStatementType::Assumption : TStatementType::Issue;
        ladder.emplace_back(builder.Add(Name("a", i), type), builder.Add(Name("b", i), type));
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(levels); ++i) {
        builder.Link(ladder[i + 1].first, ladder[i].first);
        builder.Link(ladder[i + 1].second, ladder[i].first);
        builder.Link(ladder[i + 1].first, ladder[i].second);
        builder.Link(ladder[i + 1].second, ladder[i].second);
    }
}

void BM_LadderStepOnTop(benchmark::State &state) { TimeStepOnTop(state, PrepareLadder, "a0"); }
BENCHMARK(BM_LadderStepOnTop)->Arg(10)->Arg(14)->Unit(benchmark::kMillisecond);

// A fixed random stage: 200 statements, 300 steps running from later to earlier statements
// (so without cycles), 50 exceptions, and 20 stated warrants, a third of them issues.
void PrepareRandom(TStageBuilder &builder, int)
{
    std::mt19937 random(20261208);
    std::vector<TStatement *> statements;
    for (int i = 0; i < 200; ++i)
        statements.push_back(builder.Add(Name("p", i), random() % 3 == 0
                                                           ? TStatementType::Issue
                                                           : TStatementType::Assumption));
    std::vector<TReasonConclusion *> steps;
    while (steps.size() < 300) {
        const std::size_t conclusion = random() % 199;
        const std::size_t reason = conclusion + 1 + random() % (199 - conclusion);
        bool held = false;
        for (const TReasonConclusion *step : steps)
            held = held || (step->Reason == statements[reason] &&
                            step->Conclusion == statements[conclusion]);
        if (!held)
            steps.push_back(builder.Link(statements[reason], statements[conclusion]));
    }
    for (int added = 0; added < 50;) {
        TReasonConclusion *step = steps[random() % steps.size()];
        TStatement *exception = statements[random() % statements.size()];
        bool listed = false;
        for (const TStatement *held : step->Exceptions)
            listed = listed || held == exception;
        if (!listed) {
            step->Exceptions.Add(exception);
            ++added;
        }
    }
    for (int i = 0; i < 20; ++i) {
        const TReasonConclusion *step = steps[random() % steps.size()];
        const auto type = i % 3 == 0 ? TStatementType::Issue : TStatementType::Assumption;
        if (i % 2 == 0 || step->Exceptions.IsEmpty())
            builder.Add(StepWarrant(step->Reason->Text, step->Conclusion->Text), type);
        else
            builder.Add(ExceptionWarrant(step->Exceptions[0]->Text, step->Reason->Text,
                                         step->Conclusion->Text),
                        type);
    }
}

void BM_RandomStage(benchmark::State &state) { TimeStepOnTop(state, PrepareRandom, "p0"); }
BENCHMARK(BM_RandomStage)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
